// The checker's parts that the golden cases cannot pin down one by one: the
// positions the scanner gives (or refuses to give), syntax errors where
// json-glib's versions differ, close names, and identifiers shown in messages.
// The syntax errors the checker explains are cases/syntax-*.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "../Rows.h"
#include "Check.h"
#include "Definition.h"
#include "Fixes.h"
#include "Identifiers.h"
#include "Spelling.h"

namespace {

TEST(CheckDefinition, PositionsOfMembersAndElements)
{
    const std::string text =
        "{\n"
        "  \"a\\u00e9\": [1, \"x\",\n"
        "\t{\"k\" : null}],\n"
        "  /* note */ \"b\": \"line\\nbreak\", \"b\": true\n"
        "}\n";
    const check::Definition d(text);
    const check::Node* root = d.Root();
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->members.size(), 3u);
    EXPECT_EQ(root->members[0].name, "a\xc3\xa9");
    const auto& list = root->members[0].value;
    ASSERT_EQ(list.elements.size(), 3u);
    const struct {
        const char* name;
        size_t offset;
        long line, column;
    } cases[] = {
        {"root", root->offset, 1, 1},
        {"escaped member name", root->members[0].offset, 2, 3},
        {"array", list.offset, 2, 14},
        {"first element", list.elements[0].offset, 2, 15},
        {"string element", list.elements[1].offset, 2, 18},
        {"object after a tab", list.elements[2].offset, 3, 2},
        {"member of an element", list.elements[2].members[0].offset, 3, 3},
        {"member after a comment", root->members[1].offset, 4, 14},
        {"member after an escaped line feed", root->members[2].offset, 4, 34},
        {"no offset", check::kNoOffset, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(d.At(c.offset).line, c.line);
        EXPECT_EQ(d.At(c.offset).column, c.column);
    }
    EXPECT_EQ(root->members[1].value.text, "line\nbreak");
}

// Syntax json-glib may accept but the scanner does not follow leaves no tree,
// so positions fall back to 1:1 instead of pointing at the wrong place.
struct Unfollowed : rows::Named {
    const char* text;
};

const Unfollowed kUnfollowed[] = {
    {"single quotes", "{'a': 1}"},
    {"hexadecimal number", "{\"a\": 0x10}"},
    {"octal escape", "{\"a\": \"\\200\"}"},
    {"bad comment", "{\"a\": /c/ 1}"},
    {"leading zero", "{\"a\": 017}"},
    {"no digit before the point", "{\"a\": .5}"},
    {"lone surrogate", "{\"a\": \"\\ud800\"}"},
    {"assignment around the document", "var x = {\"a\": 1};"},
};

class UnfollowedSyntax : public testing::TestWithParam<Unfollowed> {};

TEST_P(UnfollowedSyntax, GivesNoTree)
{
    const check::Definition d(GetParam().text);
    EXPECT_EQ(d.Root(), nullptr);
    EXPECT_FALSE(d.Refusal());
}

INSTANTIATE_TEST_SUITE_P(Rows, UnfollowedSyntax, testing::ValuesIn(kUnfollowed), rows::NameOf());

// What the scanner cannot explain keeps json-glib's own message (it begins
// with a capital), whatever its wording in the json-glib at hand.
TEST(CheckRules, UnexplainedSyntaxErrorKeepsJsonGlibsMessage)
{
    const auto found =
        check::CheckDefinition("menu-tv.json", "{\"menutree\": {}, \"x\": 0x10 \"y\"}");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].rule, check::RuleId::Syntax);
    ASSERT_FALSE(found[0].message.empty());
    EXPECT_TRUE(std::isupper(static_cast<unsigned char>(found[0].message[0]))) << found[0].message;
}

// A byte-order mark is skipped and counted out of line 1's columns; a raw
// tab in a string is a refusal only json-glib 1.10 makes, placed at the tab.
TEST(CheckDefinition, ByteOrderMarkAndRawControlCharacter)
{
    const check::Definition d("\xef\xbb\xbf{\"a\": \"x\ty\",\n \"b\": 1}");
    ASSERT_NE(d.Root(), nullptr);
    const check::Node& root = *d.Root();
    EXPECT_EQ(d.At(root.offset).column, 1);
    EXPECT_EQ(d.At(root.members[0].offset).column, 2);
    EXPECT_EQ(d.At(root.members[1].offset).line, 2);
    EXPECT_EQ(d.At(root.members[1].offset).column, 2);
    const auto refusal = d.Refusal();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(d.At(refusal->offset).column, 9);
}

