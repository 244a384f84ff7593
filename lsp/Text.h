// An open document's text and the conversion between byte offsets and the
// protocol's positions, counted in UTF-8 bytes or in UTF-16 code units.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lsp {

enum class Encoding { Utf8, Utf16 };

struct Position {
    size_t line = 0;
    size_t character = 0;
};

struct Range {
    Position start, end;
};

class Text {
public:
    explicit Text(std::string text = {}) { Assign(std::move(text)); }

    void Assign(std::string text);
    // Replaces the part between two positions (an incremental change).
    void Replace(const Position& start, const Position& end, std::string_view with,
                 Encoding encoding);

    const std::string& Bytes() const { return m_text; }
    // The byte offset of a position; a position past the end of its line
    // stands at the line's end, one past the last line at the text's end.
    size_t Offset(const Position& p, Encoding encoding) const;
    Position At(size_t offset, Encoding encoding) const;
    Range Span(size_t begin, size_t end, Encoding encoding) const;
    // The byte offset of a 1-based line and 1-based byte column, as the
    // checker counts them (a leading byte-order mark left out).
    size_t OffsetOfColumn(long line, long column) const;

private:
    size_t LineEnd(size_t line) const;
    std::string m_text;
    std::vector<size_t> m_lineStarts;
};

}  // namespace lsp
