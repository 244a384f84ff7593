// The checker's rules and the check of one definition against them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Definition.h"

namespace check {

enum class Severity { Error, Warning };

enum class RuleId {
    Syntax,
    TooDeep,
    NoMenutree,
    UnescapedIdentifier,
    UnsafeMenuName,
    ReservedMenuName,
    QueryTooLong,
    MissingDefinition,
    JsonPathIdentifier,
    MultipleParents,
    ParentCycle,
    ParentDeleted,
    DanglingEdit,
    IgnoredEditInfo,
    GroupItemNotListed,
    NonStringIdentifier,
    DuplicateKey,
    NoProfile,
};

struct Rule {
    RuleId id;
    const char* name;  // the stable id printed in brackets
    Severity severity;
    const char* summary;  // one line
    const char* help;     // what the splitter does and how to fix it
};

// Every rule, in the order above.
const std::vector<Rule>& Rules();
const Rule& RuleOf(RuleId id);

struct Diagnostic {
    RuleId rule;
    Position position;
    std::string message;
};

// Checks the text of the definition at `path` (the path selects the profile).
// The diagnostics come sorted in file order.
std::vector<Diagnostic> CheckDefinition(const char* path, std::string_view text);

}  // namespace check
