#include "LineIndex.h"

#include <algorithm>

namespace velkin {

LineIndex::LineIndex(std::string_view text) : m_text(text)
{
    m_starts.push_back(0);
    size_t lines = 0;
    for (size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
        if (++lines % kEvery == 0)
            m_starts.push_back(at + 1);
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        m_bom = kByteOrderMark.size();
}

TextPosition LineIndex::At(size_t offset) const
{
    if (offset == std::string_view::npos)
        return TextPosition();
    const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
    const size_t known = static_cast<size_t>(next - m_starts.begin()) - 1;
    size_t line = known * kEvery + 1;
    size_t start = m_starts[known];
    const std::string_view before = m_text.substr(0, std::min(offset, m_text.size()));
    for (size_t at = before.find('\n', start); at != std::string_view::npos;
         at = before.find('\n', at + 1)) {
        ++line;
        start = at + 1;
    }
    size_t column = offset - start + 1;
    if (line == 1)
        column -= std::min(m_bom, column - 1);
    return TextPosition{static_cast<long>(line), static_cast<long>(column)};
}

}  // namespace velkin
