// --diff, one row per kind of difference: each changes the base definition
// in one way and names what the comparison must report, nothing more.
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

struct Row {
    const char* name;
    const char* before;  // null: the base
    const char* after;
    const char* text;  // what DiffText reports; empty when equal
};

// clang-format off
const Row kRows[] = {
    {"EqualWhateverTheLayout", nullptr,
     R"({"menuitems": {"mode": {}, "mute": {}, "balance": {}, "volume": {"display-name": "Volume"},
                       "picture": {}, "sound": {"display-name": "Sound"}},
         "menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance", "mute"]},
                      "picture": {"group": [{"indent-level": "1", "group-items": ["mode"]}],
                                  "submenuitems": ["mode"]}}})",
     ""},
    {"AddedThroughMenuAddEqualsListed",
     R"({"menutree": {"main": {"submenuitems": ["a", "b"]}}, "menuitems": {"a": {}, "b": {}}})",
     R"({"menutree": {"main": {"submenuitems": ["b"]}}, "menuitems": {"a": {}, "b": {}},
         "menuadd": {"submenuitems": ["main"]}, "menuaddinfo": {"main": {"list": ["a", "b"]}}})",
     ""},
    {"MenuAdded", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance", "mute"]},
                      "picture": {"submenuitems": ["mode"], "group": [{"indent-level": "1", "group-items": ["mode"]}]},
                      "timer": {"submenuitems": ["mode"]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                       "balance": {}, "mute": {}, "mode": {}}})",
     "menu added     timer\n"},
    {"MenuRemoved", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance", "mute"]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                       "balance": {}, "mute": {}, "mode": {}}})",
     "menu removed   picture\n"},
    {"EntryAdded", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance", "mute", "eq"]},
                      "picture": {"submenuitems": ["mode"], "group": [{"indent-level": "1", "group-items": ["mode"]}]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                       "balance": {}, "mute": {}, "mode": {}, "eq": {}}})",
     "entry added    eq to sound at 4\n"},
    {"EntryRemovedByMenuDelete", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance", "mute"]},
                      "picture": {"submenuitems": ["mode"], "group": [{"indent-level": "1", "group-items": ["mode"]}]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                       "balance": {}, "mute": {}, "mode": {}},
         "menudelete": {"submenuitems": ["balance"]}})",
     "entry removed  balance from sound at 2\n"},
    {"EntryMovedToAnotherMenu", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance"]},
                      "picture": {"submenuitems": ["mode", "mute"], "group": [{"indent-level": "1", "group-items": ["mode"]}]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                       "balance": {}, "mute": {}, "mode": {}}})",
     "entry moved    mute from sound at 3 to picture at 2\n"},
    {"EntryMovedInItsMenu", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["balance", "volume", "mute"]},
                      "picture": {"submenuitems": ["mode"], "group": [{"indent-level": "1", "group-items": ["mode"]}]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                       "balance": {}, "mute": {}, "mode": {}}})",
     "entry moved    balance in sound from 2 to 1\n"},
    {"DefinitionChanged", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance", "mute"]},
                      "picture": {"submenuitems": ["mode"], "group": [{"indent-level": "1", "group-items": ["mode"]}]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Level"},
                       "balance": {}, "mute": {}, "mode": {}}})",
     "definition     volume in sound\n"
     "  - {\"display-name\":\"Volume\"}\n"
     "  + {\"display-name\":\"Level\"}\n"},
    {"DefinitionGoneToPlaceholder", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance", "mute"]},
                      "picture": {"submenuitems": ["mode"], "group": [{"indent-level": "1", "group-items": ["mode"]}]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                       "balance": {}, "mode": {}}})",
     "definition     mute in sound\n"
     "  - {}\n"
     "  + {\"display-name\":\"Json Syntax Error\",\"style\":\"title\"}\n"},
    {"GroupsChanged", nullptr,
     R"({"menutree": {"main": {"submenuitems": ["sound", "picture"]},
                      "sound": {"submenuitems": ["volume", "balance", "mute"]},
                      "picture": {"submenuitems": ["mode"], "group": [{"indent-level": "2", "group-items": ["mode"]}]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "picture": {}, "volume": {"display-name": "Volume"},
                       "balance": {}, "mute": {}, "mode": {}}})",
     "groups         picture\n"
     "  - 1: mode\n"
     "  + 2: mode\n"},
    {"ParentChangedByMenuOrder",
     R"({"menutree": {"a": {"submenuitems": ["c"]}, "b": {"submenuitems": ["c"]}, "c": {}},
         "menuitems": {"c": {}}})",
     R"({"menutree": {"b": {"submenuitems": ["c"]}, "a": {"submenuitems": ["c"]}, "c": {}},
         "menuitems": {"c": {}}})",
     "parent         c: a -> b\n"},
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
    const tree::MenuDiff diff =
        tree::CompareMenus(ModelOf(row.before ? row.before : kBase), ModelOf(row.after));
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
