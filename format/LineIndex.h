// Lines and columns of byte offsets in a text, as messages about JSON show them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace velkin {

inline constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

struct TextPosition {
    long line = 1;
    long column = 1;  // counted in bytes from 1, a leading byte-order mark left out
};

// Lines and columns of a text's byte offsets; lines end at '\n'. It keeps
// the start of every kEvery-th line and counts the rest in the text, which
// it does not copy: the text must outlive the index.
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    // npos (an unknown place) is 1:1.
    TextPosition At(size_t offset) const;

private:
    static constexpr size_t kEvery = 64;
    std::string_view m_text;
    size_t m_bom = 0;
    std::vector<size_t> m_starts;  // of lines 1, 1 + kEvery, 1 + 2 * kEvery, ...
};

}  // namespace velkin
