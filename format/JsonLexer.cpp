#include "JsonLexer.h"

#include <glib.h>

#include <algorithm>
#include <array>

#include "Facts.h"

namespace velkin {

namespace {

using Kind = JsonToken::Kind;
constexpr size_t kNpos = std::string_view::npos;

// Byte classes for the two hot loops: blanks between tokens, and the bytes
// a string's plain run stops at.
enum : unsigned char { kBlank = 1, kStringStop = 2 };
constexpr std::array<unsigned char, 256> kClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (unsigned char c : {' ', '\t', '\n', '\r'})
        classes[c] |= kBlank;
    for (unsigned c = 0; c < 0x20; ++c)
        classes[c] |= kStringStop;
    classes['"'] |= kStringStop;
    classes['\\'] |= kStringStop;
    return classes;
}();

bool Is(char c, unsigned char byteClass)
{
    return (kClasses[static_cast<unsigned char>(c)] & byteClass) != 0;
}

bool IsWordChar(char c)
{
    return g_ascii_isalnum(c) || c == '_' || c == '-';
}

bool Hex4(std::string_view text, size_t at, unsigned& value)
{
    if (at > text.size() || text.size() - at < 4)
        return false;
    value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        const int digit = g_ascii_xdigit_value(text[i]);
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<unsigned>(digit);
    }
    return true;
}

bool IsSurrogate(long c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// The code point of the \u escape at `at`, joined with the low surrogate
// escaped right after a high one (a lone surrogate is returned as it is);
// -1 without four hexadecimal digits. `length` receives the bytes taken.
long UnicodeEscape(std::string_view text, size_t at, size_t& length)
{
    unsigned high, low;
    if (!Hex4(text, at + 2, high))
        return -1;
    length = 6;
    if (high >= 0xD800 && high <= 0xDBFF && text.substr(at + 6, 2) == "\\u" &&
        Hex4(text, at + 8, low) && low >= 0xDC00 && low <= 0xDFFF) {
        length = 12;
        return 0x10000 + ((static_cast<long>(high) - 0xD800) << 10) + (low - 0xDC00);
    }
    return high;
}

constexpr std::string_view kEscaped = "\"\\/bfnrt";
constexpr std::string_view kEscapedAs = "\"\\/\b\f\n\r\t";

}  // namespace

JsonLexer::JsonLexer(std::string_view text, JsonDialect dialect, long maxNesting)
    : m_text(text), m_dialect(dialect), m_maxNesting(maxNesting)
{
    if (dialect == JsonDialect::Skim)
        return;
    const char* bad = nullptr;
    if (!text.empty() && !g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &bad)) {
        m_at = static_cast<size_t>(bad - text.data());
        Stop(Single(Kind::NotUtf8));
        return;
    }
    if (dialect == JsonDialect::Commented && text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        m_at = kByteOrderMark.size();
}

void JsonLexer::SkipBlanks()
{
    while (m_at < m_text.size() && Is(m_text[m_at], kBlank))
        ++m_at;
}

bool JsonLexer::AtComment() const
{
    return m_dialect == JsonDialect::Commented && m_at + 1 < m_text.size() &&
           m_text[m_at] == '/' && m_text[m_at + 1] == '*';
}

// Past /* */ comments and the blanks after them; false at one never closed.
bool JsonLexer::SkipComments()
{
    while (AtComment()) {
        const size_t close = m_text.find("*/", m_at + 2);
        if (close == kNpos)
            return false;
        m_at = close + 2;
        SkipBlanks();
    }
    return true;
}

JsonToken JsonLexer::Next()
{
    if (m_stopped)
        return m_stop;
    if (m_dialect == JsonDialect::Skim)
        return NextSkimmed();
    SkipBlanks();
    if (AtComment() && !SkipComments())
        return Stop(Single(Kind::OpenComment, m_text.size() - m_at));
    if (m_at >= m_text.size())
        return Single(Kind::End, 0);
    const char c = m_text[m_at];
    switch (c) {
    case '{': return Bracket(Kind::BeginObject);
    case '[': return Bracket(Kind::BeginArray);
    case '}': return Bracket(Kind::EndObject);
    case ']': return Bracket(Kind::EndArray);
    case ':': return Single(Kind::Colon);
    case ',': return Single(Kind::Comma);
    case '"': return String();
    default: break;
    }
    if (c == '-' || g_ascii_isdigit(c))
        return Number();
    if (g_ascii_isalpha(c) || c == '_')
        return Word();
    const size_t length = static_cast<size_t>(g_utf8_skip[static_cast<unsigned char>(c)]);
    return Stop(Single(Kind::Stray, std::min(length, m_text.size() - m_at)));
}

JsonToken JsonLexer::Stop(JsonToken token)
{
    m_stopped = true;
    m_stop = token;
    return token;
}

JsonToken JsonLexer::Single(Kind kind, size_t length)
{
    JsonToken token;
    token.kind = kind;
    token.offset = m_at;
    token.end = m_at += length;
    return token;
}

JsonToken JsonLexer::Bracket(Kind kind)
{
    if (kind == Kind::BeginObject || kind == Kind::BeginArray) {
        if (++m_depth > m_maxNesting)
            return Stop(Single(Kind::TooDeep));
    } else {
        --m_depth;
    }
    return Single(kind);
}

