#include "Scanner.h"

#include <glib.h>

#include <cstdio>

#include "Identifiers.h"

namespace check {

namespace {

using velkin::JsonToken;
using Kind = JsonToken::Kind;

// Reads the tokens of one document into Nodes. Each reading function starts
// at its first token (m_token) and, when it succeeds, ends at its last.
class Scanner {
public:
    Scanner(std::string_view text, const velkin::LineIndex& lines)
        : m_lexer(text, velkin::JsonDialect::Commented), m_text(text), m_lines(lines)
    {
    }

    ScanResult Document(Node& root)
    {
        m_token = m_lexer.Next();
        if (m_token.kind == Kind::NotUtf8)
            m_result.ok = NotUtf8();
        else
            m_result.ok = Advanced() && Value(root, nullptr) && Advance() &&
                          (m_token.kind == Kind::End ||
                           Stray("text after the end of the document", false));
        return std::move(m_result);
    }

private:
    velkin::JsonLexer m_lexer;
    std::string_view m_text;
    const velkin::LineIndex& m_lines;
    JsonToken m_token;
    ScanResult m_result;

    // The byte at `at`; NUL past the end.
    char At(size_t at) const { return at < m_text.size() ? m_text[at] : '\0'; }
    char First() const { return At(m_token.offset); }

    bool Advance()
    {
        m_token = m_lexer.Next();
        return Advanced();
    }
    // Blanks before a token end in a comment never closed.
    bool Advanced()
    {
        return m_token.kind != Kind::OpenComment ||
               Fail(m_token.offset, "comment never closed: '/*' without '*/'");
    }

    bool Fail(size_t at, std::string message)
    {
        m_result.fault = SyntaxFault{at, std::move(message)};
        return false;
    }
    // Stopped at syntax json-glib may read: nothing to explain.
    bool Unfollowed() { return Fail(m_token.offset, std::string()); }

    // json-glib refuses a text that is not UTF-8 (a NUL byte included), whole.
    bool NotUtf8()
    {
        const unsigned char byte = static_cast<unsigned char>(First());
        char shown[8];
        std::snprintf(shown, sizeof shown, "0x%02x", byte);
        return Fail(m_token.offset,
                    byte == 0 ? std::string("a NUL byte: json-glib reads only UTF-8 text "
                                            "without NUL bytes")
                              : std::string("byte ") + shown +
                                    " is not UTF-8 here: json-glib reads only UTF-8 text");
    }

    // The character the token starts with, whole, for a message.
    std::string Shown() const
    {
        const size_t n = static_cast<size_t>(g_utf8_skip[static_cast<unsigned char>(First())]);
        return "'" + velkin::OneLine(m_text.substr(m_token.offset, n)) + "'";
    }

    // A token that cannot stand here. Comments and the syntax json-glib
    // reads beyond JSON come first; then a bare word (`words`); anything
    // else is `what`.
    bool Stray(const std::string& what, bool words = true)
    {
        const char c = First();
        if ((c == '/' && At(m_token.offset + 1) == '/') || c == '#')
            return Fail(m_token.offset,
                        std::string("comments are not JSON: json-glib refuses a '") +
                            (c == '#' ? "#" : "//") + "' comment (it skips /* */ only)");
        if (c == '/' || c == '\'' || c == '.' || c == '$')
            return Unfollowed();
        if (words && (g_ascii_isalpha(c) || c == '_'))
            return Word(what);
        return Fail(m_token.offset, words ? "unexpected " + Shown() + ": " + what : what);
    }

    // A bare word where it cannot stand, or that is not true, false or null.
    bool Word(const std::string& what)
    {
        const std::string word(
            m_text.substr(m_token.offset, std::min<size_t>(m_token.end - m_token.offset, 40)));
        if (word == "var")
            return Unfollowed();  // json-glib reads "var name = value;" as the value
        if (m_token.kind != Kind::Word)
            return Fail(m_token.offset, "unexpected " + word + ": " + what);
        return Fail(m_token.offset,
                    "unknown word '" + word +
                        "': JSON's words are true, false and null, and a string needs "
                        "double quotes");
    }

    bool EndOfText(const Node& open)
    {
        const char* what = open.kind == Node::Kind::Object ? "object" : "array";
        return Fail(m_text.size(), std::string("the text ends inside the ") + what +
                                       " opened at " + Where(m_lines.At(open.offset)));
    }

