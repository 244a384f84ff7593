#include "NestingCheck.h"

#include "JsonLexer.h"

namespace velkin {

size_t FindTooDeep(std::string_view text)
{
    JsonLexer lexer(text, JsonDialect::Skim);
    for (JsonToken token = lexer.Next();; token = lexer.Next()) {
        if (token.kind == JsonToken::Kind::TooDeep)
            return token.offset;
        if (token.kind == JsonToken::Kind::End)
            return kNotTooDeep;
    }
}

}  // namespace velkin
