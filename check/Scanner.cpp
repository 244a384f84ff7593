#include "Scanner.h"

#include <glib.h>

#include <string>

#include "Facts.h"
#include "Identifiers.h"

namespace check {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsWordChar(char c)
{
    return g_ascii_isalnum(c) || c == '_' || c == '-';
}

class Scanner {
public:
    Scanner(std::string_view text, size_t start, const Definition& where)
        : m_text(text), m_pos(start), m_where(where)
    {
    }

    ScanResult Document(Node& root)
    {
        m_result.ok = Value(root, 0, nullptr) && SkipBlanks() &&
                      (AtEnd() || Stray("text after the end of the document", false));
        return std::move(m_result);
    }

private:
    std::string_view m_text;
    size_t m_pos;
    const Definition& m_where;
    ScanResult m_result;

    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek(size_t ahead = 0) const
    {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
    }

    bool Fail(size_t at, std::string message)
    {
        m_result.fault = SyntaxFault{at, std::move(message)};
        return false;
    }
    // Stopped at syntax json-glib may read: nothing to explain.
    bool Unfollowed() { return Fail(m_pos, std::string()); }

    // The character at the cursor, whole, for a message.
    std::string Shown() const
    {
        const size_t n = static_cast<size_t>(g_utf8_skip[static_cast<unsigned char>(Peek())]);
        return "'" + velkin::OneLine(m_text.substr(m_pos, n)) + "'";
    }

    // Something that cannot stand here. Comments and the syntax json-glib
    // reads beyond JSON come first; then a bare word (`words`); anything
    // else is `what`.
    bool Stray(const std::string& what, bool words = true)
    {
        const char c = Peek();
        if ((c == '/' && Peek(1) == '/') || c == '#')
            return Fail(m_pos, std::string("comments are not JSON: json-glib refuses a '") +
                                   (c == '#' ? "#" : "//") + "' comment (it skips /* */ only)");
        if (c == '/' || c == '\'' || c == '.' || c == '$')
            return Unfollowed();
        if (words && (g_ascii_isalpha(c) || c == '_'))
            return Word(what);
        return Fail(m_pos, words ? "unexpected " + Shown() + ": " + what : what);
    }

    // A bare word where it cannot stand, or that is not true, false or null.
    bool Word(const std::string& what)
    {
        size_t end = m_pos;
        while (end < m_text.size() && IsWordChar(m_text[end]))
            ++end;
        const std::string word(m_text.substr(m_pos, std::min<size_t>(end - m_pos, 40)));
        if (word == "var")
            return Unfollowed();  // json-glib reads "var name = value;" as the value
        if (word == "true" || word == "false" || word == "null")
            return Fail(m_pos, "unexpected " + word + ": " + what);
        return Fail(m_pos, "unknown word '" + word +
                               "': JSON's words are true, false and null, and a string needs "
                               "double quotes");
    }

    bool EndOfText(const Node& open)
    {
        const char* what = open.kind == Node::Kind::Object ? "object" : "array";
        return Fail(m_text.size(), std::string("the text ends inside the ") + what + " opened at " +
                                       Where(m_where.At(open.offset)));
    }

    // Blanks and /* */ comments between tokens.
    bool SkipBlanks()
    {
        while (!AtEnd()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++m_pos;
            } else if (c == '/' && Peek(1) == '*') {
                const size_t end = m_text.find("*/", m_pos + 2);
                if (end == std::string_view::npos)
                    return Fail(m_pos, "comment never closed: '/*' without '*/'");
                m_pos = end + 2;
            } else {
                break;
            }
        }
        return true;
    }

    // A value; `open` is the object or array it stands in (null: none).
    bool Value(Node& node, long depth, const Node* open)
    {
        if (!SkipBlanks())
            return false;
        if (AtEnd())
            return open != nullptr ? EndOfText(*open)
                                   : Fail(m_pos, "the text ends where a value should be");
        node.offset = m_pos;
        const char c = m_text[m_pos];
        if (c == '{' || c == '[') {
            if (depth >= velkin::kMaxNesting)
                return Unfollowed();
            return c == '{' ? Object(node, depth + 1) : Array(node, depth + 1);
        }
        if (c == '"') {
            node.kind = Node::Kind::String;
            return String(node.text);
        }
        node.kind = Node::Kind::Other;
        if (c == '-' || IsDigit(c))
            return Number();
        for (std::string_view word : {"true", "false", "null"})
            if (m_text.substr(m_pos, word.size()) == word && !IsWordChar(Peek(word.size()))) {
                m_pos += word.size();
                return true;
            }
        return Stray("a value should stand here");
    }

    // A JSON number; json-glib 1.6 also reads hexadecimal, octal and others.
    bool Number()
    {
        if (Peek() == '-')
            ++m_pos;
        const size_t digits = m_pos;
        while (IsDigit(Peek()))
            ++m_pos;
        // No digit, or a leading zero (json-glib 1.6 reads 017 as octal).
        if (m_pos == digits || (m_text[digits] == '0' && m_pos - digits > 1))
            return Unfollowed();
        if (Peek() == '.') {
            ++m_pos;
            if (!IsDigit(Peek()))
                return Unfollowed();
            while (IsDigit(Peek()))
                ++m_pos;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_pos;
            if (Peek() == '+' || Peek() == '-')
                ++m_pos;
            if (!IsDigit(Peek()))
                return Unfollowed();
            while (IsDigit(Peek()))
                ++m_pos;
        }
        return !(g_ascii_isalnum(Peek()) || Peek() == '.' || Peek() == '_') || Unfollowed();
    }