// json-glib 1.6 places a stray character before a final line feed at column 0
// of the next line (1.10 at column 1 of its own): never printed as column 0.
TEST(CheckRules, SyntaxErrorNeverAtColumnZero)
{
    const auto found = check::CheckDefinition("menu-tv.json", "{\"menutree\": {}}\n.\n");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].rule, check::RuleId::Syntax);
    EXPECT_GE(found[0].position.line, 2);
    EXPECT_EQ(found[0].position.column, 1);
}

// Names one misspelling apart, and names that only look alike.
struct Names : rows::Named {
    const char* a;
    const char* b;
    bool close;
};

// clang-format off
const Names kNames[] = {
    {"swapped letters", "contrast", "contarst", true},
    {"one letter missing", "submenuitem", "submenuitems", true},
    {"underscore for hyphen", "group_items", "group-items", true},
    {"one capital", "menuTree", "menutree", true},
    {"one letter more", "menuaddinfos", "menuaddinfo", true},
    {"two letters missing", "grp", "group", true},
    {"short name one letter more", "lists", "list", true},
    {"accent for letter", "caf\xc3\xa9", "cafe", true},
    {"all capitals", "MENUTREE", "menutree", true},
    {"capitals of words", "SubMenuItems", "submenuitems", true},
    {"same name", "volume", "volume", false},
    {"one letter names", "a", "b", false},
    {"two letter names", "ab", "cd", false},
    {"unrelated", "$schema", "menutree", false},
    {"unrelated short", "display-name", "group", false},
    {"accent alone", "\xc3\xa9", "e", false},
    {"other edit member", "menuaddinfo", "menumodifyinfo", false},
    {"a word added", "sound", "sound_mode", false},
};
// clang-format on

class CheckSpelling : public testing::TestWithParam<Names> {};

TEST_P(CheckSpelling, CloseNamesBothWays)
{
    EXPECT_EQ(check::Close(GetParam().a, GetParam().b), GetParam().close);
    EXPECT_EQ(check::Close(GetParam().b, GetParam().a), GetParam().close);
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckSpelling, testing::ValuesIn(kNames), rows::NameOf());

TEST(CheckSpelling, EditsCountedUpToTwo)
{
    EXPECT_EQ(check::EditsUpToTwo("abcdefgh", "abdcefhg"), 2);
    EXPECT_EQ(check::EditsUpToTwo("abcdefgh", "xbcdefgy"), 2);
    EXPECT_EQ(check::EditsUpToTwo("abcdefgh", "xbcdyfgz"), 3);
}

// Identifiers in messages: escaped where they would break the line or the
// quotes, and cut between characters, never inside one.
struct Shown : rows::Named {
    std::string id;
    std::string shown;
};

const std::string a58(58, 'a'), a59(59, 'a'), a60(60, 'a');
// clang-format off
const Shown kShown[] = {
    {"plain", "plain", "'plain'"},
    {"quote and backslash", "it's\\", "'it\\'s\\\\'"},
    {"control characters", "tab\there\x1f\x7f", "'tab\\x09here\\x1f\\x7f'"},
    {"byte not UTF-8", "bad\xff", "'bad\\xff'"},
    {"cut before a character", a59 + "\xc3\xa9", "'" + a59 + "...'"},
    {"cut after 60 bytes", a59 + "b\xc3\xa9", "'" + a59 + "b...'"},
    {"character kept whole", a58 + "\xc3\xa9x", "'" + a58 + "\xc3\xa9...'"},
    {"60 bytes not cut", a60, "'" + a60 + "'"},
};
// clang-format on

class CheckMessages : public testing::TestWithParam<Shown> {};

TEST_P(CheckMessages, IdentifiersShownWhole)
{
    EXPECT_EQ(velkin::Show(GetParam().id), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckMessages, testing::ValuesIn(kShown), rows::NameOf());

// A finding is about the string it stands at, decoded: what an ignore line
// names. One at no string (the file name) is about none.
TEST(CheckDefinition, FindingsKnowTheirIdentifier)
{
    const std::string text = R"({"providers": [], "menutree": {"main": {"submenuitems": )"
                             R"(["ab\u0063", "d\"e", 7]}}, "menuitems": {"unused": {}}})";
    std::vector<std::string> ids;
    for (const check::Diagnostic& d : check::CheckDefinition("menu.json", text))
        ids.push_back(check::RuleOf(d.rule).name + (":" + d.identifier));
    EXPECT_EQ(ids, (std::vector<std::string>{"no-profile:", "missing-definition:abc",
                                             "unescaped-identifier:d\"e",
                                             "missing-definition:d\"e",
                                             "non-string-identifier:", "unused-definition:unused"}));
}

