// The scanner behind Definition: the lexer's tokens of JSON with /* */
// comments, read into a compact tree of offsets (ScanTree). Where it stops, it says why in
// the user's terms when json-glib refuses the same text (a comment, a missing
// or extra comma, a string never closed, ...), and says nothing when json-glib
// may read it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "JsonLexer.h"

namespace check {

inline constexpr size_t kNoOffset = static_cast<size_t>(-1);

struct Member;

// A value read out in full (names and strings decoded, children owned): what
// Definition::Root gives a reader that walks small texts, such as an editor's.
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

// The compact reading the checker keeps: one Scanned per value, 16 bytes,
// with 32-bit offsets into the text (which it does not copy). The children
// of an object (its members' values, in source order) or an array stand next
// to each other in the tree; names and strings are read from the text when
// asked for.
struct Scanned {
    static constexpr uint32_t kNoKey = UINT32_MAX;
    uint32_t offset = 0;      // where the value starts
    uint32_t key = kNoKey;    // a member's value: where the member's name opens
    uint32_t first = 0;       // an object's or array's first child in the tree
    uint32_t kindCount = 0;   // the Node::Kind in the top two bits, the children below

    static constexpr uint32_t kCountMask = (uint32_t{1} << 30) - 1;
    Node::Kind Kind() const { return static_cast<Node::Kind>(kindCount >> 30); }
    size_t Count() const { return kindCount & kCountMask; }
    size_t Key() const { return key == kNoKey ? kNoOffset : key; }
};

struct ScanResult;

class ScanTree {
public:
    // Larger texts get no tree: their offsets would not fit.
    static constexpr size_t kMaxText = (size_t{1} << 31) - 1;

    // Children of an object or array, in order.
    struct Children {
        const Scanned* first;
        size_t count;
        const Scanned* begin() const { return first; }
        const Scanned* end() const { return first + count; }
        size_t size() const { return count; }
        const Scanned& operator[](size_t i) const { return first[i]; }
    };

    const Scanned* Root() const { return m_nodes.empty() ? nullptr : &m_nodes.back(); }
    Children Of(const Scanned& value) const { return {m_nodes.data() + value.first, value.Count()}; }
    // The text read.
    std::string_view Source() const { return m_text; }
    // The decoded name of the member whose value is `member` (its string
    // token read from the text); `decoded` holds it when it has escapes.
    std::string_view Name(const Scanned& member, std::string& decoded) const;
    // The decoded text of a string value.
    std::string Text(const Scanned& string) const;
    // Forgets what the given objects and arrays hold: they keep their place
    // and kind, with no children.
    void DropChildren(const std::vector<const Scanned*>& values);

private:
    size_t Kept(size_t at, const std::vector<bool>& emptied) const;
    Scanned Copy(size_t at, const std::vector<bool>& emptied, std::vector<Scanned>& out) const;

    friend ScanResult Scan(std::string_view text, const velkin::LineIndex& lines, ScanTree& tree);
    std::string_view m_text;
    std::vector<Scanned> m_nodes;  // the root last
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

// Scans `text`, a leading byte-order mark skipped, into `tree` (which refers
// to the text); `lines` places offsets for the messages. The tree is left
// empty when the scan stops.
ScanResult Scan(std::string_view text, const velkin::LineIndex& lines, ScanTree& tree);

}  // namespace check
