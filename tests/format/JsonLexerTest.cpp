// The lexer's boundaries, one named row each: token kinds and their offsets,
// positions after a byte-order mark, multibyte UTF-8 and CRLF, invalid
// UTF-8, escapes and the nesting bound.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "JsonLexer.h"

using namespace velkin;
using Kind = JsonToken::Kind;

namespace {

// A row's name as a test name.
template <class Row>
std::string RowName(const testing::TestParamInfo<Row>& row)
{
    std::string name = row.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

struct LexRow {
    const char* name;
    std::string text;
    JsonDialect dialect;
    std::string tokens;  // "kind@offset-end" of every token up to End or a stop
};

const char* KindName(Kind kind)
{
    static const char* const names[] = {
        "{", "}", "[", "]", ":", ",", "string", "number", "true", "false", "null", "end", "word",
        "badnumber", "badescape", "control", "openstring", "opencomment", "toodeep", "notutf8", "stray"};
    return names[static_cast<int>(kind)];
}

std::string Lex(const std::string& text, JsonDialect dialect)
{
    JsonLexer lexer(text, dialect);
    std::string out;
    for (;;) {
        const JsonToken t = lexer.Next();
        out += std::string(out.empty() ? "" : " ") + KindName(t.kind) + "@" +
               std::to_string(t.offset) + "-" + std::to_string(t.end);
        if (t.kind >= Kind::End)
            return out;
    }
}

void PrintTo(const LexRow& row, std::ostream* os)
{
    *os << row.name;
}

class Tokens : public testing::TestWithParam<LexRow> {};

// A row whose tokens begin with "..." gives only the last ones.
TEST_P(Tokens, KindsAndOffsets)
{
    const std::string lexed = Lex(GetParam().text, GetParam().dialect);
    const std::string& want = GetParam().tokens;
    if (want.rfind("...", 0) == 0)
        EXPECT_EQ(lexed.substr(lexed.size() - std::min(lexed.size(), want.size() - 3)), want.substr(3));
    else
        EXPECT_EQ(lexed, want);
}

const std::string kNested = std::string(kMaxNesting, '[') + std::string(kMaxNesting, ']');
const std::string kTooDeep = std::string(kMaxNesting + 1, '[');
constexpr JsonDialect S = JsonDialect::Strict, C = JsonDialect::Commented, K = JsonDialect::Skim;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lexer, Tokens, testing::Values(
    LexRow{"punctuation", "{}[]:,", S, "{@0-1 }@1-2 [@2-3 ]@3-4 :@4-5 ,@5-6 end@6-6"},
    LexRow{"words", " true false\tnull\n", S, "true@1-5 false@6-11 null@12-16 end@17-17"},
    LexRow{"bare word stops", "[nul]", S, "[@0-1 word@1-4"},
    LexRow{"word runs on through dashes", "true-x", S, "word@0-6"},
    LexRow{"numbers", "[0,-1.5e+3,2E9]", S, "[@0-1 number@1-2 ,@2-3 number@3-10 ,@10-11 number@11-14 ]@14-15 end@15-15"},
    LexRow{"leading zero", "01", S, "badnumber@0-2"},
    LexRow{"minus alone", "-x", S, "badnumber@0-1"},
    LexRow{"point without digits", "1.", S, "badnumber@0-2"},
    LexRow{"exponent without digits", "1e+", S, "badnumber@0-3"},
    LexRow{"hexadecimal", "0x1F", S, "badnumber@0-1"},
    LexRow{"number then minus", "1-2", S, "number@0-1 number@1-3 end@3-3"},
    LexRow{"string with escapes", "\"a\\\"\\\\\\/\\b\\f\\n\\r\\t\"", S, "string@0-19 end@19-19"},
    LexRow{"unknown escape", "\"\\x\"", S, "badescape@0-3"},
    LexRow{"short hex", "\"\\u12\"", S, "badescape@0-3"},
    LexRow{"bad hex digit", "\"\\u12g4\"", S, "badescape@0-3"},
    LexRow{"backslash at the end", "\"ab\\", S, "openstring@0-4"},
    LexRow{"string never closed", "[\"ab", S, "[@0-1 openstring@1-4"},
    LexRow{"raw control refused", "\"a\tb\"", S, "control@0-3"},
    LexRow{"raw control read", "\"a\tb\"", C, "string@0-5 end@5-5"},
    LexRow{"stray quote", "'a'", S, "stray@0-1"},
    LexRow{"stray multibyte", "\xc3\xa9", S, "stray@0-2"},
    LexRow{"comment refused", "/* c */1", S, "stray@0-1"},
    LexRow{"comment skipped", "/* c */ /**/1/*", C, "number@12-13 opencomment@13-15"},
    LexRow{"line comment", "// c\n1", C, "stray@0-1"},
    LexRow{"byte-order mark skipped", "\xef\xbb\xbf{}", C, "{@3-4 }@4-5 end@5-5"},
    LexRow{"byte-order mark strict", "\xef\xbb\xbf{}", S, "stray@0-3"},
    LexRow{"overlong", "[\"\xc0\xaf\"]", S, "notutf8@2-3"},
    LexRow{"surrogate in UTF-8", "[\"\xed\xa0\x80\"]", S, "notutf8@2-3"},
    LexRow{"truncated sequence", "[\"\xe2\x82\"]", C, "notutf8@2-3"},
    LexRow{"NUL byte", std::string("[1,\0]", 5), S, "notutf8@3-4"},
    LexRow{"depth at the bound", kNested, S, "...]@2047-2048 end@2048-2048"},
    LexRow{"depth past the bound", kTooDeep, C, "...[@1023-1024 toodeep@1024-1025"},
    LexRow{"skim counts the bound too", kTooDeep, K, "...[@1023-1024 toodeep@1024-1025"},
    LexRow{"closing lowers the depth", "]" + kTooDeep, K, "...[@1025-1026 end@1026-1026"},
    LexRow{"skim skips strings and comments", "['[' \"\\\"[\" /[/ {", K, "[@0-1 {@15-16 end@16-16"},
    LexRow{"skim stops at NUL", std::string("[\0[", 3), K, "[@0-1 end@1-1"},
    LexRow{"skim escape takes a NUL", std::string("\"\\\0\"[", 5), K, "[@4-5 end@5-5"}),
    RowName<LexRow>);

// One escape policy: what a string's body decodes to, and whether the lexer
// marks it as holding an escape json-glib reads its own way.
struct EscapeRow {
    const char* name;
    std::string body;
    std::string decoded;
    bool odd;
};

void PrintTo(const EscapeRow& row, std::ostream* os)
{
    *os << row.name;
}

class Escapes : public testing::TestWithParam<EscapeRow> {};

TEST_P(Escapes, DecodedByOnePolicy)
{
    const std::string quoted = "\"" + GetParam().body + "\"";
    const JsonToken t = JsonLexer(quoted).Next();
    ASSERT_EQ(t.kind, Kind::String);
    EXPECT_EQ(t.end, quoted.size());
    EXPECT_EQ(t.oddEscape, GetParam().odd);
    EXPECT_EQ(DecodeString(GetParam().body), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(Lexer, Escapes, testing::Values(
    EscapeRow{"plain", "caf\xc3\xa9", "caf\xc3\xa9", false},
    EscapeRow{"named", "\\n\\t\\\"\\/\\\\", "\n\t\"/\\", false},
    EscapeRow{"two byte", "\\u00e9", "\xc3\xa9", false},
    EscapeRow{"uppercase hex", "\\u00E9", "\xc3\xa9", false},
    EscapeRow{"NUL", "a\\u0000b", std::string("a\0b", 3), true},
    EscapeRow{"surrogate pair", "\\ud83d\\ude00", "\xf0\x9f\x98\x80", false},
    EscapeRow{"lone high", "\\ud83dx", "\xef\xbf\xbdx", true},
    EscapeRow{"lone low", "\\ude00", "\xef\xbf\xbd", true},
    EscapeRow{"high then not low", "\\ud83d\\u0041", "\xef\xbf\xbd" "A", true},
    EscapeRow{"first high", "\\ud800", "\xef\xbf\xbd", true},
    EscapeRow{"last low", "\\udfff", "\xef\xbf\xbd", true},
    EscapeRow{"pair at the ends of both halves", "\\udbff\\udfff", "\xf4\x8f\xbf\xbf", false},
    EscapeRow{"last before surrogates", "\\ud7ff", "\xed\x9f\xbf", false},
    EscapeRow{"first after surrogates", "\\ue000", "\xee\x80\x80", false}),
    RowName<EscapeRow>);

struct PositionRow {
    const char* name;
    std::string text;
    size_t offset;
    long line, column;
};

void PrintTo(const PositionRow& row, std::ostream* os)
{
    *os << row.name;
}

class Positions : public testing::TestWithParam<PositionRow> {};

// 200 lines "x": line L starts at 2 * (L - 1). The index keeps some line
// starts and counts the lines between them.
std::string TwoHundredLines()
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "x\n";
    return text;
}

TEST_P(Positions, LineAndByteColumn)
{
    const TextPosition p = LineIndex(GetParam().text).At(GetParam().offset);
    EXPECT_EQ(p.line, GetParam().line);
    EXPECT_EQ(p.column, GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(Lexer, Positions, testing::Values(
    PositionRow{"first byte", "{}", 0, 1, 1},
    PositionRow{"unknown place", "{}", std::string_view::npos, 1, 1},
    PositionRow{"after a byte-order mark", "\xef\xbb\xbf{}", 3, 1, 1},
    PositionRow{"mark counted out of line 1 only", "\xef\xbb\xbf{\n \"a\"}", 6, 2, 2},
    PositionRow{"after a multibyte character", "[\"\xc3\xa9\", 1]", 7, 1, 8},
    PositionRow{"after CRLF", "[\r\n 1]", 4, 2, 2},
    PositionRow{"carriage return is a byte of its line", "[\r\n 1]", 1, 1, 2},
    PositionRow{"line feed ends its line", "[\n1]", 1, 1, 2},
    PositionRow{"start of the last line", "a\nb\nc", 4, 3, 1},
    PositionRow{"line 64 of many", TwoHundredLines(), 127, 64, 2},
    PositionRow{"line 65 of many", TwoHundredLines(), 128, 65, 1},
    PositionRow{"line 130 of many", TwoHundredLines(), 259, 130, 2},
    PositionRow{"end of many lines", TwoHundredLines(), 400, 201, 1}),
    RowName<PositionRow>);
// clang-format on

}  // namespace
