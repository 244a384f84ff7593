#include "Deletions.h"

#include <unordered_map>

namespace tree {

namespace {

// The index of the entry just after the `kept`-th listed entry of `menu`
// (0 when `kept` is 0): a rebuilt menu's listed entries are its kept
// "submenuitems" strings in order, with the additions merged between them.
size_t AfterListed(const velkin::Menu& menu, size_t kept)
{
    size_t listed = 0;
    for (size_t e = 0; e < menu.entries.size() && listed < kept; ++e)
        if (menu.entries[e].origin == velkin::Origin::Listed && ++listed == kept)
            return e + 1;
    return kept == 0 ? 0 : menu.entries.size();
}

}  // namespace

std::vector<std::vector<DeletedPlace>> DeletedPlaces(const velkin::EffectiveMenu& model)
{
    std::vector<std::vector<DeletedPlace>> places(model.menus.size());
    std::unordered_map<std::string_view, size_t> index;
    for (size_t m = 0; m < model.menus.size(); ++m)
        index.emplace(model.menus[m].id, m);
    for (size_t k = 0; k < model.deletedEntries.size(); ++k) {
        const velkin::DeletedEntry& record = model.deletedEntries[k];
        auto menu = index.find(record.menu);
        if (menu == index.end())
            continue;
        places[menu->second].push_back(
            DeletedPlace{k, AfterListed(model.menus[menu->second], record.keptBefore)});
    }
    return places;
}

std::vector<Row> RowsOf(const velkin::Menu& menu, const std::vector<DeletedPlace>& places)
{
    std::vector<Row> rows;
    rows.reserve(menu.entries.size() + places.size());
    size_t next = 0;
    for (size_t e = 0; e <= menu.entries.size(); ++e) {
        for (; next < places.size() && places[next].after == e; ++next)
            rows.push_back(Row{true, places[next].record});
        if (e < menu.entries.size())
            rows.push_back(Row{false, e});
    }
    return rows;
}

std::string EditNote(size_t edit)
{
    return "menudelete #" + std::to_string(edit + 1);
}

}  // namespace tree