    // A value; `open` is the object or array it stands in (null: none).
    bool Value(Node& node, const Node* open)
    {
        node.offset = m_token.offset;
        switch (m_token.kind) {
        case Kind::End:
            return open != nullptr ? EndOfText(*open)
                                   : Fail(m_token.offset, "the text ends where a value should be");
        case Kind::BeginObject: return Object(node);
        case Kind::BeginArray: return Array(node);
        case Kind::String:
        case Kind::OpenString:
        case Kind::BadEscape: node.kind = Node::Kind::String; return StringText(node.text);
        case Kind::Number:
        case Kind::True:
        case Kind::False:
        case Kind::Null: return true;
        // Deeper than json-glib 1.10 reads; numbers json-glib 1.6 reads
        // its own way (hexadecimal, octal, ...).
        case Kind::TooDeep:
        case Kind::BadNumber: return Unfollowed();
        default: return Stray("a value should stand here");
        }
    }

    // The decoded text of a string token. Escapes json-glib reads its own
    // way (lone surrogates, \u0000, octal and unknown escapes) stop the scan.
    bool StringText(std::string& out)
    {
        if (m_token.oddEscape || m_token.kind == Kind::BadEscape)
            return Unfollowed();
        if (m_token.kind == Kind::OpenString)
            return Fail(m_token.offset, "string never closed: it runs to the end of the text");
        NoteRawControl();
        const std::string_view body =
            m_text.substr(m_token.offset + 1, m_token.end - m_token.offset - 2);
        if (m_token.escaped)
            velkin::AppendDecoded(body, out);
        else
            out.assign(body);
        return true;
    }

    void NoteRawControl()
    {
        if (m_token.control == std::string_view::npos || m_result.rawControl != kNoOffset)
            return;
        const std::string_view rest =
            m_text.substr(m_token.control, m_token.end - m_token.control);
        const size_t at = rest.find_first_of("\n\t\r\f\b");
        if (at != std::string_view::npos)
            m_result.rawControl = m_token.control + at;
    }

    bool MemberName(const Node& node, size_t comma, Member& member)
    {
        if (m_token.kind == Kind::End)
            return EndOfText(node);
        if (m_token.kind == Kind::EndObject && comma != kNoOffset)
            return Fail(comma, "a ',' after the last member: JSON allows none before '}'");
        if (First() != '"')
            return g_ascii_isalpha(First()) || First() == '_'
                       ? Fail(m_token.offset, "member names must be strings in double quotes")
                       : Stray("a member name in double quotes should stand here");
        member.offset = m_token.offset;
        if (!StringText(member.name) || !Advance())
            return false;
        if (m_token.kind == Kind::Colon)
            return true;
        return m_token.kind == Kind::End
                   ? EndOfText(node)
                   : Fail(m_token.offset, "missing ':' after member name " + velkin::Show(member.name));
    }

    bool Object(Node& node)
    {
        node.kind = Node::Kind::Object;
        if (!Advance())
            return false;
        if (m_token.kind == Kind::EndObject)
            return true;
        for (size_t comma = kNoOffset;;) {
            Member member;
            if (!MemberName(node, comma, member) || !Advance() || !Value(member.value, &node))
                return false;
            node.members.push_back(std::move(member));
            if (!Advance())
                return false;
            if (m_token.kind == Kind::EndObject)
                return true;
            if (m_token.kind != Kind::Comma)
                return AfterMember(node);
            comma = m_token.offset;
            if (!Advance())
                return false;
        }
    }

    bool AfterMember(const Node& node)
    {
        if (m_token.kind == Kind::End)
            return EndOfText(node);
        if (First() == '"')
            return Fail(m_token.offset, "missing ',' between members");
        return Stray("',' or '}' should follow a member");
    }

    bool Array(Node& node)
    {
        node.kind = Node::Kind::Array;
        if (!Advance())
            return false;
        if (m_token.kind == Kind::EndArray)
            return true;
        for (;;) {
            Node element;
            if (!Value(element, &node))
                return false;
            node.elements.push_back(std::move(element));
            if (!Advance())
                return false;
            if (m_token.kind == Kind::EndArray)
                return true;
            if (m_token.kind != Kind::Comma)
                return AfterElement(node);
            const size_t comma = m_token.offset;
            if (!Advance())
                return false;
            if (m_token.kind == Kind::EndArray)
                return Fail(comma, "a ',' after the last element: JSON allows none before ']'");
        }
    }

    // Whether the token begins as a value does, valid or not.
    bool StartsValue() const
    {
        const char c = First();
        const std::string_view rest = m_text.substr(m_token.offset);
        return c == '"' || c == '{' || c == '[' || c == '-' || g_ascii_isdigit(c) ||
               rest.substr(0, 4) == "true" || rest.substr(0, 5) == "false" ||
               rest.substr(0, 4) == "null";
    }

    bool AfterElement(const Node& node)
    {
        if (m_token.kind == Kind::End)
            return EndOfText(node);
        if (StartsValue())
            return Fail(m_token.offset, "missing ',' between elements");
        return Stray("',' or ']' should follow an element");
    }
};

}  // namespace

ScanResult Scan(std::string_view text, const velkin::LineIndex& lines, Node& root)
{
    return Scanner(text, lines).Document(root);
}

}  // namespace check
