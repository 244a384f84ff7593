// The kit velkin-check and velkin-tree share: when they colour, how their
// JSON strings are escaped, and how they report a usage error.
#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <set>
#include <string>
#include <tuple>

#include "Color.h"
#include "JsonWriter.h"
#include "Usage.h"

namespace {

using cli::ColorWhen;

// Every combination of --color, the terminal, NO_COLOR and TERM.
struct Environment {
    const char* name;
    const char* value;  // nullptr: not set
};
const Environment kNoColor[] = {{"unset", nullptr}, {"empty", ""}, {"1", "1"}};
const Environment kTerm[] = {{"unset", nullptr}, {"dumb", "dumb"}, {"xterm", "xterm"}};
const std::pair<const char*, ColorWhen> kWhen[] = {
    {"auto", ColorWhen::Auto}, {"always", ColorWhen::Always}, {"never", ColorWhen::Never}};

using ColorRow = std::tuple<int, bool, int, int>;  // when, terminal, NO_COLOR, TERM

std::string RowName(const testing::TestParamInfo<ColorRow>& info)
{
    const auto [when, terminal, noColor, term] = info.param;
    return std::string(kWhen[when].first) + (terminal ? "_tty" : "_pipe") + "_NO_COLOR_" +
           kNoColor[noColor].name + "_TERM_" + kTerm[term].name;
}

// Under auto, colour only on a terminal with TERM set, not "dumb", and
// NO_COLOR unset or empty.
const std::set<std::string> kAutoColours = {"auto_tty_NO_COLOR_unset_TERM_xterm",
                                            "auto_tty_NO_COLOR_empty_TERM_xterm"};

class ColorDecision : public testing::TestWithParam<ColorRow> {};

TEST_P(ColorDecision, ColoursExactlyWhereThePolicySays)
{
    const auto [when, terminal, noColor, term] = GetParam();
    const bool expected = kWhen[when].second == ColorWhen::Always ||
                          kAutoColours.count(RowName({GetParam(), 0})) == 1;
    EXPECT_EQ(
        cli::UseColor(kWhen[when].second, terminal, kNoColor[noColor].value, kTerm[term].value),
        expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ColorDecision,
                         testing::Combine(testing::Range(0, 3), testing::Bool(),
                                          testing::Range(0, 3), testing::Range(0, 3)),
                         RowName);

TEST(ColorChoice, OnlyTheThreeWordsAreRead)
{
    EXPECT_EQ(cli::ParseColorWhen("auto"), ColorWhen::Auto);
    EXPECT_EQ(cli::ParseColorWhen("always"), ColorWhen::Always);
    EXPECT_EQ(cli::ParseColorWhen("never"), ColorWhen::Never);
    for (const char* other : {"", "Always", "yes", "auto ", "al"})
        EXPECT_FALSE(cli::ParseColorWhen(other)) << "'" << other << "'";
}

TEST(Styled, CodeAndResetOnlyWhenOnAndGiven)
{
    EXPECT_EQ(cli::Styled(true, cli::sgr::kBold, "x"), "\033[1mx\033[0m");
    EXPECT_EQ(cli::Styled(false, cli::sgr::kBold, "x"), "x");
    EXPECT_EQ(cli::Styled(true, "", "x"), "x");
}

// One text and the body of the JSON string written for it.
struct EscapeRow {
    const char* name;
    std::string text;
    std::string escaped;
};

void PrintTo(const EscapeRow& row, std::ostream* out)
{
    *out << row.name;
}

std::string EscapeRowName(const testing::TestParamInfo<EscapeRow>& info)
{
    return info.param.name;
}

const std::string kFffd = "\xEF\xBF\xBD";

const EscapeRow kEscapeRows[] = {
    {"Plain", "menu a/b", "menu a/b"},
    {"Quote", "say \"hi\"", "say \\\"hi\\\""},
    {"Backslash", "a\\b", "a\\\\b"},
    {"Newline", "a\nb", "a\\nb"},
    {"Tab", "a\tb", "a\\tb"},
    {"CarriageReturn", "a\rb", "a\\rb"},
    {"Backspace", "a\bb", "a\\bb"},
    {"FormFeed", "a\fb", "a\\fb"},
    {"Nul", std::string("a\0b", 3), "a\\u0000b"},
    {"OtherControl", "\x01\x1b\x1f", "\\u0001\\u001b\\u001f"},
    {"DeleteAsIs", "a\x7f", "a\x7f"},
    {"TwoByteAsIs", "caf\xC3\xA9", "caf\xC3\xA9"},
    {"ThreeByteAsIs", "\xE2\x82\xAC 5", "\xE2\x82\xAC 5"},
    {"FourByteAsIs", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    {"LineSeparatorAsIs",
     "a\xE2\x80\xA8"
     "b",
     "a\xE2\x80\xA8"
     "b"},
    {"LoneContinuation",
     "a\x80"
     "b",
     "a" + kFffd + "b"},
    {"ByteFF", "\xFF", kFffd},
    {"TruncatedAtEnd", "a\xE2\x82", "a" + kFffd + kFffd},
    {"LeadThenCharacter", "\xC3\xC3\xA9", kFffd + "\xC3\xA9"},
    {"Surrogate", "\xED\xA0\x80", kFffd + kFffd + kFffd},
    {"Overlong", "\xC0\xAF", kFffd + kFffd},
    {"BeyondU10FFFF", "\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd},
    {"EscapeAfterInvalid", "\xFF\n", kFffd + "\\n"},
};

class JsonEscape : public testing::TestWithParam<EscapeRow> {};

TEST_P(JsonEscape, WritesTheBody)
{
    std::string out = "<";
    cli::AppendJsonEscaped(out, GetParam().text);
    EXPECT_EQ(out, "<" + GetParam().escaped);
    EXPECT_EQ(cli::JsonQuoted(GetParam().text), "\"" + GetParam().escaped + "\"");
}

INSTANTIATE_TEST_SUITE_P(Table, JsonEscape, testing::ValuesIn(kEscapeRows), EscapeRowName);

// json-glib reads every byte, alone, back as itself, or as U+FFFD where it
// is not UTF-8.
TEST(JsonEscape, EveryByteReadsBack)
{
    for (int c = 0; c < 256; ++c) {
        const std::string text(1, static_cast<char>(c));
        const std::string json = "[" + cli::JsonQuoted(text) + "]";
        g_autoptr(JsonParser) parser = json_parser_new();
        ASSERT_TRUE(json_parser_load_from_data(parser, json.data(),
                                               static_cast<gssize>(json.size()), nullptr))
            << "byte " << c << ": " << json;
        JsonArray* array = json_node_get_array(json_parser_get_root(parser));
        // json-glib's strings end at a NUL.
        const std::string expected = c == 0 ? "" : c < 0x80 ? text : kFffd;
        EXPECT_EQ(json_array_get_string_element(array, 0), expected) << "byte " << c;
    }
}

TEST(JsonWriter, NestsOneLineContainersAndSignedNumbers)
{
    std::string out;
    cli::JsonWriter json(out);
    json.BeginObject();
    json.Key("a");
    json.BeginArray(true);
    json.Number(-3L);
    json.BeginObject();
    json.Member("k\n", "v");
    json.EndObject();
    json.EndArray();
    json.Key("empty");
    json.BeginArray();
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(out, "{\n  \"a\": [-3, {\"k\\n\": \"v\"}],\n  \"empty\": []\n}\n");
}

TEST(Usage, NamesTheProgramAndPointsToHelp)
{
    EXPECT_EQ(cli::UsageMessage("velkin-tree", "no definition given"),
              "velkin-tree: no definition given\nTry 'velkin-tree --help'.\n");
    EXPECT_EQ(cli::kUsageStatus, 2);
}

}  // namespace
