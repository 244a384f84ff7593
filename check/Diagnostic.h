// One finding of a check: the rule, where in the text, what it says, the
// identifier it is about, and the edits that repair it when they are certain.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "Definition.h"

namespace check {

// Bytes [offset, offset + length) of the text replaced by `replacement`.
struct TextEdit {
    size_t offset = 0;
    size_t length = 0;
    std::string replacement;

    bool operator==(const TextEdit& o) const
    {
        return offset == o.offset && length == o.length && replacement == o.replacement;
    }
};

// A repair: what it does in a few words ("rename 'a' to 'b'") and its edits,
// which do not overlap, in text order.
struct Fix {
    std::string title;
    std::vector<TextEdit> edits;
};

struct Diagnostic {
    RuleId rule;
    Position position;
    std::string message;
    Severity severity = Severity::Warning;  // the rule's, or the project file's level
    std::string
        identifier;  // the string (member name or value) the finding stands at; may be empty
    std::optional<Fix> fix;
};

}  // namespace check
