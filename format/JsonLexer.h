// The one JSON lexer of the project: tokens with their byte offsets, UTF-8
// validated first, string escapes checked and decoded by one policy, and
// nesting bounded at kMaxNesting. The checker's scanner, the raw reading of
// written files, the nesting pre-scan and the fuzz targets all read JSON
// through it; LineIndex turns its offsets into lines and columns.
#pragma once

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>

#include "Facts.h"
#include "LineIndex.h"

namespace velkin {

// How much beyond strict JSON a lexer reads.
enum class JsonDialect {
    Strict,     // RFC 8259, nothing more
    Commented,  // also /* */ between tokens, a leading byte-order mark and
                // raw control characters in strings (json-glib reads them all)
    Skim,       // only brackets, delimited the way json-glib's scanner does:
                // "..." with escapes, '...' without, comments from one '/'
                // to the next, and a NUL byte ending the text
};

struct JsonToken {
    enum class Kind : unsigned char {
        BeginObject,
        EndObject,
        BeginArray,
        EndArray,
        Colon,
        Comma,
        String,
        Number,
        True,
        False,
        Null,
        End,  // the end of the text (Skim: or a NUL byte)
        // Where the lexer stops: it returns the same token from then on.
        Word,         // a bare word that is not true, false or null
        BadNumber,    // no digit, a leading zero, "1.", "1e", or a letter after it
        BadEscape,    // an unknown escape, or \u without four hexadecimal digits
        Control,      // a raw control character in a string (Strict)
        OpenString,   // the text ends inside a string
        OpenComment,  // '/*' without '*/'
        TooDeep,      // a bracket opening one level more than the lexer's bound
        NotUtf8,      // the first byte of the text that is not UTF-8, or a NUL byte
        Stray,        // a character no token begins with (one whole UTF-8 character)
    };
    Kind kind = Kind::End;
    size_t offset = 0;  // of the first byte; a string's opening quote, even when it fails
    size_t end = 0;     // one past the last byte read
    // Of a string (also of OpenString, up to where the text ends):
    bool escaped = false;                      // holds an escape: decode it
    bool oddEscape = false;                    // holds \u0000 or a lone surrogate
    size_t control = std::string_view::npos;   // first raw control character (Commented)

    bool Failed() const { return kind > Kind::End; }
};

inline constexpr long kUnboundedNesting = LONG_MAX;

class JsonLexer {
public:
    explicit JsonLexer(std::string_view text, JsonDialect dialect = JsonDialect::Strict,
                       long maxNesting = kMaxNesting);

    JsonToken Next();
    std::string_view Text() const { return m_text; }

private:
    JsonToken Stop(JsonToken token);
    JsonToken Single(JsonToken::Kind kind, size_t length = 1);
    JsonToken Bracket(JsonToken::Kind kind);
    void SkipBlanks();
    bool AtComment() const;
    bool SkipComments();
    JsonToken String();
    bool Escape(JsonToken& token);
    JsonToken Number();
    JsonToken Word();
    JsonToken NextSkimmed();
    bool SkipDelimited(char close, bool escapes);

    std::string_view m_text;
    JsonDialect m_dialect;
    long m_maxNesting;
    size_t m_at = 0;
    long m_depth = 0;
    bool m_stopped = false;
    JsonToken m_stop;
};

// The string a string token's body (between its quotes) stands for: escapes
// decoded, a surrogate pair joined, a lone surrogate U+FFFD, \u0000 a NUL.
std::string DecodeString(std::string_view body);
void AppendDecoded(std::string_view body, std::string& out);

}  // namespace velkin
