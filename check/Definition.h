// A positional reading of a menu definition: every member and element with the
// byte offset where it starts, and every member of an object in source order,
// repeated names included (json-glib keeps only the last value of a name and
// no positions at all). Where the text is not JSON, the reading says where it
// stopped and, when json-glib refuses that too, why.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

struct Position {
    long line = 1;
    long column = 1;  // counted in bytes, a leading byte-order mark left out
};

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

class Definition {
public:
    // Reads UTF-8 JSON with /* */ comments, after a byte-order mark if there
    // is one (json-glib skips it). Anything else json-glib would also accept
    // leaves the definition without a tree: positions are then unknown
    // rather than wrong.
    explicit Definition(std::string_view text);

    const Node* Root() const { return m_root ? &*m_root : nullptr; }
    // 1-based line and byte column of `offset`; 1:1 for kNoOffset.
    Position At(size_t offset) const;
    // Why json-glib refuses the text, when the reading can tell: where it
    // stopped with an explained fault, or else the first raw control
    // character in a string (which json-glib 1.10 refuses and 1.6 reads).
    std::optional<SyntaxFault> Refusal() const;

private:
    size_t m_bom = 0;  // bytes of a leading byte-order mark
    std::vector<size_t> m_lineStarts;
    std::optional<Node> m_root;
    SyntaxFault m_fault;
    size_t m_rawControl = kNoOffset;
};

}  // namespace check
