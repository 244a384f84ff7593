// The text drawing, one row per feature: names, marks, sub-menus expanded
// once, menus no top menu reaches, odd identifiers, colour.
#include <gtest/gtest.h>

#include <string>

#include "TextView.h"
#include "TreeTestSupport.h"

namespace {

struct Row {
    const char* name;
    const char* definition;
    const char* text;
    bool color = false;
};

// clang-format off
const Row kRows[] = {
    {"NamesAndSubMenus",
     R"({"menutree": {"main": {"submenuitems": ["sound", "about"]}, "sound": {"submenuitems": ["volume"]}},
         "menuitems": {"sound": {"display-name": "Sound"}, "volume": {"display-name": "Volume"}, "about": {}}})",
     "main\n"
     "├── sound \"Sound\"\n"
     "│   └── volume \"Volume\"\n"
     "└── about\n"},
    {"MarksAddedAmendedPlaceholder",
     R"({"menutree": {"main": {"submenuitems": ["a", "b"]}},
         "menuitems": {"a": {"display-name": "A"}, "c": {"display-name": "C"}},
         "menuadd": {"submenuitems": ["main"]}, "menuaddinfo": {"main": {"list": ["c"]}},
         "menumodify": {"submenuitems": ["a"]}, "menumodifyinfo": {"a": {"display-name": "A2"}}})",
     "main\n"
     "├── + c \"C\"\n"
     "├── ~ a \"A2\"\n"
     "└── ! b \"Json Syntax Error\"\n"
     "\n"
     "+ added   ~ amended   ! no definition (placeholder)\n"},
    {"SharedSubMenuExpandedOnceThenReferred",
     R"({"menutree": {"main": {"submenuitems": ["x", "y"]}, "x": {"submenuitems": ["z"]},
                      "y": {"submenuitems": ["z"]}, "z": {"submenuitems": ["leaf"]}},
         "menuitems": {"x": {}, "y": {}, "z": {}, "leaf": {}}})",
     "main\n"
     "├── x\n"
     "│   └── z\n"
     "│       └── leaf\n"
     "└── y\n"
     "    └── z (see above)\n"},
    {"UnreachableMenusListedApart",
     R"({"menutree": {"main": {"submenuitems": ["a"]}, "loop1": {"submenuitems": ["loop2"]},
                      "loop2": {"submenuitems": ["loop1"]}},
         "menuitems": {"a": {}, "loop1": {}, "loop2": {}}})",
     "main\n"
     "└── a\n"
     "\n"
     "not reached from a top menu:\n"
     "loop1\n"
     "└── loop2\n"
     "    └── loop1 (see above)\n"},
    {"TopMenuReachedFromAnotherIsReferred",
     R"({"menutree": {"main": {"submenuitems": ["a"]}, "extra": {"submenuitems": ["b"]}},
         "menuitems": {"a": {}, "b": {}, "extra": {}},
         "menuadd": {"submenuitems": ["main"]}, "menuaddinfo": {"main": {"list": ["extra"]}}})",
     "main\n"
     "├── + extra\n"
     "│   └── b\n"
     "└── a\n"
     "\n"
     "extra (see above)\n"
     "\n"
     "+ added   ~ amended   ! no definition (placeholder)\n"},
    {"ControlCharactersShownEscaped",
     R"({"menutree": {"main": {"submenuitems": ["tab\tid"]}},
         "menuitems": {"tab\tid": {"display-name": "two\nlines\u0001"}}})",
     "main\n"
     "└── tab\\x09id \"two\\x0alines\\x01\"\n"},
    {"DisplayNameOnlyFromAnObjectsString",
     R"({"menutree": {"main": {"submenuitems": ["n", "s", "o"]}},
         "menuitems": {"n": {"display-name": 5}, "s": "display-name", "o": {"x": {"display-name": "deep"}}}})",
     "main\n"
     "├── n\n"
     "├── s\n"
     "└── o\n"},
    {"NoMenu", R"({"menuitems": {}})", "(no menu)\n"},
    {"ColourOnATerminal",
     R"({"menutree": {"main": {"submenuitems": ["a", "gone"]}, "a": {}}, "menuitems": {"a": {}}})",
     "\033[1mmain\033[0m\n"
     "├── \033[1ma\033[0m\n"
     "└── \033[31m!\033[0m gone \"Json Syntax Error\"\n"
     "\n"
     "+ added   ~ amended   ! no definition (placeholder)\n",
     true},
};
// clang-format on

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

class TextView : public testing::TestWithParam<Row> {};

TEST_P(TextView, Draws)
{
    const Row& row = GetParam();
    EXPECT_EQ(tree::RenderText(ModelOf(row.definition), row.color), row.text);
}

INSTANTIATE_TEST_SUITE_P(Rows, TextView, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

// A chain of sub-menus far deeper than the indentation drawn: every level is
// there, none is indented past the bound, so the text grows linearly.
TEST(TextViewDepth, DeepChainStopsIndentingAtTheBound)
{
    const int depth = 3000;
    std::string tree = "{\"menutree\": {";
    for (int i = 0; i < depth; ++i)
        tree += (i ? "," : "") + std::string("\"m") + std::to_string(i) +
                "\": {\"submenuitems\": [\"m" + std::to_string(i + 1) + "\"]}";
    const std::string text = tree::RenderText(ModelOf(tree + "}, \"menuitems\": {}}"), false);
    const std::string deepest = "── ! m" + std::to_string(depth) +
                                " \"Json Syntax Error\" (level " + std::to_string(depth) + ")\n";
    EXPECT_NE(text.find(deepest), std::string::npos);
    size_t longest = 0;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        longest = std::max(longest, end - start);
    EXPECT_LE(longest, (tree::kMaxIndent + 1) * std::string("│   ").size() + 60);
}

}  // namespace