// Fixes as edits of the text: the string where `at` is first found removed
// (or renamed to q"z) and what the text becomes; "" where no edit is certain.
struct Edited : rows::Named {
    std::string text;
    std::string at;
    bool rename;
    std::string after;
};

// clang-format off
const Edited kEdited[] = {
    {"middle element with its comma", R"(["a", "x", "b"])", R"("x")", false, R"(["a", "b"])"},
    {"first element", R"(["x", "a"])", R"("x")", false, R"(["a"])"},
    {"last element with the comma before", R"(["a", "x"])", R"("x")", false, R"(["a"])"},
    {"last element on its line", "[\n  \"a\",\n  \"x\"\n]", R"("x")", false, "[\n  \"a\"\n]"},
    {"last element, CRLF", "[\"a\",\r\n \"x\"\r\n]", R"("x")", false, "[\"a\"\r\n]"},
    {"no blanks", R"(["a","x","b"])", R"("x")", false, R"(["a","b"])"},
    {"escaped quote inside", R"(["a", "\"x", "b"])", R"("\)", false, R"(["a", "b"])"},
    {"only element", R"(["x"])", R"("x")", false, ""},
    {"comment before the last", R"(["a", /* c */ "x"])", R"("x")", false, ""},
    {"comment after", R"(["a", "x" /* c */, "b"])", R"("x")", false, ""},
    {"renamed, escaped", R"({"x": 1})", R"("x")", true, R"({"q\"z": 1})"},
    {"renamed, escapes read whole", R"(["a\"x", 1])", R"("a)", true, R"(["q\"z", 1])"},
};
// clang-format on

class CheckFixes : public testing::TestWithParam<Edited> {};

TEST_P(CheckFixes, EditTheTextExactly)
{
    const Edited& row = GetParam();
    const size_t at = row.text.find(row.at);
    const std::optional<check::Fix> fix = row.rename ? check::RenameFix(row.text, at, "q\"z")
                                                     : check::RemoveElementFix(row.text, at);
    if (row.after.empty()) {
        EXPECT_FALSE(fix.has_value());
        return;
    }
    ASSERT_TRUE(fix.has_value());
    check::Diagnostic d{check::RuleId::DuplicateEntry, {}, "", check::Severity::Warning, "", fix};
    EXPECT_EQ(check::ApplyFixes(row.text, {d}).text, row.after);
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckFixes, testing::ValuesIn(kEdited), rows::NameOf());

// Fixes that overlap: the first in text order applied, the other left (also
// when only a later edit of a fix overlaps); one that two findings carry
// applied once; insertions beside a replaced range applied.
TEST(CheckFixes, OverlapsLeftForAnotherRound)
{
    using check::TextEdit;
    auto finding = [](std::vector<TextEdit> edits) {
        return check::Diagnostic{check::RuleId::DuplicateEntry, {}, "", check::Severity::Warning,
                                 "", check::Fix{"t", std::move(edits)}};
    };
    const std::string text = "0123456789";
    const std::vector<check::Diagnostic> found = {
        finding({{4, 2, "B"}}), finding({{2, 2, "A"}}), finding({{5, 1, "C"}}),
        finding({{4, 2, "B"}}), finding({{6, 0, "D"}, {8, 1, ""}}), finding({{7, 0, "E"}}),
        finding({{1, 0, "G"}, {8, 1, "H"}})};
    const check::FixedText fixed = check::ApplyFixes(text, found);
    EXPECT_EQ(fixed.text, "0G1AB6E7H9");
    EXPECT_EQ(fixed.applied.size(), 4u);
    ASSERT_EQ(fixed.left.size(), 2u);
    EXPECT_EQ(fixed.left[0]->fix->edits[0].replacement, "C");
    EXPECT_EQ(fixed.left[1]->fix->edits[0].replacement, "D");
}

}  // namespace
