#include "Definition.h"

#include <algorithm>
#include <list>
#include <unordered_map>

#include "Facts.h"

namespace check {

namespace {

// The index of the first of `names` equal to the last one; past a few
// names, `seen` holds each name's first index.
size_t FirstOf(const std::vector<std::string_view>& names,
               std::unordered_map<std::string_view, size_t>& seen)
{
    constexpr size_t kIndexFrom = 16;
    const size_t last = names.size() - 1;
    if (last < kIndexFrom)
        return static_cast<size_t>(std::find(names.begin(), names.end(), names[last]) -
                                   names.begin());
    if (seen.empty())
        for (size_t i = 0; i < last; ++i)
            seen.emplace(names[i], i);
    return seen.emplace(names[last], last).first->second;
}

// Repeated member names, depth first in source order.
void FindRepeats(const ScanTree& tree, const Scanned& node, std::vector<Repeat>& out)
{
    const ScanTree::Children children = tree.Of(node);
    if (node.Kind() != Node::Kind::Object) {
        for (const Scanned& element : children)
            FindRepeats(tree, element, out);
        return;
    }
    // The names decoded (views into the text where they hold no escape).
    std::list<std::string> decoded;
    std::vector<std::string_view> names;
    names.reserve(children.size());
    std::unordered_map<std::string_view, size_t> seen;
    for (size_t i = 0; i < children.size(); ++i) {
        std::string scratch;
        std::string_view name = tree.Name(children[i], scratch);
        if (name.data() == scratch.data())
            name = decoded.emplace_back(std::move(scratch));
        names.push_back(name);
        const size_t first = FirstOf(names, seen);
        if (first != i)
            out.push_back(Repeat{children[i].Key(), children[first].Key(), std::string(name)});
        FindRepeats(tree, children[i], out);
    }
}

// The values of the members of "menuitems" (of each member so named).
std::vector<const Scanned*> ItemDefinitions(const ScanTree& tree)
{
    std::vector<const Scanned*> out;
    const Scanned* root = tree.Root();
    if (root == nullptr || root->Kind() != Node::Kind::Object)
        return out;
    std::string decoded;
    for (const Scanned& member : tree.Of(*root))
        if (member.Kind() == Node::Kind::Object &&
            tree.Name(member, decoded) == velkin::kMenuItems)
            for (const Scanned& item : tree.Of(member))
                out.push_back(&item);
    return out;
}

Node Expand(const ScanTree& tree, const Scanned& value)
{
    Node node;
    node.kind = value.Kind();
    node.offset = value.offset;
    if (node.kind == Node::Kind::String)
        node.text = tree.Text(value);
    for (const Scanned& child : tree.Of(value)) {
        if (node.kind == Node::Kind::Array) {
            node.elements.push_back(Expand(tree, child));
            continue;
        }
        std::string decoded;
        node.members.push_back(
            Member{std::string(tree.Name(child, decoded)), child.Key(), Expand(tree, child)});
    }
    return node;
}

}  // namespace

Definition::Definition(std::string_view text, Detail detail) : m_text(text), m_lines(text)
{
    ScanResult scanned = Scan(text, m_lines, m_tree);
    m_rawControl = scanned.rawControl;
    m_scanned = scanned.ok;
    if (!scanned.ok)
        m_fault = std::move(scanned.fault);
    if (m_tree.Root() == nullptr)
        return;
    FindRepeats(m_tree, *m_tree.Root(), m_repeats);
    if (detail == Detail::NoItemContents)
        m_tree.DropChildren(ItemDefinitions(m_tree));
}

const Node* Definition::Root() const
{
    if (m_root == nullptr && m_tree.Root() != nullptr)
        m_root = std::make_unique<Node>(Expand(m_tree, *m_tree.Root()));
    return m_root.get();
}

std::optional<SyntaxFault> Definition::Refusal() const
{
    if (!m_fault.message.empty())
        return m_fault;
    if (m_scanned && m_rawControl != kNoOffset)
        return SyntaxFault{m_rawControl,
                           "a raw control character in a string: JSON needs it escaped "
                           "(\\n, \\t, \\r, \\f, \\b); json-glib 1.10 refuses it"};
    return std::nullopt;
}

}  // namespace check
