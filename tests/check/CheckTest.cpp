// The checker's parts that the golden cases cannot pin down one by one: the
// positions the scanner gives (or refuses to give).
#include <gtest/gtest.h>

#include <string>

#include "Definition.h"
#include "Check.h"

namespace {

struct Where {
    long line;
    long column;
};

Where At(const check::Definition& d, size_t offset)
{
    const check::Position p = d.At(offset);
    return Where{p.line, p.column};
}

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
        Where want;
    } cases[] = {
        {root->offset, {1, 1}},
        {root->members[0].offset, {2, 3}},
        {list.offset, {2, 14}},
        {list.elements[0].offset, {2, 15}},
        {list.elements[1].offset, {2, 18}},
        {list.elements[2].offset, {3, 2}},
        {list.elements[2].members[0].offset, {3, 3}},
        {root->members[1].offset, {4, 14}},
        {root->members[2].offset, {4, 34}},
        {check::kNoOffset, {1, 1}},
    };
    for (const auto& c : cases) {
        const Where got = At(d, c.offset);
        EXPECT_EQ(got.line, c.want.line) << "offset " << c.offset;
        EXPECT_EQ(got.column, c.want.column) << "offset " << c.offset;
    }
    EXPECT_EQ(root->members[1].value.text, "line\nbreak");
}

// Syntax json-glib accepts but the scanner does not follow leaves no tree, so
// positions fall back to 1:1 instead of pointing at the wrong place.
TEST(CheckDefinition, UnfollowedSyntaxGivesNoTree)
{
    const char* texts[] = {
        "{'a': 1}", "{\"a\": 0x10}x", "{\"a\": \"\\200\"}", "{\"a\": // c\n1}",
        "{\"a\": 1,}", "[1 2]", "{\"a\": tru}", "{\"a\": \"\\ud800\"}", "/* open", "",
    };
    for (const char* text : texts)
        EXPECT_EQ(check::Definition(text).Root(), nullptr) << text;
    // A NUL byte ends the text as it ends json-glib's input.
    const std::string withNul("{\"a\": 1}\0garbage", 16);
    EXPECT_NE(check::Definition(withNul).Root(), nullptr);
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

TEST(CheckRules, EveryRuleHasDistinctIdAndHelp)
{
    const auto& rules = check::Rules();
    for (size_t i = 0; i < rules.size(); ++i) {
        EXPECT_EQ(static_cast<size_t>(rules[i].id), i);
        EXPECT_STRNE(rules[i].help, "");
        for (size_t j = 0; j < i; ++j)
            EXPECT_STRNE(rules[i].name, rules[j].name);
    }
}

}  // namespace
