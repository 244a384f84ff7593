// A positional reading of a menu definition: every member and element with the
// byte offset where it starts, and every member of an object in source order,
// repeated names included (json-glib keeps only the last value of a name and
// no positions at all). Where the text is not JSON, the reading says where it
// stopped and, when json-glib refuses that too, why.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "JsonLexer.h"
#include "Scanner.h"

namespace check {

// A member named as an earlier member of the same object.
struct Repeat {
    size_t at;     // its name's opening quote
    size_t first;  // the first member's
    std::string name;
};

class Definition {
public:
    // How much of the tree is kept. The checker reads nothing inside the
    // definitions of "menuitems" but their repeated names, which are found
    // first: positions there are unknown.
    enum class Detail { Whole, NoItemContents };

    // Reads UTF-8 JSON with /* */ comments, after a byte-order mark if there
    // is one (json-glib skips it). Anything else json-glib would also accept
    // leaves the definition without a tree: positions are then unknown
    // rather than wrong. The text is not copied: it must outlive the reading.
    explicit Definition(std::string_view text, Detail detail = Detail::Whole);

    // The text read; it must outlive the definition.
    std::string_view Text() const { return m_text; }
    // The compact reading: offsets only, names and strings read from the text.
    const ScanTree& Tree() const { return m_tree; }
    // The same reading in full (names and strings decoded), built on the
    // first call; null without a tree.
    const Node* Root() const;
    // 1-based line and byte column of `offset`; 1:1 for kNoOffset.
    Position At(size_t offset) const { return m_lines.At(offset); }
    // Why json-glib refuses the text, when the reading can tell: where it
    // stopped with an explained fault, or else the first raw control
    // character in a string (which json-glib 1.10 refuses and 1.6 reads).
    std::optional<SyntaxFault> Refusal() const;
    // Every repeated member name, depth first in file order.
    const std::vector<Repeat>& Repeats() const { return m_repeats; }

private:
    std::string_view m_text;
    velkin::LineIndex m_lines;
    ScanTree m_tree;
    mutable std::unique_ptr<Node> m_root;
    SyntaxFault m_fault;
    bool m_scanned = false;
    size_t m_rawControl = kNoOffset;
    std::vector<Repeat> m_repeats;
};

}  // namespace check
