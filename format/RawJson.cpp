#include "RawJson.h"

namespace velkin {

bool ScanObject(std::string_view text, std::vector<RawMember>& members)
{
    members.clear();
    JsonLexer lexer(text, JsonDialect::Strict, kUnboundedNesting);
    size_t end = 0;
    return lexer.Next().kind == JsonToken::Kind::BeginObject && lexer.ReadMembers(&members, end) &&
           lexer.Next().kind == JsonToken::Kind::End;
}

bool StringValue(std::string_view value, std::string& out)
{
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return false;
    out = DecodeString(value.substr(1, value.size() - 2));
    return true;
}

}  // namespace velkin
