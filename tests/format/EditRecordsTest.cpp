// The records of what the edits did (deleted menus and entries, deletions an
// addition undoes, the fate of each amendment) and the rendered menu file:
// one definition a row, the records summed up as text.
#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <string>

#include "EffectiveMenu.h"
#include "GObjectPtr.h"
#include "MenuFile.h"

using namespace velkin;

namespace {

const char* const kFates[] = {"applied", "no-amendment", "deleted",
                              "only-added", "not-object", "not-written"};

// "menu <id>@<edit>(<entries>)", "entry <menu>/<id>@<edit>",
// "undone <menu>/<id>@<edit>", "amend <item>@<edit>(<members>)=<fate>".
std::string Records(const EffectiveMenu& model)
{
    std::string out;
    for (const DeletedMenu& m : model.deletedMenus) {
        out += "menu " + m.id + "@" + std::to_string(m.edit) + "(";
        for (const std::string& e : m.entries)
            out += e + (&e == &m.entries.back() ? "" : " ");
        out += ") ";
    }
    for (const DeletedEntry& e : model.deletedEntries)
        out += "entry " + e.menu + "/" + e.id + "@" + std::to_string(e.edit) + " ";
    for (const DeletedEntry& e : model.undone)
        out += "undone " + e.menu + "/" + e.id + "@" + std::to_string(e.edit) + " ";
    for (const Amendment& a : model.amendments) {
        out += "amend " + a.item + "@" + std::to_string(a.edit) + "(";
        for (const std::string& m : a.members)
            out += m + (&m == &a.members.back() ? "" : " ");
        out += ")=" + std::string(kFates[static_cast<int>(a.fate)]) + " ";
    }
    return out;
}

struct Row {
    const char* name;
    const char* definition;
    const char* records;
};

class EditRecords : public testing::TestWithParam<Row> {};

// clang-format off
const Row kRows[] = {
    {"deleted_menu_takes_its_entries_and_edit_index_counts_strings", R"({
        "menutree": {"main": {"submenuitems": ["a", "old"]}, "old": {"submenuitems": ["x", 1, "y"]}},
        "menudelete": {"submenuitems": [7, "nothing", "old", "old"]}})",
        "menu old@1(x y) entry main/old@1 "},
    {"deleted_entries_per_menu_with_the_first_edit_naming_them", R"({
        "menutree": {"main": {"submenuitems": ["a", "b"]}, "sub": {"submenuitems": ["b", "c"]}},
        "menudelete": {"submenuitems": ["c", "b", "c"]}})",
        "entry main/b@1 entry sub/b@1 entry sub/c@0 "},
    {"an_addition_naming_a_deleted_item_undoes_its_deletion", R"({
        "menutree": {"main": {"submenuitems": ["a", "b"]}},
        "menudelete": {"submenuitems": ["b"]},
        "menuadd": {"submenuitems": ["main"]},
        "menuaddinfo": {"main": {"list": ["b", "new"]}}})",
        "entry main/b@0 undone main/b@0 "},
    {"amendment_fates", R"({
        "menutree": {"main": {"submenuitems": ["ok", "gone", "text", "bare"]}},
        "menuitems": {"ok": {}, "gone": {}, "text": "t", "bare": {}, "add": {}},
        "menudelete": {"submenuitems": ["gone"]},
        "menuadd": {"submenuitems": ["main"]},
        "menuaddinfo": {"main": {"list": ["add"]}},
        "menumodify": {"submenuitems": ["ok", "gone", "text", "bare", "add", "ghost", "ok"]},
        "menumodifyinfo": {"ok": {"x": 1, "y": 2}, "gone": {"x": 1}, "text": {"x": 1},
                           "bare": {}, "add": {"x": 1}, "ghost": {"x": 1}}})",
        "entry main/gone@0 amend ok@0(x y)=applied amend gone@1(x)=deleted "
        "amend text@2(x)=not-object amend bare@3()=no-amendment amend add@4(x)=only-added "
        "amend ghost@5(x)=not-written "},
};
// clang-format on

TEST_P(EditRecords, Summed)
{
    GObjectPtr<JsonParser> parser(json_parser_new());
    ASSERT_TRUE(json_parser_load_from_data(parser.get(), GetParam().definition, -1, nullptr));
    EXPECT_EQ(Records(ComputeEffectiveMenu(json_parser_get_root(parser.get()), "menu-tv.json")),
              GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(Rows, EditRecords, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

// The rendered file of a menu with a parent, an added item and a placeholder,
// and the file name bound.
TEST(MenuFile, TextAndNameBound)
{
    GObjectPtr<JsonParser> parser(json_parser_new());
    ASSERT_TRUE(json_parser_load_from_data(parser.get(), R"({
        "menutree": {"main": {"submenuitems": ["sub"]}, "sub": {"submenuitems": ["a"]}},
        "menuitems": {"sub": {"s": 1}, "a": {"v": 2}}})", -1, nullptr));
    const EffectiveMenu model =
        ComputeEffectiveMenu(json_parser_get_root(parser.get()), "menu-tv.json");
    ASSERT_EQ(model.menus.size(), 2u);
    EXPECT_EQ(MenuFileText(model.menus[1]),
              "{\"menuitems\": {\"a\":{\"v\":2}},\"menutree\": {\"sub\":{\"submenuitems\":[\"a\"],"
              "\"parentitem\":\"main\"}}}");
    EXPECT_TRUE(MenuFileNameFits(std::string(250, 'm')));
    EXPECT_FALSE(MenuFileNameFits(std::string(251, 'm')));
}

}  // namespace
