// One finding of a check: the rule, where in the text, and what it says.
#pragma once

#include <string>

#include "Catalogue.h"
#include "Definition.h"

namespace check {

struct Diagnostic {
    RuleId rule;
    Position position;
    std::string message;
};

}  // namespace check
