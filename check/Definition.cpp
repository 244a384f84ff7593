#include "Definition.h"

namespace check {

Definition::Definition(std::string_view text) : m_text(text), m_lines(text)
{
    Node root;
    ScanResult scanned = Scan(text, m_lines, root);
    m_rawControl = scanned.rawControl;
    if (scanned.ok)
        m_root = std::move(root);
    else
        m_fault = std::move(scanned.fault);
}

std::optional<SyntaxFault> Definition::Refusal() const
{
    if (!m_fault.message.empty())
        return m_fault;
    if (m_root && m_rawControl != kNoOffset)
        return SyntaxFault{m_rawControl,
                           "a raw control character in a string: JSON needs it escaped "
                           "(\\n, \\t, \\r, \\f, \\b); json-glib 1.10 refuses it"};
    return std::nullopt;
}

}  // namespace check
