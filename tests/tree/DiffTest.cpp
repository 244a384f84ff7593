// --diff, one row per kind of difference: each changes the base definition
// in one way (one text replaced by another) and names what the comparison
// must report, nothing more.
#include <gtest/gtest.h>

#include <string>

#include "DiffReport.h"
#include "TreeTestSupport.h"

namespace {

const char kBase[] = R"({"menutree": {
    "main": {"submenuitems": ["sound", "picture"]},
    "sound": {"submenuitems": ["volume", "balance", "mute"]},
    "picture": {"submenuitems": ["mode"], "group": [{"indent-level": "1", "group-items": ["mode"]}]}},
  "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                "balance": {}, "mute": {}, "mode": {}}})";

struct Edit {
    const char* from;  // replaced in the base by `to` for the new definition
    const char* to;
};

struct Row {
    const char* name;
    const char* text;  // what DiffText reports; empty when equal
    Edit edits[2];
};

// clang-format off
const Row kRows[] = {
    {"EqualWhateverTheLayout", "",
     {{R"("picture": {"submenuitems": ["mode"], "group")", "\n \"picture\" :{ \"submenuitems\":[\"mode\"],\"group\""}}},
    {"MenuAdded", "menu added     timer\n",
     {{R"(["mode"]}]})", R"(["mode"]}]}, "timer": {"submenuitems": ["mode"]})"}}},
    {"MenuRemoved", "menu removed   picture\nmenu added     x\n",
     {{R"("picture": {"submenuitems": ["mode"], "group")", R"("x": {"group")"}}},
    {"EntryAdded", "entry added    eq to sound at 4\n", {{R"("mute"]})", R"("mute", "eq"]})"}}},
    {"EntryRemovedByMenuDelete", "entry removed  balance from sound at 2\n",
     {{R"("menuitems")", R"("menudelete": {"submenuitems": ["balance"]}, "menuitems")"}}},
    {"EntryMovedToAnotherMenu", "entry moved    mute from sound at 3 to picture at 2\n",
     {{R"(, "mute"])", "]"}, {R"(["mode"], "group")", R"(["mode", "mute"], "group")"}}},
    {"EntryMovedInItsMenu", "entry moved    balance in sound from 2 to 1\n",
     {{R"("volume", "balance")", R"("balance", "volume")"}}},
    {"DefinitionChanged",
     "definition     volume in sound\n"
     "  - {\"display-name\":\"Volume\"}\n"
     "  + {\"display-name\":\"Level\"}\n",
     {{R"("Volume")", R"("Level")"}}},
    {"DefinitionGoneToPlaceholder",
     "definition     mute in sound\n"
     "  - {}\n"
     "  + {\"display-name\":\"Json Syntax Error\",\"style\":\"title\"}\n",
     {{R"("mute": {}, )", ""}}},
    {"GroupsChanged", "groups         picture\n  - 1: mode\n  + 2: mode\n",
     {{R"("indent-level": "1")", R"("indent-level": "2")"}}},
    {"AddedThroughMenuAddEqualsListed", "",
     {{R"("balance", "mute")", R"("mute")"},
      {R"("menuitems")", R"("menuadd": {"submenuitems": ["sound"]},
                            "menuaddinfo": {"sound": {"list": ["volume", "balance"]}}, "menuitems")"}}},
    {"ParentChangedByMenuOrder", "menu added     other\nparent         picture: main -> other\n",
     {{R"("main": {)", R"("other": {"submenuitems": ["picture"]}, "main": {)"}}},
};
// clang-format on

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

class Diff : public testing::TestWithParam<Row> {};

TEST_P(Diff, ReportsEachKind)
{
    const Row& row = GetParam();
    std::string after = kBase;
    for (const Edit& edit : row.edits) {
        if (edit.from == nullptr)
            continue;
        const size_t at = after.find(edit.from);
        ASSERT_NE(at, std::string::npos) << edit.from;
        after.replace(at, std::string(edit.from).size(), edit.to);
    }
    const tree::MenuDiff diff = tree::CompareMenus(ModelOf(kBase), ModelOf(after));
    EXPECT_EQ(tree::DiffText(diff, false), row.text);
    EXPECT_EQ(diff.Equal(), *row.text == '\0');
}

INSTANTIATE_TEST_SUITE_P(Rows, Diff, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

// Repeated identifiers pair in order, each occurrence with one of its own:
// the second "a" removed is reported at its own position; removing the "b"
// between two "a" moves neither.
TEST(DiffOccurrences, NthOccurrenceMatchesNth)
{
    auto menu = [](const std::string& list) {
        return ModelOf("{\"menutree\": {\"m\": {\"submenuitems\": " + list +
                       "}}, \"menuitems\": {}}");
    };
    const auto aba = menu(R"(["a", "b", "a"])");
    EXPECT_EQ(tree::DiffText(tree::CompareMenus(aba, menu(R"(["a", "b"])")), false),
              "entry removed  a from m at 3\n");
    EXPECT_EQ(tree::DiffText(tree::CompareMenus(aba, menu(R"(["a", "a"])")), false),
              "entry removed  b from m at 2\n");
}

}  // namespace
