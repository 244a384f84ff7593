// The check of one definition: its findings, each at a position of the text.
#pragma once

#include <string_view>
#include <vector>

#include "Diagnostic.h"

namespace check {

// Checks the text of the definition at `path` (the path selects the profile).
// The diagnostics come sorted in file order.
std::vector<Diagnostic> CheckDefinition(const char* path, std::string_view text);

}  // namespace check
