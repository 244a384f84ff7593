// A positional reading of a menu definition: every member and element with the
// byte offset where it starts, and every member of an object in source order,
// repeated names included (json-glib keeps only the last value of a name and
// no positions at all).
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
    long column = 1;  // counted in bytes
};

class Definition {
public:
    // Reads strict JSON (with /* */ comments) up to the first NUL byte. Anything
    // else json-glib would also accept (single quotes, bare words, hexadecimal
    // numbers, ...) leaves the definition without a tree: positions are then
    // unknown rather than wrong.
    explicit Definition(std::string_view text);

    const Node* Root() const { return m_root ? &*m_root : nullptr; }
    // 1-based line and byte column of `offset`; 1:1 for kNoOffset.
    Position At(size_t offset) const;

private:
    std::vector<size_t> m_lineStarts;
    std::optional<Node> m_root;
};

}  // namespace check
