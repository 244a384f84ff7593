#include "RawJson.h"

#include <glib.h>

#include <cstring>

namespace velkin {

namespace {

// A strict JSON scanner over one text; values are skipped without recursion,
// so any nesting depth costs only a stack of bracket characters.
class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    bool Object(std::vector<RawMember>& members)
    {
        Blank();
        if (!Eat('{'))
            return false;
        Blank();
        if (Eat('}'))
            return AtEnd();
        do {
            RawMember member;
            Blank();
            if (!String(&member.name) || !(Blank(), Eat(':')))
                return false;
            Blank();
            const size_t start = m_at;
            if (!Value())
                return false;
            member.value = m_text.substr(start, m_at - start);
            members.push_back(member);
            Blank();
        } while (Eat(','));
        return Eat('}') && AtEnd();
    }

private:
    std::string_view m_text;
    size_t m_at = 0;

    bool At(char c) const { return m_at < m_text.size() && m_text[m_at] == c; }
    bool Eat(char c) { return At(c) && ++m_at; }
    bool AtEnd()
    {
        Blank();
        return m_at == m_text.size();
    }
    void Blank()
    {
        while (m_at < m_text.size() && std::strchr(" \t\r\n", m_text[m_at]) != nullptr &&
               m_text[m_at] != '\0')
            ++m_at;
    }
    bool Digits()
    {
        const size_t start = m_at;
        while (m_at < m_text.size() && g_ascii_isdigit(m_text[m_at]))
            ++m_at;
        return m_at > start;
    }
    bool Word(std::string_view word)
    {
        if (m_text.substr(m_at, word.size()) != word)
            return false;
        m_at += word.size();
        return true;
    }

    bool Number()
    {
        Eat('-');
        if (!Eat('0') && !Digits())
            return false;
        if (Eat('.') && !Digits())
            return false;
        if (!Eat('e') && !Eat('E'))
            return true;
        if (!Eat('+'))
            Eat('-');
        return Digits();
    }

    // A string; `body` receives the text between its quotes.
    bool String(std::string_view* body)
    {
        if (!Eat('"'))
            return false;
        const size_t start = m_at;
        while (m_at < m_text.size()) {
            const unsigned char c = static_cast<unsigned char>(m_text[m_at++]);
            if (c == '"') {
                if (body != nullptr)
                    *body = m_text.substr(start, m_at - 1 - start);
                return true;
            }
            if (c < 0x20 || (c == '\\' && !Escape()))
                return false;
        }
        return false;
    }
    bool Escape()
    {
        if (m_at >= m_text.size())
            return false;
        const char c = m_text[m_at++];
        if (c != 'u')
            return c != '\0' && std::strchr("\"\\/bfnrt", c) != nullptr;
        for (int i = 0; i < 4; ++i, ++m_at)
            if (m_at >= m_text.size() || !g_ascii_isxdigit(m_text[m_at]))
                return false;
        return true;
    }

    bool Scalar()
    {
        if (At('"'))
            return String(nullptr);
        return Word("true") || Word("false") || Word("null") || Number();
    }

    // One value: containers are walked with an explicit stack of the
    // brackets that close them.
    bool Value()
    {
        std::string open;
        for (;;) {
            Blank();
            if (Eat('{') || Eat('[')) {
                const char close = m_text[m_at - 1] == '{' ? '}' : ']';
                Blank();
                if (!Eat(close)) {
                    open.push_back(close);
                    if (close == '}' && !Key())
                        return false;
                    continue;
                }
            } else if (!Scalar()) {
                return false;
            }
            if (!AfterValue(open))
                return false;
            if (open.empty())
                return true;
        }
    }
    // After a value: closes finished containers, then stands before the
    // next value (past its key in an object). False on anything else.
    bool AfterValue(std::string& open)
    {
        for (;;) {
            if (open.empty())
                return true;
            Blank();
            if (Eat(','))
                return open.back() != '}' || Key();
            if (!Eat(open.back()))
                return false;
            open.pop_back();
        }
    }
    bool Key()
    {
        Blank();
        if (!String(nullptr))
            return false;
        Blank();
        return Eat(':');
    }
};

unsigned HexValue(std::string_view four)
{
    unsigned v = 0;
    for (char c : four)
        v = v * 16 + static_cast<unsigned>(g_ascii_xdigit_value(c));
    return v;
}

void AppendUnichar(std::string& out, gunichar c)
{
    char buffer[6];
    out.append(buffer, static_cast<size_t>(g_unichar_to_utf8(c, buffer)));
}

// Decodes the \uXXXX escape at `at` (and the low half of a surrogate pair
// right after it); returns the number of bytes read.
size_t DecodeUnicode(std::string_view body, size_t at, std::string& out)
{
    const unsigned high = HexValue(body.substr(at + 2, 4));
    if (high >= 0xD800 && high < 0xDC00 && body.substr(at + 6, 2) == "\\u") {
        const unsigned low = HexValue(body.substr(at + 8, 4));
        if (low >= 0xDC00 && low < 0xE000) {
            AppendUnichar(out, 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
            return 12;
        }
    }
    AppendUnichar(out, high >= 0xD800 && high < 0xE000 ? 0xFFFD : high);
    return 6;
}

}  // namespace

bool ScanObject(std::string_view text, std::vector<RawMember>& members)
{
    members.clear();
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        return false;
    return Scanner(text).Object(members);
}

std::string DecodeString(std::string_view body)
{
    std::string out;
    out.reserve(body.size());
    for (size_t i = 0; i < body.size();) {
        if (body[i] != '\\' || i + 1 >= body.size()) {
            out += body[i++];
            continue;
        }
        const char c = body[i + 1];
        if (c == 'u' && i + 6 <= body.size()) {
            i += DecodeUnicode(body, i, out);
            continue;
        }
        static const char kFrom[] = "bfnrt", kTo[] = "\b\f\n\r\t";
        const char* known = std::strchr(kFrom, c);
        out += known != nullptr && c != '\0' ? kTo[known - kFrom] : c;
        i += 2;
    }
    return out;
}

bool StringValue(std::string_view value, std::string& out)
{
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return false;
    out = DecodeString(value.substr(1, value.size() - 2));
    return true;
}

}  // namespace velkin
