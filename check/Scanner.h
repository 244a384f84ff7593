// The scanner behind Definition: strict JSON with /* */ comments, read into
// Nodes with their offsets. Where it stops, it says why in the user's terms
// when json-glib refuses the same text (a comment, a missing or extra comma,
// a string never closed, ...), and says nothing when json-glib may read it.
#pragma once

#include <string_view>

#include "Definition.h"

namespace check {

struct ScanResult {
    bool ok = false;
    SyntaxFault fault;              // where it stopped, when not ok
    size_t rawControl = kNoOffset;  // first raw line break, tab, CR, FF or BS in a string
};

// Scans `text` from `start`; `where` places offsets for the messages.
ScanResult Scan(std::string_view text, size_t start, const Definition& where, Node& root);

}  // namespace check
