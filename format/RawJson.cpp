#include "RawJson.h"

namespace velkin {

namespace {

using Kind = JsonToken::Kind;

bool IsScalar(Kind kind)
{
    return kind == Kind::String || kind == Kind::Number || kind == Kind::True ||
           kind == Kind::False || kind == Kind::Null;
}

// Past a member's name and colon, `token` then the value's first token.
bool Key(JsonLexer& lexer, JsonToken& token)
{
    if (token.kind != Kind::String || lexer.Next().kind != Kind::Colon)
        return false;
    token = lexer.Next();
    return true;
}

// After a value: the containers it ends are closed, then `next` is the
// first token of the value after the comma (past its key in an object).
bool AfterValue(JsonLexer& lexer, std::vector<Kind>& open, size_t& end, JsonToken& next)
{
    while (!open.empty()) {
        next = lexer.Next();
        if (next.kind == Kind::Comma) {
            next = lexer.Next();
            return open.back() != Kind::EndObject || Key(lexer, next);
        }
        if (next.kind != open.back())
            return false;
        end = next.end;
        open.pop_back();
    }
    return true;
}

// Reads the rest of the value that `first` begins, without recursion; false
// unless it is one whole value. `end` receives the offset just past it.
bool SkipValue(JsonLexer& lexer, const JsonToken& first, size_t& end)
{
    std::vector<Kind> open;  // the token that closes each container still open
    for (JsonToken t = first;;) {
        if (t.kind == Kind::BeginObject || t.kind == Kind::BeginArray) {
            const Kind close = t.kind == Kind::BeginObject ? Kind::EndObject : Kind::EndArray;
            t = lexer.Next();
            if (t.kind != close) {
                open.push_back(close);
                if (close == Kind::EndObject && !Key(lexer, t))
                    return false;
                continue;
            }
        } else if (!IsScalar(t.kind)) {
            return false;
        }
        end = t.end;
        if (!AfterValue(lexer, open, end, t))
            return false;
        if (open.empty())
            return true;
    }
}

// After a BeginObject token: reads the members through the closing brace,
// appending them to `members` (unless null), repeats kept.
bool ReadMembers(JsonLexer& lexer, std::vector<RawMember>* members, size_t& end)
{
    JsonToken t = lexer.Next();
    for (bool first = true;; first = false) {
        if (t.kind == Kind::EndObject && first)
            break;
        if (t.kind != Kind::String || lexer.Next().kind != Kind::Colon)
            return false;
        const JsonToken value = lexer.Next();
        if (!SkipValue(lexer, value, end))
            return false;
        if (members != nullptr)
            members->push_back(RawMember{lexer.Text().substr(t.offset + 1, t.end - t.offset - 2),
                                         lexer.Text().substr(value.offset, end - value.offset)});
        t = lexer.Next();
        if (t.kind == Kind::EndObject)
            break;
        if (t.kind != Kind::Comma)
            return false;
        t = lexer.Next();
    }
    end = t.end;
    return true;
}

}  // namespace

bool ScanObject(std::string_view text, std::vector<RawMember>& members)
{
    members.clear();
    JsonLexer lexer(text, JsonDialect::Strict, kUnboundedNesting);
    size_t end = 0;
    return lexer.Next().kind == Kind::BeginObject && ReadMembers(lexer, &members, end) &&
           lexer.Next().kind == Kind::End;
}

bool IsJsonValue(std::string_view text)
{
    JsonLexer lexer(text, JsonDialect::Strict, kUnboundedNesting);
    size_t end = 0;
    return SkipValue(lexer, lexer.Next(), end) && lexer.Next().kind == Kind::End;
}

bool StringValue(std::string_view value, std::string& out)
{
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return false;
    out = DecodeString(value.substr(1, value.size() - 2));
    return true;
}

}  // namespace velkin
