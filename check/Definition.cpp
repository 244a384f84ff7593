#include "Definition.h"

namespace check {

namespace {

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

Definition::Definition(std::string_view text) : m_lines(text)
{
    ScanResult scanned = Scan(text, m_lines, m_tree);
    m_rawControl = scanned.rawControl;
    m_scanned = scanned.ok;
    if (!scanned.ok)
        m_fault = std::move(scanned.fault);
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
