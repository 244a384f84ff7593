// The scanner behind Definition: the lexer's tokens of JSON with /* */
// comments, read into Nodes with their offsets. Where it stops, it says why in
// the user's terms when json-glib refuses the same text (a comment, a missing
// or extra comma, a string never closed, ...), and says nothing when json-glib
// may read it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "JsonLexer.h"

namespace check {

inline constexpr size_t kNoOffset = static_cast<size_t>(-1);

struct Member;

struct Node {
    enum class Kind { Object, Array, String, Other };
    Kind kind = Kind::Other;
    size_t offset = kNoOffset;    // where the value starts
    std::string text;             // decoded value of a string
    std::vector<Member> members;  // of an object, in source order
    std::vector<Node> elements;   // of an array
};

struct Member {
    std::string name;           // decoded
    size_t offset = kNoOffset;  // of the name's opening quote
    Node value;
};

// Line and column (in bytes, a leading byte-order mark left out) of an offset.
using Position = velkin::TextPosition;

// "line L, column C", for a message that names another place.
inline std::string Where(const Position& p)
{
    return "line " + std::to_string(p.line) + ", column " + std::to_string(p.column);
}

// Where the reading stopped, and why in the user's terms. An empty message
// means syntax that json-glib may read (single quotes, /x/ comments,
// hexadecimal numbers, unusual escapes): only json-glib can tell.
struct SyntaxFault {
    size_t offset = kNoOffset;
    std::string message;
};

struct ScanResult {
    bool ok = false;
    SyntaxFault fault;              // where it stopped, when not ok
    size_t rawControl = kNoOffset;  // first raw line break, tab, CR, FF or BS in a string
};

// Scans `text`, a leading byte-order mark skipped; `lines` places offsets for
// the messages.
ScanResult Scan(std::string_view text, const velkin::LineIndex& lines, Node& root);

}  // namespace check
