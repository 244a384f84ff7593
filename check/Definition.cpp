#include "Definition.h"

#include <glib.h>

#include <algorithm>
#include <cstdio>

#include "Scanner.h"

namespace check {

namespace {

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

// json-glib refuses a text that is not UTF-8 (a NUL byte included), whole.
std::optional<SyntaxFault> NotUtf8(std::string_view text)
{
    const char* end = nullptr;
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &end))
        return std::nullopt;
    const size_t at = static_cast<size_t>(end - text.data());
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    char shown[8];
    std::snprintf(shown, sizeof shown, "0x%02x", byte);
    return SyntaxFault{at, byte == 0 ? std::string("a NUL byte: json-glib reads only UTF-8 text "
                                                   "without NUL bytes")
                                     : std::string("byte ") + shown +
                                           " is not UTF-8 here: json-glib reads only UTF-8 text"};
}

}  // namespace

Definition::Definition(std::string_view text)
{
    m_lineStarts.push_back(0);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            m_lineStarts.push_back(i + 1);
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        m_bom = kByteOrderMark.size();
    if (std::optional<SyntaxFault> fault = NotUtf8(text)) {
        m_fault = std::move(*fault);
        return;
    }
    Node root;
    ScanResult scanned = Scan(text, m_bom, *this, root);
    m_rawControl = scanned.rawControl;
    if (scanned.ok)
        m_root = std::move(root);
    else
        m_fault = std::move(scanned.fault);
}

Position Definition::At(size_t offset) const
{
    if (offset == kNoOffset)
        return Position();
    const auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const size_t line = static_cast<size_t>(next - m_lineStarts.begin());
    size_t column = offset - m_lineStarts[line - 1] + 1;
    if (line == 1)
        column -= std::min(m_bom, column - 1);
    return Position{static_cast<long>(line), static_cast<long>(column)};
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
