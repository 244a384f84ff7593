#include "Text.h"

#include <algorithm>

namespace lsp {

namespace {

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

// Bytes of the UTF-8 sequence a lead byte opens (1 for a stray byte).
size_t SequenceLength(unsigned char lead)
{
    if (lead >= 0xf0 && lead < 0xf8)
        return 4;
    if (lead >= 0xe0)
        return lead < 0xf0 ? 3 : 1;
    return lead >= 0xc0 ? 2 : 1;
}

// Code units of one character of `length` bytes.
size_t Units(size_t length, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return length;
    return length == 4 ? 2 : 1;
}

}  // namespace

void Text::Assign(std::string text)
{
    m_text = std::move(text);
    m_lineStarts.assign(1, 0);
    for (size_t i = 0; i < m_text.size(); ++i)
        if (m_text[i] == '\n')
            m_lineStarts.push_back(i + 1);
}

void Text::Replace(const Position& start, const Position& end, std::string_view with,
                   Encoding encoding)
{
    const size_t from = Offset(start, encoding);
    const size_t to = std::max(from, Offset(end, encoding));
    std::string text = std::move(m_text);
    text.replace(from, to - from, with.data(), with.size());
    Assign(std::move(text));
}

size_t Text::LineEnd(size_t line) const
{
    if (line + 1 >= m_lineStarts.size())
        return m_text.size();
    size_t end = m_lineStarts[line + 1] - 1;  // the '\n'
    if (end > m_lineStarts[line] && m_text[end - 1] == '\r')
        --end;
    return end;
}

size_t Text::Offset(const Position& p, Encoding encoding) const
{
    if (p.line >= m_lineStarts.size())
        return m_text.size();
    size_t at = m_lineStarts[p.line];
    const size_t end = LineEnd(p.line);
    for (size_t units = 0; at < end;) {
        const size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(m_text[at])), end - at);
        units += Units(length, encoding);
        if (units > p.character)
            break;
        at += length;
    }
    return at;
}

Position Text::At(size_t offset, Encoding encoding) const
{
    offset = std::min(offset, m_text.size());
    const auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const size_t line = static_cast<size_t>(next - m_lineStarts.begin()) - 1;
    size_t units = 0;
    for (size_t at = m_lineStarts[line]; at < offset;) {
        const size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(m_text[at])), offset - at);
        units += Units(length, encoding);
        at += length;
    }
    return Position{line, units};
}

Range Text::Span(size_t begin, size_t end, Encoding encoding) const
{
    return Range{At(begin, encoding), At(end, encoding)};
}

size_t Text::OffsetOfColumn(long line, long column) const
{
    if (line < 1 || static_cast<size_t>(line) > m_lineStarts.size())
        return m_text.size();
    size_t offset = m_lineStarts[static_cast<size_t>(line) - 1] + static_cast<size_t>(column - 1);
    if (line == 1 && m_text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0)
        offset += kByteOrderMark.size();
    return std::min(offset, m_text.size());
}

}  // namespace lsp
