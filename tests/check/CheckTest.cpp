// The checker's parts that the golden cases cannot pin down one by one: the
// positions the scanner gives (or refuses to give), syntax errors where
// json-glib's versions differ, close names, and identifiers shown in messages.
// The syntax errors the checker explains are cases/syntax-*.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "Check.h"
#include "Definition.h"
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
        size_t offset;
        long line, column;
    } cases[] = {
        {root->offset, 1, 1},
        {root->members[0].offset, 2, 3},
        {list.offset, 2, 14},
        {list.elements[0].offset, 2, 15},
        {list.elements[1].offset, 2, 18},
        {list.elements[2].offset, 3, 2},
        {list.elements[2].members[0].offset, 3, 3},
        {root->members[1].offset, 4, 14},
        {root->members[2].offset, 4, 34},
        {check::kNoOffset, 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(d.At(c.offset).line, c.line) << "offset " << c.offset;
        EXPECT_EQ(d.At(c.offset).column, c.column) << "offset " << c.offset;
    }
    EXPECT_EQ(root->members[1].value.text, "line\nbreak");
}

// Syntax json-glib may accept but the scanner does not follow leaves no tree,
// so positions fall back to 1:1 instead of pointing at the wrong place.
TEST(CheckDefinition, UnfollowedSyntaxGivesNoTree)
{
    const char* texts[] = {
        "{'a': 1}",     "{\"a\": 0x10}", "{\"a\": \"\\200\"}",   "{\"a\": /c/ 1}",
        "{\"a\": 017}", "{\"a\": .5}",   "{\"a\": \"\\ud800\"}", "var x = {\"a\": 1};",
    };
    for (const char* text : texts) {
        const check::Definition d(text);
        EXPECT_EQ(d.Root(), nullptr) << text;
        EXPECT_FALSE(d.Refusal()) << text;
    }
}

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
TEST(CheckSpelling, CloseNames)
{
    // clang-format off
    const struct {
        const char* a;
        const char* b;
        bool close;
    } cases[] = {
        {"contrast", "contarst", true},          {"submenuitem", "submenuitems", true},
        {"group_items", "group-items", true},    {"menuTree", "menutree", true},
        {"menuaddinfos", "menuaddinfo", true},   {"grp", "group", true},
        {"lists", "list", true},                 {"caf\xc3\xa9", "cafe", true},
        {"volume", "volume", false},             {"a", "b", false},
        {"ab", "cd", false},                     {"$schema", "menutree", false},
        {"display-name", "group", false},        {"\xc3\xa9", "e", false},
        {"menuaddinfo", "menumodifyinfo", false}, {"sound", "sound_mode", false},
        {"SubMenuItems", "submenuitems", true},  {"MENUTREE", "menutree", true},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(check::Close(c.a, c.b), c.close) << c.a << " / " << c.b;
        EXPECT_EQ(check::Close(c.b, c.a), c.close) << c.b << " / " << c.a;
    }
    EXPECT_EQ(check::EditsUpToTwo("abcdefgh", "abdcefhg"), 2);
    EXPECT_EQ(check::EditsUpToTwo("abcdefgh", "xbcdefgy"), 2);
    EXPECT_EQ(check::EditsUpToTwo("abcdefgh", "xbcdyfgz"), 3);
}

// Identifiers in messages: escaped where they would break the line or the
// quotes, and cut between characters, never inside one.
TEST(CheckMessages, IdentifiersShownWhole)
{
    const std::string a59(59, 'a');
    // clang-format off
    const struct {
        std::string id;
        std::string shown;
    } cases[] = {
        {"plain", "'plain'"},
        {"it's\\", "'it\\'s\\\\'"},
        {"tab\there\x1f\x7f", "'tab\\x09here\\x1f\\x7f'"},
        {"bad\xff", "'bad\\xff'"},
        {a59 + "\xc3\xa9", "'" + a59 + "...'"},
        {a59 + "b\xc3\xa9", "'" + a59 + "b...'"},
        {std::string(58, 'a') + "\xc3\xa9x", "'" + std::string(58, 'a') + "\xc3\xa9...'"},
        {std::string(60, 'a'), "'" + std::string(60, 'a') + "'"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(velkin::Show(c.id), c.shown) << c.id;
}

}  // namespace
