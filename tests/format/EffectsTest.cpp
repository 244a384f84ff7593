// The record of effects: what the splitter did with each part, one
// definition a row, the parts summed up as text (containers left out).
#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <string>

#include "../Rows.h"
#include "Effects.h"
#include "GObjectPtr.h"

using namespace velkin;

namespace {

const char* const kFates[] = {"W", "A", "R", "P", "O", "N"};
const char* const kWhys[] = {"",           "harmless",  "menu-deleted", "entry-deleted",
                             "follows",    "not-string", "wrong-form",  "not-read-here",
                             "dropped",    "too-many",  "repeated",     "names-nothing",
                             "removes-nothing", "undone", "target-deleted", "not-in-list",
                             "no-info",    "no-ids",    "no-members",   "def-not-object",
                             "only-added", "not-written", "no-value"};

std::string PathText(const Effects& effects, size_t i)
{
    std::string out;
    for (const Part* p : effects.PathOf(i))
        out += p->IsMember() ? std::string(out.empty() ? "" : ".") + p->key
                            : "[" + std::to_string(p->index) + "]";
    return out;
}

// "<path>=<fate>[:<why>][@<file>][<<path of by>]" for each part but the
// containers read, then "loop <menu>/<entry>" for each loop.
std::string Summary(const EffectiveMenu& model, const Effects& effects)
{
    std::string out;
    for (size_t i = 0; i < effects.parts.size(); ++i) {
        const Part& p = effects.parts[i];
        if (p.fate == Fate::Read)
            continue;
        out += PathText(effects, i) + "=" + kFates[static_cast<int>(p.fate)];
        out += p.why != Why::None ? std::string(":") + kWhys[static_cast<int>(p.why)] : "";
        out += !FileOf(model, p).empty() ? "@" + FileOf(model, p) : "";
        out += p.by != kNoPart ? "<" + PathText(effects, p.by) : "";
        out += " ";
    }
    for (const AddedLoop& loop : effects.loops)
        out += "loop " + model.menus[loop.menu].id + "/" +
               model.menus[loop.menu].entries[loop.entry].id + " ";
    return out;
}

struct Row : rows::Named {
    const char* definition;
    const char* summary;
};

class EffectsRecord : public testing::TestWithParam<Row> {};

// clang-format off
const Row kRows[] = {
    {"copied_node_written_whole_rebuilt_node_drops_other_members", R"({
        "menutree": {"a": {"submenuitems": ["x", 1], "layout": "l", "group": [{"k": 1}]},
                     "b": {"submenuitems": ["x", "d", 2], "layout": "l", "_note": "n",
                           "group": [{"indent-level": "1", "group-items": ["x", "d"], "k": 1}]}},
        "menudelete": {"submenuitems": ["d"]}})",
        "menudelete.submenuitems[0]=A@b.json menutree.a=W@a.json "
        "menutree.a.submenuitems=W@a.json menutree.a.submenuitems[0]=W@a.json "
        "menutree.a.submenuitems[1]=W@a.json menutree.a.layout=W@a.json "
        "menutree.a.group=W@a.json menutree.b=W@b.json menutree.b.submenuitems[0]=W@b.json "
        "menutree.b.submenuitems[1]=O:entry-deleted<menudelete.submenuitems[0] "
        "menutree.b.submenuitems[2]=P:not-string menutree.b.layout=P:dropped "
        "menutree.b._note=P:harmless menutree.b.group[0].indent-level=W@b.json "
        "menutree.b.group[0].group-items[0]=W@b.json "
        "menutree.b.group[0].group-items[1]=O:entry-deleted<menudelete.submenuitems[0] "
        "menutree.b.group[0].k=P:dropped "},
    {"each_definition_is_written_into_the_first_file_holding_it", R"({
        "menutree": {"m": {"submenuitems": ["z", "y"]}, "n": {"submenuitems": ["y", "b", "z"]}},
        "menuitems": {"z": {}, "unused": {}, "y": [], "b": 1, "a": {}}})",
        "menutree.m=W@m.json menutree.m.submenuitems=W@m.json "
        "menutree.m.submenuitems[0]=W@m.json menutree.m.submenuitems[1]=W@m.json "
        "menutree.n=W@n.json menutree.n.submenuitems=W@n.json "
        "menutree.n.submenuitems[0]=W@n.json menutree.n.submenuitems[1]=W@n.json "
        "menutree.n.submenuitems[2]=W@n.json menuitems.z=W@m.json "
        "menuitems.unused=P:not-written menuitems.y=W@m.json menuitems.b=W@n.json "
        "menuitems.a=P:not-written "},
    {"an_amendment_of_a_listed_item_without_definition_names_it", R"({
        "menutree": {"m": {"submenuitems": ["z", "q", "b", "k"]}},
        "menuitems": {"z": {}, "b": {}, "k": {}},
        "menumodify": {"submenuitems": ["q", "nowhere"]},
        "menumodifyinfo": {"q": {"x": 1}, "nowhere": {"x": 1}}})",
        "menumodify.submenuitems[0]=P:not-written menumodify.submenuitems[1]=P:names-nothing "
        "menutree.m=W@m.json menutree.m.submenuitems=W@m.json "
        "menutree.m.submenuitems[0]=W@m.json menutree.m.submenuitems[1]=W@m.json "
        "menutree.m.submenuitems[2]=W@m.json menutree.m.submenuitems[3]=W@m.json "
        "menuitems.z=W@m.json menuitems.b=W@m.json menuitems.k=W@m.json "
        "menumodifyinfo.q=P:follows<menumodify.submenuitems[0] "
        "menumodifyinfo.nowhere=P:follows<menumodify.submenuitems[1] "},
    {"a_deletion_removing_only_a_group_entry_of_a_rebuilt_node_takes_effect", R"({
        "menutree": {"m": {"submenuitems": ["a", "b"],
                           "group": [{"indent-level": "1", "group-items": ["a", "g"]}]}},
        "menudelete": {"submenuitems": ["b", "g"]}})",
        "menudelete.submenuitems[0]=A@m.json menudelete.submenuitems[1]=A@m.json "
        "menutree.m=W@m.json menutree.m.submenuitems[0]=W@m.json "
        "menutree.m.submenuitems[1]=O:entry-deleted<menudelete.submenuitems[0] "
        "menutree.m.group[0].indent-level=W@m.json menutree.m.group[0].group-items[0]=W@m.json "
        "menutree.m.group[0].group-items[1]=O:entry-deleted<menudelete.submenuitems[1] "},
    {"deletions_applied_repeated_removing_nothing_naming_nothing_undone", R"({
        "menutree": {"m": {"submenuitems": ["a"]}, "old": {"submenuitems": ["z"]}},
        "menuitems": {"def": {}},
        "menudelete": {"submenuitems": ["old", "old", "def", "none", "a", 3], "note": 1},
        "menuadd": {"submenuitems": ["m"]}, "menuaddinfo": {"m": {"list": ["a"]}}})",
        "menudelete.submenuitems[0]=A "
        "menudelete.submenuitems[1]=P:repeated<menudelete.submenuitems[0] "
        "menudelete.submenuitems[2]=P:removes-nothing "
        "menudelete.submenuitems[3]=P:names-nothing menudelete.submenuitems[4]=O:undone "
        "menudelete.submenuitems[5]=P:not-string menudelete.note=N:not-read-here "
        "menuadd.submenuitems[0]=A@m.json menutree.m=W@m.json "
        "menutree.m.submenuitems[0]=O:entry-deleted<menudelete.submenuitems[4] "
        "menutree.old=O:menu-deleted<menudelete.submenuitems[0] "
        "menuitems.def=O:entry-deleted<menudelete.submenuitems[2] "
        "menuaddinfo.m.list[0]=W@m.json "},
    {"additions_without_entry_with_an_empty_list_to_a_deleted_menu_and_loops", R"({
        "menutree": {"top": {"submenuitems": ["s"]}, "s": {}, "e": {}, "gone": {}},
        "menudelete": {"submenuitems": ["gone"]},
        "menuadd": {"submenuitems": ["s", "e", "gone", "t", "nothing"]},
        "menuaddinfo": {"s": {"list": ["top", "s"], "x": 1}, "e": {"list": []}, "t": {"list": ["q"]},
                        "gone": {"list": ["q"]}}})",
        "menudelete.submenuitems[0]=A menuadd.submenuitems[0]=A@s.json "
        "menuadd.submenuitems[1]=P:follows<menuaddinfo.e "
        "menuadd.submenuitems[2]=O:target-deleted<menudelete.submenuitems[0] "
        "menuadd.submenuitems[3]=P:names-nothing menuadd.submenuitems[4]=P:names-nothing "
        "menutree.top=W@top.json menutree.top.submenuitems=W@top.json "
        "menutree.top.submenuitems[0]=W@top.json menutree.s=W@s.json menutree.e=W@e.json "
        "menutree.gone=O:menu-deleted<menudelete.submenuitems[0] menuaddinfo.s.list[0]=W@s.json "
        "menuaddinfo.s.list[1]=W@s.json menuaddinfo.s.x=N:not-read-here menuaddinfo.e=P:no-ids "
        "menuaddinfo.t=P:follows<menuadd.submenuitems[3] "
        "menuaddinfo.gone=P:follows<menuadd.submenuitems[2] loop s/top loop s/s "},
    {"amendments_by_fate_and_info_not_in_the_list", R"({
        "menutree": {"m": {"submenuitems": ["ok", "bare", "str", "del"]}, "n": {}},
        "menuitems": {"ok": {}, "str": "s", "lone": {}, "add": {}},
        "menudelete": {"submenuitems": ["del"]},
        "menuadd": {"submenuitems": ["n"]}, "menuaddinfo": {"n": {"list": ["add"]}},
        "menumodify": {"submenuitems": ["ok", "bare", "str", "del", "lone", "add", "empty"]},
        "menumodifyinfo": {"ok": {"v": 1}, "str": {"v": 1}, "del": {"v": 1}, "lone": {"v": 1},
                           "add": {"v": 1}, "empty": {}, "other": {"v": 1}}})",
        "menudelete.submenuitems[0]=A@m.json menuadd.submenuitems[0]=A@n.json "
        "menumodify.submenuitems[0]=A@m.json menumodify.submenuitems[1]=P:no-info "
        "menumodify.submenuitems[2]=P:follows<menumodifyinfo.str "
        "menumodify.submenuitems[3]=O:target-deleted<menudelete.submenuitems[0] "
        "menumodify.submenuitems[4]=P:not-written menumodify.submenuitems[5]=P:only-added "
        "menumodify.submenuitems[6]=P:follows<menumodifyinfo.empty menutree.m=W@m.json "
        "menutree.m.submenuitems[0]=W@m.json menutree.m.submenuitems[1]=W@m.json "
        "menutree.m.submenuitems[2]=W@m.json "
        "menutree.m.submenuitems[3]=O:entry-deleted<menudelete.submenuitems[0] "
        "menutree.n=W@n.json menuitems.ok=W@m.json menuitems.str=W@m.json "
        "menuitems.lone=P:follows<menumodify.submenuitems[4] menuitems.add=W@n.json "
        "menuaddinfo.n.list[0]=W@n.json menumodifyinfo.ok=W@m.json "
        "menumodifyinfo.str=P:def-not-object<menuitems.str "
        "menumodifyinfo.del=P:follows<menumodify.submenuitems[3] "
        "menumodifyinfo.lone=P:follows<menumodify.submenuitems[4] "
        "menumodifyinfo.add=P:follows<menumodify.submenuitems[5] "
        "menumodifyinfo.empty=P:no-members menumodifyinfo.other=N:not-in-list "},
    {"amended_definitions_not_objects_first_and_last_of_menuitems", R"({
        "menutree": {"m": {"submenuitems": ["a", "z"]}},
        "menuitems": {"a": "s", "mid": {}, "z": 7},
        "menumodify": {"submenuitems": ["a", "z"]},
        "menumodifyinfo": {"a": {"v": 1}, "z": {"v": 1}}})",
        "menumodify.submenuitems[0]=P:follows<menumodifyinfo.a "
        "menumodify.submenuitems[1]=P:follows<menumodifyinfo.z menutree.m=W@m.json "
        "menutree.m.submenuitems=W@m.json menutree.m.submenuitems[0]=W@m.json "
        "menutree.m.submenuitems[1]=W@m.json menuitems.a=W@m.json menuitems.mid=P:not-written "
        "menuitems.z=W@m.json menumodifyinfo.a=P:def-not-object<menuitems.a "
        "menumodifyinfo.z=P:def-not-object<menuitems.z "},
    {"amendments_of_a_menu_and_of_a_listed_item_name_something", R"({
        "menutree": {"m": {"submenuitems": ["x"]}},
        "menumodify": {"submenuitems": ["m", "x", "nope"]},
        "menumodifyinfo": {"m": {"v": 1}, "x": {"v": 1}, "nope": {"v": 1}}})",
        "menumodify.submenuitems[0]=P:not-written menumodify.submenuitems[1]=P:not-written "
        "menumodify.submenuitems[2]=P:names-nothing menutree.m=W@m.json "
        "menutree.m.submenuitems=W@m.json menutree.m.submenuitems[0]=W@m.json "
        "menumodifyinfo.m=P:follows<menumodify.submenuitems[0] "
        "menumodifyinfo.x=P:follows<menumodify.submenuitems[1] "
        "menumodifyinfo.nope=P:follows<menumodify.submenuitems[2] "},
    {"root_members_wrong_forms_and_a_node_looked_up_elsewhere", R"({
        "$schema": "s", "_comment": "c", "extra": 1, "providers": null,
        "menutree": {"a.b": {"submenuitems": ["x", 2], "k": 1}, "c": 5},
        "menuitems": [], "menumodify": [], "menuadd": {"submenuitems": "s"}})",
        "menuadd.submenuitems=P:wrong-form menumodify=P:wrong-form menutree.a.b=W@a.b.json "
        "menutree.a.b.submenuitems[0]=W@a.b.json "
        "menutree.a.b.submenuitems[1]=P:follows<menutree.a.b "
        "menutree.a.b.k=P:follows<menutree.a.b menutree.c=P:wrong-form menuitems=P:wrong-form "
        "$schema=N:harmless _comment=N:harmless extra=N:not-read-here providers=P:no-value "},
};
// clang-format on

