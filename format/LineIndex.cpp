#include "LineIndex.h"

#include <algorithm>

namespace velkin {

LineIndex::LineIndex(std::string_view text)
{
    m_starts.push_back(0);
    for (size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
        m_starts.push_back(at + 1);
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        m_bom = kByteOrderMark.size();
}

TextPosition LineIndex::At(size_t offset) const
{
    if (offset == std::string_view::npos)
        return TextPosition();
    const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
    const size_t line = static_cast<size_t>(next - m_starts.begin());
    size_t column = offset - m_starts[line - 1] + 1;
    if (line == 1)
        column -= std::min(m_bom, column - 1);
    return TextPosition{static_cast<long>(line), static_cast<long>(column)};
}

}  // namespace velkin
