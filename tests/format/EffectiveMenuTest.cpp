// What the model test cannot see in the files: where each entry came from,
// which entries open menus, which definition belongs to an entry, the top and
// the unreachable menus. One definition a row, the model summed up as text.
#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <string>

#include "../Rows.h"
#include "EffectiveMenu.h"
#include "GObjectPtr.h"

using namespace velkin;

namespace {

// One line per written menu: "<menu> <- <parent>: <entries> | <items>", an
// entry marked + when the merge put it there, > when it opens a menu, then
// #<index> of its definition among the items, or ? when its file holds none;
// an item as <id>@<source>, marked + when added, * for the placeholder, !
// when amended. Then the top, the unreachable and the deleted menus.
std::string Summary(const EffectiveMenu& model)
{
    std::string out;
    auto names = [&](const std::vector<size_t>& indexes) {
        std::string s;
        for (size_t i : indexes)
            s += " " + model.menus[i].id;
        return s;
    };
    for (const Menu& menu : model.menus) {
        out += menu.id + " <- " + menu.parent.value_or("-") + ":";
        for (const Entry& e : menu.entries)
            out += " " + e.id + (e.origin == Origin::Added ? "+" : "") + (e.opensMenu ? ">" : "") +
                   (e.item == kNoItem ? "?" : "#" + std::to_string(e.item));
        out += " |";
        for (const ItemEntry& i : menu.items)
            out += " " + i.id + "@" + std::to_string(i.source) +
                   (i.origin == Origin::Added ? "+" : "") + (i.placeholder ? "*" : "") +
                   (i.amended ? "!" : "");
        out += "\n";
    }
    std::string deleted;
    for (const std::string& id : model.deleted)
        deleted += " " + id;
    return out + "top:" + names(model.top) + "; unreachable:" + names(model.unreachable) +
           "; deleted:" + deleted;
}

// One definition a row, and its model summed up.
// clang-format off
struct Row : rows::Named {
    const char* definition;
    const char* summary;
};

const Row kRows[] = {
    {"added_entries_and_an_identifier_merged_twice", R"({
        "menutree": {"main": {"submenuitems": ["a", "b"]}, "sub": {}},
        "menuitems": {"a": {}, "n": {}},
        "menuadd": {"submenuitems": ["main"]},
        "menuaddinfo": {"main": {"list": ["b", "a", "n", "sub"]}}})",
        "main <- -: a#0 b#1 a+#0 n+#2 sub+>#3 | a@0 b@1* n@2+ sub@3+*\n"
        "sub <- -: |\n"
        "top: main sub; unreachable:; deleted:"},
    {"sources_count_every_element_and_the_first_definition_serves", R"({
        "menutree": {"main": {"submenuitems": [3, "a", {"x": "y"}, "a", "gone"]}},
        "menuitems": {"a": {"v": 1}},
        "menudelete": {"submenuitems": ["gone"]},
        "menumodify": {"submenuitems": ["a"]},
        "menumodifyinfo": {"a": {"w": 2}}})",
        "main <- -: a#0 a#0 | a@1! a@3!\n"
        "top: main; unreachable:; deleted:"},
    {"parents_tops_and_unreachable_menus", R"({
        "menutree": {"main": {"submenuitems": ["sub", "late", "old"]},
                     "old": {"submenuitems": ["orphan", "late"]},
                     "sub": {"submenuitems": ["deep"]}, "deep": {},
                     "late": {}, "orphan": {},
                     "x": {"submenuitems": ["y"]}, "y": {"submenuitems": ["x"]}},
        "menudelete": {"submenuitems": ["old"]}})",
        "main <- -: sub>#0 late>#1 | sub@0* late@1*\n"
        "sub <- main: deep>#0 | deep@0*\n"
        "deep <- sub: |\n"
        "late <- main: |\n"
        "orphan <- old: |\n"
        "x <- y: y>#0 | y@0*\n"
        "y <- x: x>#0 | x@0*\n"
        "top: main; unreachable: orphan x y; deleted: old"},
    {"a_deleted_parent_listed_again_later_still_reaches", R"({
        "menutree": {"old": {"submenuitems": ["kid"]}, "main": {"submenuitems": ["kid"]},
                     "kid": {}},
        "menudelete": {"submenuitems": ["old"]}})",
        "main <- -: kid>#0 | kid@0*\n"
        "kid <- old: |\n"
        "top: main; unreachable:; deleted: old"},
    {"a_dotted_menu_copies_another_node", R"({
        "menutree": {"m": {"n": {"submenuitems": ["other"]}}, "m.n": {"submenuitems": ["ok"]}},
        "menuitems": {"ok": {}}})",
        "m <- -: |\n"
        "m.n <- -: other? | ok@0\n"
        "top: m m.n; unreachable:; deleted:"},
    {"amendments_only_for_listed_object_definitions", R"({
        "menutree": {"main": {"submenuitems": ["obj", "text", "none"]}},
        "menuitems": {"obj": {"a": 1}, "text": "t", "add": {"b": 2}},
        "menumodify": {"submenuitems": ["obj", "text", "none", "add"]},
        "menumodifyinfo": {"obj": {"x": 1}, "text": {"x": 2}, "none": {"x": 3}, "add": {"x": 4}},
        "menuadd": {"submenuitems": ["main"]},
        "menuaddinfo": {"main": {"list": ["add"]}}})",
        "main <- -: add+#3 obj#0 text#1 none#2 | obj@0! text@1 none@2* add@0+\n"
        "top: main; unreachable:; deleted:"},
};
// clang-format on

