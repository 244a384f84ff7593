// Parents and loops: the "parentitem" link the splitter writes into a menu's
// file, taken from the first menu listing it in the definition as written.
#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>

#include "Families.h"
#include "Identifiers.h"

namespace check {

using namespace velkin;

namespace {

// A written menu listed by more than one menu, and one whose parent is deleted.
void CheckListings(const Context& c, const Menu& menu)
{
    const Listings listings = c.names.ListingsOf(menu.id);
    if (listings.empty())
        return;
    const std::string& parent = listings.front().menu;
    std::set<std::string> others;
    for (size_t i = 1; i < listings.size(); ++i) {
        const Listing& l = listings[i];
        if (l.menu != parent && others.insert(l.menu).second)
            c.found.Report(RuleId::MultipleParents, l.offset,
                           "menu " + Show(menu.id) + " is also listed by menu " + Show(l.menu) +
                               "; its parent is " + Show(parent) +
                               ", the first in \"menutree\" order");
    }
    if (c.names.Deleted(parent))
        c.found.Report(RuleId::ParentDeleted, c.places.Member(c.names.Tree(), menu.id).key,
                       "the parent of menu " + Show(menu.id) + ", " + Show(parent) +
                           ", is deleted by \"menudelete\" but still named as its parent");
}

// A loop of parent links, shown from its menu that comes first in "menutree".
void ReportLoop(const Context& c, std::vector<size_t> loop)
{
    std::rotate(loop.begin(), std::min_element(loop.begin(), loop.end()), loop.end());
    std::string text;
    for (size_t i : loop)
        text += Show(c.menu.menus[i].id) + " -> ";
    const std::string& first = c.menu.menus[loop.front()].id;
    text += Show(first);
    c.found.Report(
        RuleId::ParentCycle, c.places.Member(c.names.Tree(), first).key,
        "parent links form a loop: " + text + " (each named as the parent of the one before)");
}

// Loops among the parent links of written menus, each reported once. The
// written menus keep "menutree" order, so an index orders them too.
void CheckLoops(const Context& c)
{
    const std::vector<Menu>& menus = c.menu.menus;
    std::unordered_map<std::string_view, size_t> index;
    for (size_t i = 0; i < menus.size(); ++i)
        index.emplace(menus[i].id, i);
    enum class Mark { None, Active, Done };
    std::vector<Mark> mark(menus.size(), Mark::None);
    for (size_t start = 0; start < menus.size(); ++start) {
        std::vector<size_t> path;
        for (size_t at = start; mark[at] == Mark::None;) {
            mark[at] = Mark::Active;
            path.push_back(at);
            const auto& parent = menus[at].parent;
            auto next = parent ? index.find(*parent) : index.end();
            if (next == index.end())
                break;
            at = next->second;
            if (mark[at] == Mark::Active)
                ReportLoop(
                    c, std::vector<size_t>(std::find(path.begin(), path.end(), at), path.end()));
        }
        for (size_t i : path)
            mark[i] = Mark::Done;
    }
}

}  // namespace

void CheckParents(const Context& c)
{
    for (const Menu& menu : c.menu.menus)
        CheckListings(c, menu);
    CheckLoops(c);
}

}  // namespace check
