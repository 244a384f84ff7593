#include "Scanner.h"

#include <glib.h>

#include <cstdio>

#include "Identifiers.h"

namespace check {

namespace {

using velkin::JsonToken;
using Kind = JsonToken::Kind;

// Where an object or array opened, for the message when the text ends in it.
struct Open {
    Node::Kind kind;
    size_t offset;
};

// Reads the tokens of one document into a ScanTree's nodes. Each reading
// function starts at its first token (m_token) and, when it succeeds, ends
// at its last.
class Scanner {
public:
    Scanner(std::string_view text, const velkin::LineIndex& lines, std::vector<Scanned>& nodes)
        : m_lexer(text, velkin::JsonDialect::Commented), m_text(text), m_lines(lines), m_nodes(nodes)
    {
    }

    ScanResult Document()
    {
        Scanned root;
        m_token = m_lexer.Next();
        if (m_token.kind == Kind::NotUtf8)
            m_result.ok = NotUtf8();
        else
            m_result.ok = Advanced() && Value(root, nullptr) && Advance() &&
                          (m_token.kind == Kind::End ||
                           Stray("text after the end of the document", false));
        m_nodes.push_back(root);
        return std::move(m_result);
    }

private:
    velkin::JsonLexer m_lexer;
    std::string_view m_text;
    const velkin::LineIndex& m_lines;
    JsonToken m_token;
    ScanResult m_result;
    std::vector<Scanned>& m_nodes;   // each object's or array's children, as it closes
    std::vector<Scanned> m_pending;  // the children read so far of those still open

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

    bool EndOfText(const Open& open)
    {
        const char* what = open.kind == Node::Kind::Object ? "object" : "array";
        return Fail(m_text.size(), std::string("the text ends inside the ") + what +
                                       " opened at " + Where(m_lines.At(open.offset)));
    }

    static void SetKind(Scanned& node, Node::Kind kind)
    {
        node.kindCount = static_cast<uint32_t>(kind) << 30;
    }

    // A value; `open` is the object or array it stands in (null: none).
    bool Value(Scanned& node, const Open* open)
    {
        node.offset = static_cast<uint32_t>(m_token.offset);
        switch (m_token.kind) {
        case Kind::End:
            return open != nullptr ? EndOfText(*open)
                                   : Fail(m_token.offset, "the text ends where a value should be");
        case Kind::BeginObject: return Object(node);
        case Kind::BeginArray: return Array(node);
        case Kind::String:
        case Kind::OpenString:
        case Kind::BadEscape: SetKind(node, Node::Kind::String); return StringToken();
        case Kind::Number:
        case Kind::True:
        case Kind::False:
        case Kind::Null: SetKind(node, Node::Kind::Other); return true;
        // Deeper than json-glib 1.10 reads; numbers json-glib 1.6 reads
        // its own way (hexadecimal, octal, ...).
        case Kind::TooDeep:
        case Kind::BadNumber: return Unfollowed();
        default: return Stray("a value should stand here");
        }
    }