TEST_P(EffectsRecord, EachPartAsTheSplitterTreatsIt)
{
    GObjectPtr<JsonParser> parser(json_parser_new());
    ASSERT_TRUE(json_parser_load_from_data(parser.get(), GetParam().definition, -1, nullptr));
    JsonNode* root = json_parser_get_root(parser.get());
    const EffectiveMenu model = ComputeEffectiveMenu(root, "menu-tv.json");
    EXPECT_EQ(Summary(model, ComputeEffects(root, model)), GetParam().summary);
}

INSTANTIATE_TEST_SUITE_P(Rows, EffectsRecord, testing::ValuesIn(kRows), rows::NameOf());

// Lookups cut at their buffer find another value than the member named:
// the node of a menu whose lookup is cut writes none of its members, and the
// definition of an item whose lookup is cut is not what its entry holds.
TEST(EffectsRecordCut, LookupsCutAtTheirBufferAreNotTheMembers)
{
    const std::string menu(1025 - sizeof("$.menutree."), 'm');
    const std::string item(1025 - sizeof("$.menuitems."), 'i');
    const std::string definition = R"({"menutree": {")" + menu + R"(": {"submenuitems": [")" +
                                   item + R"("], "k": 1}, "a": {"k": 1}}, "menuitems": {")" +
                                   item + R"(": {}}})";
    GObjectPtr<JsonParser> parser(json_parser_new());
    ASSERT_TRUE(json_parser_load_from_data(parser.get(), definition.c_str(), -1, nullptr));
    JsonNode* root = json_parser_get_root(parser.get());
    const EffectiveMenu model = ComputeEffectiveMenu(root, "menu-tv.json");
    std::string summary = Summary(model, ComputeEffects(root, model));
    for (const std::string* id : {&menu, &item})
        for (size_t at = summary.find(*id); at != std::string::npos; at = summary.find(*id))
            summary.replace(at, id->size(), id == &menu ? "M" : "I");
    EXPECT_EQ(summary, "menutree.M=W@M.json menutree.M.submenuitems[0]=W@M.json "
                       "menutree.M.k=P:follows<menutree.M menutree.a=W@a.json menutree.a.k=W@a.json "
                       "menuitems.I=P:not-written ");
}

}  // namespace
