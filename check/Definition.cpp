#include "Definition.h"

#include <glib.h>

#include <algorithm>
#include <cctype>

#include "NestingCheck.h"

namespace check {

namespace {

class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    bool Document(Node& root)
    {
        if (!Value(root, 0))
            return false;
        SkipBlanks();
        return m_ok && m_pos == m_text.size();
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
    bool m_ok = true;

    bool Fail()
    {
        m_ok = false;
        return false;
    }
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }

    // Blanks and /* */ comments between tokens.
    void SkipBlanks()
    {
        while (!AtEnd()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++m_pos;
            } else if (c == '/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '*') {
                const size_t end = m_text.find("*/", m_pos + 2);
                if (end == std::string_view::npos) {
                    Fail();
                    return;
                }
                m_pos = end + 2;
            } else {
                return;
            }
        }
    }

    bool Value(Node& node, long depth)
    {
        SkipBlanks();
        if (!m_ok || AtEnd())
            return Fail();
        node.offset = m_pos;
        const char c = m_text[m_pos];
        if (c == '{' || c == '[') {
            if (depth >= velkin::kMaxNesting)
                return Fail();
            return c == '{' ? Object(node, depth + 1) : Array(node, depth + 1);
        }
        if (c == '"') {
            node.kind = Node::Kind::String;
            return String(node.text);
        }
        node.kind = Node::Kind::Other;
        if (c == '-' || (c >= '0' && c <= '9')) {
            ++m_pos;
            while (!AtEnd() && (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '.' ||
                                Peek() == '+' || Peek() == '-'))
                ++m_pos;
            return true;
        }
        for (std::string_view word : {"true", "false", "null"}) {
            if (m_text.substr(m_pos, word.size()) == word) {
                m_pos += word.size();
                if (!AtEnd() && (std::isalnum(static_cast<unsigned char>(Peek())) ||
                                 Peek() == '_' || Peek() == '-'))
                    return Fail();
                return true;
            }
        }
        return Fail();
    }

    bool Object(Node& node, long depth)
    {
        node.kind = Node::Kind::Object;
        ++m_pos;
        SkipBlanks();
        if (Peek() == '}') {
            ++m_pos;
            return m_ok;
        }
        for (;;) {
            SkipBlanks();
            if (!m_ok || Peek() != '"')
                return Fail();
            Member member;
            member.offset = m_pos;
            if (!String(member.name))
                return false;
            SkipBlanks();
            if (Peek() != ':')
                return Fail();
            ++m_pos;
            if (!Value(member.value, depth))
                return false;
            node.members.push_back(std::move(member));
            SkipBlanks();
            if (Peek() == ',') {
                ++m_pos;
            } else if (Peek() == '}') {
                ++m_pos;
                return m_ok;
            } else {
                return Fail();
            }
        }
    }

    bool Array(Node& node, long depth)
    {
        node.kind = Node::Kind::Array;
        ++m_pos;
        SkipBlanks();
        if (Peek() == ']') {
            ++m_pos;
            return m_ok;
        }
        for (;;) {
            Node element;
            if (!Value(element, depth))
                return false;
            node.elements.push_back(std::move(element));
            SkipBlanks();
            if (Peek() == ',') {
                ++m_pos;
            } else if (Peek() == ']') {
                ++m_pos;
                return m_ok;
            } else {
                return Fail();
            }
        }
    }

    bool Hex4(unsigned& value)
    {
        if (m_pos + 4 > m_text.size())
            return Fail();
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = g_ascii_xdigit_value(m_text[m_pos++]);
            if (digit < 0)
                return Fail();
            value = value << 4 | static_cast<unsigned>(digit);
        }
        return true;
    }

    // A double-quoted string with JSON escapes. Escapes json-glib reads its own
    // way (octal, lone surrogates, \u0000) stop the scan.
    bool String(std::string& out)
    {
        ++m_pos;
        for (;;) {
            if (AtEnd())
                return Fail();
            const char c = m_text[m_pos++];
            if (c == '"')
                return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (AtEnd())
                return Fail();
            const char e = m_text[m_pos++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned cp;
                if (!Hex4(cp) || cp == 0 || (cp >= 0xDC00 && cp <= 0xDFFF))
                    return Fail();
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    unsigned low;
                    if (m_text.substr(m_pos, 2) != "\\u")
                        return Fail();
                    m_pos += 2;
                    if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return Fail();
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                char utf8[6];
                out.append(utf8, static_cast<size_t>(g_unichar_to_utf8(cp, utf8)));
                break;
            }
            default: return Fail();
            }
        }
    }
};

}  // namespace

Definition::Definition(std::string_view text)
{
    // json-glib stops reading at a NUL byte.
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    m_lineStarts.push_back(0);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            m_lineStarts.push_back(i + 1);
    Node root;
    if (Scanner(text).Document(root))
        m_root = std::move(root);
}

Position Definition::At(size_t offset) const
{
    if (offset == kNoOffset)
        return Position();
    const auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const size_t line = static_cast<size_t>(next - m_lineStarts.begin());
    const size_t column = offset - m_lineStarts[line - 1] + 1;
    return Position{static_cast<long>(line), static_cast<long>(column)};
}

}  // namespace check
