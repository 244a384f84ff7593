// Where a deleted entry is drawn: after the listed entry it followed in its
// menu's "submenuitems", whatever an addition merged in around it.
#include <gtest/gtest.h>

#include <string>

#include "../Rows.h"
#include "Deletions.h"
#include "Source.h"

namespace {

struct Placement : rows::Named {
    const char* listed;   // the menu's "submenuitems", as JSON
    const char* deleted;  // "menudelete"'s identifiers, as JSON
    const char* added;    // the menu's add list, as JSON
    const char* drawn;    // its rows: "-x" deleted, "+x" added
};

// The rows of menu "m" of the definition, one word each.
std::string Drawn(const Placement& row)
{
    const std::string text = std::string("{\"menutree\": {\"m\": {\"submenuitems\": ") + row.listed +
                             "}}, \"menudelete\": {\"submenuitems\": " + row.deleted +
                             "}, \"menuadd\": {\"submenuitems\": [\"m\"]}, \"menuaddinfo\": "
                             "{\"m\": {\"list\": " + row.added + "}}}";
    velkin::EffectiveMenu model;
    std::string error;
    if (!tree::LoadDefinition(text, "menu-tv.json", model, error) || model.menus.size() != 1)
        return "not loaded: " + error;
    std::string out;
    const velkin::Menu& menu = model.menus[0];
    for (const tree::Row& r : tree::RowsOf(menu, tree::DeletedPlaces(model)[0])) {
        const velkin::Entry* entry = r.deleted ? nullptr : &menu.entries[r.index];
        out += out.empty() ? "" : " ";
        out += entry == nullptr ? "-" + model.deletedEntries[r.index].id
                                : (entry->origin == velkin::Origin::Added ? "+" : "") + entry->id;
    }
    return out;
}

class Placements : public testing::TestWithParam<Placement> {};

TEST_P(Placements, DeletedEntryStandsAfterTheListedEntryItFollowed)
{
    EXPECT_EQ(Drawn(GetParam()), GetParam().drawn);
}

const Placement kPlacements[] = {
    {{"first"}, R"(["x", "a", "b"])", R"(["x"])", "[]", "-x a b"},
    {{"last"}, R"(["a", "b", "x"])", R"(["x"])", "[]", "a b -x"},
    {{"two in a row"}, R"(["a", "x", "y", "b"])", R"(["y", "x"])", "[]", "a -x -y b"},
    {{"all"}, R"(["x", "y"])", R"(["x", "y"])", "[]", "-x -y"},
    {{"not strings skipped"}, R"(["a", 1, "x", null, "b"])", R"(["x"])", "[]", "a -x b"},
    {{"repeated"}, R"(["a", "x", "a", "x"])", R"(["x"])", "[]", "a -x a -x"},
    {{"before an addition"}, R"(["a", "x", "b"])", R"(["x"])", R"(["a", "c"])", "a -x +c b"},
    {{"added back"}, R"(["a", "x", "b"])", R"(["x"])", R"(["x"])", "+x a -x b"},
};
INSTANTIATE_TEST_SUITE_P(Deletions, Placements, testing::ValuesIn(kPlacements), rows::NameOf());

}  // namespace
