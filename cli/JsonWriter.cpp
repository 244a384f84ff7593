#include "JsonWriter.h"

#include <glib.h>

#include <cstdio>

namespace cli {

namespace {

// The length of the UTF-8 character at the start of `text`; 0 when the bytes
// there are not one.
size_t Utf8Length(std::string_view text)
{
    const gunichar c = g_utf8_get_char_validated(text.data(), static_cast<gssize>(text.size()));
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2))
        return 0;
    return static_cast<size_t>(g_utf8_next_char(text.data()) - text.data());
}

// The bytes a JSON string holds as they are.
struct PlainBytes {
    bool table[256] = {};
    constexpr PlainBytes()
    {
        for (int c = 0x20; c < 0x80; ++c)
            table[c] = c != '"' && c != '\\';
    }
    constexpr bool operator[](unsigned char c) const { return table[c]; }
};
constexpr PlainBytes kPlain;

// The two-character escape of `c`, if JSON has one.
const char* ShortEscape(unsigned char c)
{
    switch (c) {
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case '\b': return "\\b";
    case '\f': return "\\f";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: return nullptr;
    }
}

// Appends the escape of the byte at `text[i]`, which is not plain ASCII, and
// returns how many bytes it took.
size_t AppendSpecial(std::string& out, std::string_view text, size_t i)
{
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
        const size_t n = Utf8Length(text.substr(i));
        if (n == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD
            return 1;
        }
        out.append(text.data() + i, n);
        return n;
    }
    const char* shortEscape = ShortEscape(c);
    if (shortEscape != nullptr) {
        out += shortEscape;
    } else {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", c);
        out += escape;
    }
    return 1;
}

}  // namespace

void AppendJsonEscaped(std::string& out, std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        // A run of printable ASCII other than '"' and '\\' is copied as it is.
        size_t end = i;
        while (end < text.size() && kPlain[static_cast<unsigned char>(text[end])])
            ++end;
        out.append(text.data() + i, end - i);
        i = end < text.size() ? end + AppendSpecial(out, text, end) : end;
    }
}

std::string JsonQuoted(std::string_view text)
{
    std::string out = "\"";
    AppendJsonEscaped(out, text);
    return out + '"';
}

void JsonWriter::NewLine()
{
    m_out += '\n';
    m_out.append(2 * m_levels.size(), ' ');
}

void JsonWriter::BeforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    Level& level = m_levels.back();
    if (!level.empty)
        m_out += level.oneLine ? ", " : ",";
    if (!level.oneLine)
        NewLine();
    level.empty = false;
}

void JsonWriter::Open(char bracket, bool oneLine)
{
    BeforeValue();
    m_out += bracket;
    const bool outerOneLine = !m_levels.empty() && m_levels.back().oneLine;
    m_levels.push_back(Level{oneLine || outerOneLine});
}

void JsonWriter::Close(char bracket)
{
    const Level level = m_levels.back();
    m_levels.pop_back();
    if (!level.oneLine && !level.empty)
        NewLine();
    m_out += bracket;
    if (m_levels.empty())
        m_out += '\n';
}

void JsonWriter::Key(std::string_view name)
{
    BeforeValue();
    m_out += '"';
    AppendJsonEscaped(m_out, name);
    m_out += "\": ";
    m_afterKey = true;
}

void JsonWriter::String(std::string_view value)
{
    BeforeValue();
    m_out += '"';
    AppendJsonEscaped(m_out, value);
    m_out += '"';
}

void JsonWriter::OptionalString(const std::optional<std::string>& value)
{
    if (value)
        String(std::string_view(*value));
    else
        Null();
}

void JsonWriter::Bool(bool value)
{
    BeforeValue();
    m_out += value ? "true" : "false";
}

void JsonWriter::Null()
{
    BeforeValue();
    m_out += "null";
}

void JsonWriter::Strings(const std::vector<std::string>& values)
{
    BeginArray(true);
    for (const std::string& value : values)
        String(value);
    EndArray();
}

}  // namespace cli