    bool MemberName(const Node& node, size_t comma, Member& member)
    {
        if (!SkipBlanks())
            return false;
        if (AtEnd())
            return EndOfText(node);
        if (Peek() == '}' && comma != kNoOffset)
            return Fail(comma, "a ',' after the last member: JSON allows none before '}'");
        if (Peek() != '"')
            return g_ascii_isalpha(Peek()) || Peek() == '_'
                       ? Fail(m_pos, "member names must be strings in double quotes")
                       : Stray("a member name in double quotes should stand here");
        member.offset = m_pos;
        if (!String(member.name) || !SkipBlanks())
            return false;
        if (Peek() == ':') {
            ++m_pos;
            return true;
        }
        return AtEnd() ? EndOfText(node)
                       : Fail(m_pos, "missing ':' after member name " + velkin::Show(member.name));
    }

    bool Object(Node& node, long depth)
    {
        node.kind = Node::Kind::Object;
        ++m_pos;
        if (!SkipBlanks())
            return false;
        if (Peek() == '}') {
            ++m_pos;
            return true;
        }
        for (size_t comma = kNoOffset;;) {
            Member member;
            if (!MemberName(node, comma, member) || !Value(member.value, depth, &node))
                return false;
            node.members.push_back(std::move(member));
            if (!SkipBlanks())
                return false;
            if (Peek() == '}') {
                ++m_pos;
                return true;
            }
            if (Peek() != ',')
                return AfterMember(node);
            comma = m_pos++;
        }
    }

    bool AfterMember(const Node& node)
    {
        if (AtEnd())
            return EndOfText(node);
        if (Peek() == '"')
            return Fail(m_pos, "missing ',' between members");
        return Stray("',' or '}' should follow a member");
    }

    bool Array(Node& node, long depth)
    {
        node.kind = Node::Kind::Array;
        ++m_pos;
        if (!SkipBlanks())
            return false;
        if (Peek() == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            Node element;
            if (!Value(element, depth, &node))
                return false;
            node.elements.push_back(std::move(element));
            if (!SkipBlanks())
                return false;
            if (Peek() == ']') {
                ++m_pos;
                return true;
            }
            if (Peek() != ',')
                return AfterElement(node);
            const size_t comma = m_pos++;
            if (!SkipBlanks())
                return false;
            if (Peek() == ']')
                return Fail(comma, "a ',' after the last element: JSON allows none before ']'");
        }
    }

    bool AfterElement(const Node& node)
    {
        if (AtEnd())
            return EndOfText(node);
        const char c = Peek();
        if (c == '"' || c == '{' || c == '[' || c == '-' || IsDigit(c) ||
            m_text.substr(m_pos, 4) == "true" || m_text.substr(m_pos, 5) == "false" ||
            m_text.substr(m_pos, 4) == "null")
            return Fail(m_pos, "missing ',' between elements");
        return Stray("',' or ']' should follow an element");
    }

    bool Hex4(unsigned& value)
    {
        if (m_pos + 4 > m_text.size())
            return Unfollowed();
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = g_ascii_xdigit_value(m_text[m_pos++]);
            if (digit < 0)
                return Unfollowed();
            value = value << 4 | static_cast<unsigned>(digit);
        }
        return true;
    }

    // A \u escape, with its low surrogate when it begins a pair. Escapes
    // json-glib reads its own way (lone surrogates, \u0000) stop the scan.
    bool Unicode(std::string& out)
    {
        unsigned cp;
        if (!Hex4(cp))
            return false;
        if (cp == 0 || (cp >= 0xDC00 && cp <= 0xDFFF))
            return Unfollowed();
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            unsigned low;
            if (m_text.substr(m_pos, 2) != "\\u")
                return Unfollowed();
            m_pos += 2;
            if (!Hex4(low))
                return false;
            if (low < 0xDC00 || low > 0xDFFF)
                return Unfollowed();
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        char utf8[6];
        out.append(utf8, static_cast<size_t>(g_unichar_to_utf8(cp, utf8)));
        return true;
    }

    bool Escape(std::string& out)
    {
        static constexpr std::string_view kFrom = "\"\\/bfnrt";
        static constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        const char e = m_text[m_pos++];
        if (e == 'u')
            return Unicode(out);
        const size_t i = kFrom.find(e);
        if (i == std::string_view::npos) {
            --m_pos;
            return Unfollowed();  // json-glib reads octal and unknown escapes its own way
        }
        out += kTo[i];
        return true;
    }

    // A double-quoted string with JSON escapes.
    bool String(std::string& out)
    {
        const size_t open = m_pos++;
        while (!AtEnd()) {
            const char c = m_text[m_pos++];
            if (c == '"')
                return true;
            if (c == '\\') {
                if (AtEnd())
                    break;
                if (!Escape(out))
                    return false;
                continue;
            }
            if ((c == '\n' || c == '\t' || c == '\r' || c == '\f' || c == '\b') &&
                m_result.rawControl == kNoOffset)
                m_result.rawControl = m_pos - 1;
            out += c;
        }
        return Fail(open, "string never closed: it runs to the end of the text");
    }
};

}  // namespace

ScanResult Scan(std::string_view text, size_t start, const Definition& where, Node& root)
{
    return Scanner(text, start, where).Document(root);
}

}  // namespace check