JsonToken JsonLexer::String()
{
    JsonToken token = Single(Kind::String);
    for (;;) {
        while (m_at < m_text.size() && !Is(m_text[m_at], kStringStop))
            ++m_at;
        if (m_at == m_text.size()) {
            token.kind = Kind::OpenString;
            token.end = m_at;
            return Stop(token);
        }
        if (m_text[m_at] == '"') {
            token.end = ++m_at;
            return token;
        }
        if (m_text[m_at] == '\\') {
            if (!Escape(token))
                return Stop(token);
            continue;
        }
        if (m_dialect == JsonDialect::Strict) {  // a raw control character
            token.kind = Kind::Control;
            token.end = m_at + 1;
            return Stop(token);
        }
        token.control = std::min(token.control, m_at++);
    }
}

// The escape at the cursor; false (and the token failed) when it is none.
bool JsonLexer::Escape(JsonToken& token)
{
    token.escaped = true;
    if (m_at + 1 >= m_text.size()) {
        token.kind = Kind::OpenString;
        token.end = m_at = m_text.size();
        return false;
    }
    if (m_text[m_at + 1] != 'u') {
        const bool known = kEscaped.find(m_text[m_at + 1]) != kNpos;
        if (!known)
            token.kind = Kind::BadEscape;
        token.end = m_at += 2;
        return known;
    }
    size_t length = 0;
    const long c = UnicodeEscape(m_text, m_at, length);
    if (c < 0) {
        token.kind = Kind::BadEscape;
        token.end = m_at += 2;
        return false;
    }
    token.oddEscape |= c == 0 || IsSurrogate(c);
    m_at += length;
    return true;
}

JsonToken JsonLexer::Number()
{
    const size_t start = m_at;
    const auto digits = [this] {
        const size_t from = m_at;
        while (m_at < m_text.size() && g_ascii_isdigit(m_text[m_at]))
            ++m_at;
        return m_at - from;
    };
    const auto at = [this](std::string_view set) {
        return m_at < m_text.size() && set.find(m_text[m_at]) != kNpos;
    };
    if (at("-"))
        ++m_at;
    const size_t first = m_at;
    const size_t n = digits();
    bool ok = n > 0 && !(n > 1 && m_text[first] == '0');
    if (ok && at("."))
        ok = (++m_at, digits() > 0);
    if (ok && at("eE")) {
        ++m_at;
        if (at("+-"))
            ++m_at;
        ok = digits() > 0;
    }
    // A letter, digit, '.' or '_' right after it: no JSON number ends so.
    const char after = m_at < m_text.size() ? m_text[m_at] : ' ';
    ok = ok && !(g_ascii_isalnum(after) || after == '.' || after == '_');
    JsonToken token;
    token.kind = ok ? Kind::Number : Kind::BadNumber;
    token.offset = start;
    token.end = m_at;
    return ok ? token : Stop(token);
}

JsonToken JsonLexer::Word()
{
    const size_t start = m_at;
    while (m_at < m_text.size() && IsWordChar(m_text[m_at]))
        ++m_at;
    const std::string_view word = m_text.substr(start, m_at - start);
    JsonToken token;
    token.kind = word == "true"    ? Kind::True
                 : word == "false" ? Kind::False
                 : word == "null"  ? Kind::Null
                                   : Kind::Word;
    token.offset = start;
    token.end = m_at;
    return token.kind == Kind::Word ? Stop(token) : token;
}

JsonToken JsonLexer::NextSkimmed()
{
    while (m_at < m_text.size()) {
        switch (m_text[m_at]) {
        case '\0': return Stop(Single(Kind::End, 0));
        case '{': return Bracket(Kind::BeginObject);
        case '[': return Bracket(Kind::BeginArray);
        case '}': return Bracket(Kind::EndObject);
        case ']': return Bracket(Kind::EndArray);
        case '"':
        case '\'':
        case '/':
            if (!SkipDelimited(m_text[m_at], m_text[m_at] == '"'))
                return Stop(Single(Kind::End, 0));
            break;
        default: ++m_at;
        }
    }
    return Single(Kind::End, 0);
}

// Past the next `close` after the cursor's opening character; false when a
// NUL byte or the end of the text comes first. An escape skips any byte.
bool JsonLexer::SkipDelimited(char close, bool escapes)
{
    for (++m_at; m_at < m_text.size();) {
        const char c = m_text[m_at++];
        if (c == '\0')
            return false;
        if (c == close)
            return true;
        if (escapes && c == '\\' && m_at < m_text.size())
            ++m_at;
    }
    return false;
}

std::string DecodeString(std::string_view body)
{
    std::string out;
    out.reserve(body.size());
    AppendDecoded(body, out);
    return out;
}

void AppendDecoded(std::string_view body, std::string& out)
{
    for (size_t i = 0; i < body.size();) {
        const size_t slash = std::min(body.find('\\', i), body.size());
        out.append(body, i, slash - i);
        i = slash;
        if (i + 1 >= body.size()) {
            out.append(body, i, 1);  // a backslash ending the body stands for itself
            break;
        }
        size_t length = 2;
        const long c = body[i + 1] == 'u' ? UnicodeEscape(body, i, length) : -1;
        if (c >= 0) {
            char utf8[6];
            const gunichar u = IsSurrogate(c) ? 0xFFFD : static_cast<gunichar>(c);
            out.append(utf8, static_cast<size_t>(g_unichar_to_utf8(u, utf8)));
        } else {
            const size_t known = kEscaped.find(body[i + 1]);
            out += known != kNpos ? kEscapedAs[known] : body[i + 1];
        }
        i += length;
    }
}

}  // namespace velkin
