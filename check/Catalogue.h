// The checker's rules: one row each, with the stable id printed in brackets,
// its severity, a one-line summary and the full help.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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
    UnusedDefinition,
    UnknownMember,
    WrongType,
    TooManyGroups,
    DuplicateEntry,
    OverriddenEdit,
    UnreachedMenu,
    GroupRewritten,
    LookAlikeIdentifiers,
    UnreadableFile,
    NoProviders,
    NoEffect,
    AddedLoop,
};

struct Rule {
    RuleId id;
    const char* name;  // the stable id printed in brackets
    Severity severity;
    std::string summary;  // one line
    std::string help;     // what the splitter does and how to fix it
};

// Every rule, in the order of RuleId.
const std::vector<Rule>& Rules();
const Rule& RuleOf(RuleId id);
// The rule whose id is `name`; null if none.
const Rule* FindRule(std::string_view name);

}  // namespace check