    // A string token, checked. Escapes json-glib reads its own way (lone
    // surrogates, \u0000, octal and unknown escapes) stop the scan.
    bool StringToken()
    {
        if (m_token.oddEscape || m_token.kind == Kind::BadEscape)
            return Unfollowed();
        if (m_token.kind == Kind::OpenString)
            return Fail(m_token.offset, "string never closed: it runs to the end of the text");
        NoteRawControl();
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

    bool MemberName(const Open& node, size_t comma, Scanned& member)
    {
        if (m_token.kind == Kind::End)
            return EndOfText(node);
        if (m_token.kind == Kind::EndObject && comma != kNoOffset)
            return Fail(comma, "a ',' after the last member: JSON allows none before '}'");
        if (First() != '"')
            return g_ascii_isalpha(First()) || First() == '_'
                       ? Fail(m_token.offset, "member names must be strings in double quotes")
                       : Stray("a member name in double quotes should stand here");
        const JsonToken name = m_token;
        member.key = static_cast<uint32_t>(name.offset);
        if (!StringToken() || !Advance())
            return false;
        if (m_token.kind == Kind::Colon)
            return true;
        const std::string_view body = m_text.substr(name.offset + 1, name.end - name.offset - 2);
        return m_token.kind == Kind::End
                   ? EndOfText(node)
                   : Fail(m_token.offset,
                          "missing ':' after member name " +
                              velkin::Show(name.escaped ? velkin::DecodeString(body)
                                                        : std::string(body)));
    }

    // The children read since `mark` become the node's, in the tree.
    bool Close(Scanned& node, size_t mark)
    {
        node.first = static_cast<uint32_t>(m_nodes.size());
        node.kindCount |= static_cast<uint32_t>(m_pending.size() - mark) & Scanned::kCountMask;
        m_nodes.insert(m_nodes.end(), m_pending.begin() + static_cast<std::ptrdiff_t>(mark),
                       m_pending.end());
        m_pending.resize(mark);
        return true;
    }

    bool Object(Scanned& node)
    {
        const Open open{Node::Kind::Object, m_token.offset};
        const size_t mark = m_pending.size();
        SetKind(node, open.kind);
        if (!Advance())
            return false;
        if (m_token.kind == Kind::EndObject)
            return Close(node, mark);
        for (size_t comma = kNoOffset;;) {
            Scanned member;
            if (!MemberName(open, comma, member) || !Advance() || !Value(member, &open))
                return false;
            m_pending.push_back(member);
            if (!Advance())
                return false;
            if (m_token.kind == Kind::EndObject)
                return Close(node, mark);
            if (m_token.kind != Kind::Comma)
                return AfterMember(open);
            comma = m_token.offset;
            if (!Advance())
                return false;
        }
    }

    bool AfterMember(const Open& node)
    {
        if (m_token.kind == Kind::End)
            return EndOfText(node);
        if (First() == '"')
            return Fail(m_token.offset, "missing ',' between members");
        return Stray("',' or '}' should follow a member");
    }

    bool Array(Scanned& node)
    {
        const Open open{Node::Kind::Array, m_token.offset};
        const size_t mark = m_pending.size();
        SetKind(node, open.kind);
        if (!Advance())
            return false;
        if (m_token.kind == Kind::EndArray)
            return Close(node, mark);
        for (;;) {
            Scanned element;
            if (!Value(element, &open))
                return false;
            m_pending.push_back(element);
            if (!Advance())
                return false;
            if (m_token.kind == Kind::EndArray)
                return Close(node, mark);
            if (m_token.kind != Kind::Comma)
                return AfterElement(open);
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

    bool AfterElement(const Open& node)
    {
        if (m_token.kind == Kind::End)
            return EndOfText(node);
        if (StartsValue())
            return Fail(m_token.offset, "missing ',' between elements");
        return Stray("',' or ']' should follow an element");
    }
};

}  // namespace

ScanResult Scan(std::string_view text, const velkin::LineIndex& lines, ScanTree& tree)
{
    tree.m_text = text;
    tree.m_nodes.clear();
    ScanResult result = Scanner(text, lines, tree.m_nodes).Document();
    if (!result.ok || text.size() > ScanTree::kMaxText)
        std::vector<Scanned>().swap(tree.m_nodes);
    return result;
}

std::string_view ScanTree::Name(const Scanned& member, std::string& decoded) const
{
    // The scan took the token whole: its closing quote is the first one not
    // escaped, and its escapes are all ones it decodes.
    const size_t open = member.key;
    size_t close = open + 1;
    bool escaped = false;
    for (; m_text[close] != '"'; ++close)
        if (m_text[close] == '\\') {
            escaped = true;
            ++close;
        }
    const std::string_view body = m_text.substr(open + 1, close - open - 1);
    if (!escaped)
        return body;
    decoded = velkin::DecodeString(body);
    return decoded;
}

std::string ScanTree::Text(const Scanned& string) const
{
    Scanned named = string;
    named.key = string.offset;
    std::string decoded;
    return std::string(Name(named, decoded));
}

void ScanTree::DropChildren(const std::vector<const Scanned*>& values)
{
    if (m_nodes.empty())
        return;
    std::vector<bool> emptied(m_nodes.size());
    for (const Scanned* value : values)
        emptied[static_cast<size_t>(value - m_nodes.data())] = true;
    std::vector<Scanned> kept;
    kept.reserve(Kept(m_nodes.size() - 1, emptied) + 1);
    const Scanned root = Copy(m_nodes.size() - 1, emptied, kept);
    kept.push_back(root);
    m_nodes.swap(kept);
}

// How many nodes below node `at` Copy keeps.
size_t ScanTree::Kept(size_t at, const std::vector<bool>& emptied) const
{
    const Scanned& node = m_nodes[at];
    const size_t children = emptied[at] ? 0 : node.Count();
    size_t n = children;
    for (size_t i = 0; i < children; ++i)
        n += Kept(node.first + i, emptied);
    return n;
}

// Node `at` into `out` as the scan lays it out: each object's or array's
// children together, after theirs.
Scanned ScanTree::Copy(size_t at, const std::vector<bool>& emptied, std::vector<Scanned>& out) const
{
    Scanned node = m_nodes[at];
    if (emptied[at])
        node.kindCount &= ~Scanned::kCountMask;
    if (node.Count() == 0) {
        node.first = 0;
        return node;
    }
    std::vector<Scanned> children;
    children.reserve(node.Count());
    for (size_t i = 0; i < node.Count(); ++i)
        children.push_back(Copy(node.first + i, emptied, out));
    node.first = static_cast<uint32_t>(out.size());
    out.insert(out.end(), children.begin(), children.end());
    return node;
}

}  // namespace check