class EffectiveMenuRows : public testing::TestWithParam<Row> {};

TEST_P(EffectiveMenuRows, SumsUp)
{
    GObjectPtr<JsonParser> parser(json_parser_new());
    ASSERT_TRUE(json_parser_load_from_data(parser.get(), GetParam().definition, -1, nullptr));
    EXPECT_EQ(Summary(ComputeEffectiveMenu(json_parser_get_root(parser.get()), "menu-tv.json")),
              GetParam().summary);
}

INSTANTIATE_TEST_SUITE_P(Rows, EffectiveMenuRows, testing::ValuesIn(kRows), rows::NameOf());

// What the model says a menu lists is what a reader of its written node finds,
// whatever the node's strings needed in the file: escapes, U+001F, and the
// bytes of an octal escape (which json-glib 1.6 reads and the file holds as
// \u0080; json-glib 1.10 refuses the definition).
struct Written : rows::Named {
    const char* definition;
};

const Written kWritten[] = {
    {"escapes_and_control_characters",
     R"({"menutree": {"m": {"submenuitems": ["q\"t", "b\\s", "\u001f", "\u00e9"]}}})"},
    {"bytes_of_an_octal_escape",
     R"({"menutree": {"m": {"submenuitems": ["a\200", "b"], "group": [{"group-items": ["\200"]}]}}})"},
};

class EffectiveMenuWritten : public testing::TestWithParam<Written> {};

TEST_P(EffectiveMenuWritten, EntriesAreWhatTheWrittenNodeHolds)
{
    GObjectPtr<JsonParser> parser(json_parser_new());
    if (!json_parser_load_from_data(parser.get(), GetParam().definition, -1, nullptr))
        GTEST_SKIP() << "this json-glib refuses the definition";
    for (const Menu& menu : ComputeEffectiveMenu(json_parser_get_root(parser.get()), "m").menus) {
        const std::string written = menu.node + "}";
        GObjectPtr<JsonParser> reader(json_parser_new());
        ASSERT_TRUE(json_parser_load_from_data(reader.get(), written.data(), -1, nullptr))
            << written;
        const NodeView read = ReadWrittenNode(json_parser_get_root(reader.get()));
        std::vector<std::string> listed;
        for (const Entry& entry : menu.entries)
            listed.push_back(entry.id);
        EXPECT_EQ(listed, read.entries) << written;
        ASSERT_EQ(menu.groups.size(), read.groups.size()) << written;
        for (size_t g = 0; g < read.groups.size(); ++g)
            EXPECT_EQ(menu.groups[g].items, read.groups[g].items) << written;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, EffectiveMenuWritten, testing::ValuesIn(kWritten), rows::NameOf());

}  // namespace
