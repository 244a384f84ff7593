// Groups: the visual groups of a menu's entries, which the splitter draws from
// the node's "group" array.
#include <string>
#include <unordered_set>

#include "Decisions.h"
#include "Families.h"
#include "Facts.h"
#include "Identifiers.h"

namespace check {

using namespace velkin;

namespace {

// Group entries naming nothing the node itself lists.
void CheckGroupItems(const Context& c, const Menu& menu, const Located& node)
{
    const std::vector<std::string> listed =
        StringElements(c.places.Member(node, kSubmenuItems).node);
    const std::unordered_set<std::string> own(listed.begin(), listed.end());
    for (const Located& group : c.places.Elements(c.places.Member(node, kGroup)))
        for (const Located& e : c.places.Elements(c.places.Member(group, kGroupItems))) {
            const char* id = AsString(e.node);
            if (id != nullptr && own.count(id) == 0)
                c.found.Report(RuleId::GroupItemNotListed, e.Offset(),
                               "group entry " + Show(id) +
                                   " is not in the \"submenuitems\" of menu " + Show(menu.id));
        }
}

// More groups than the splitter reads: it then reads none.
void CheckGroupCount(const Context& c, const Menu& menu, const Located& node)
{
    const Located groups = c.places.Member(node, kGroup);
    JsonArray* array = AsArray(groups.node);
    if (array == nullptr || GroupsAreRead(json_array_get_length(array)))
        return;
    c.found.Report(RuleId::TooManyGroups, groups.lastKey,
                   "menu " + Show(menu.id) + " has " +
                       std::to_string(json_array_get_length(array)) +
                       " groups: the splitter reads at most " + std::to_string(kMaxGroups) +
                       " and so none of these" +
                       (menu.rebuilt ? ", and its rebuilt node has no \"group\""
                                     : ", and its node is copied with groups it never read"));
}

}  // namespace

void CheckGroups(const Context& c)
{
    for (const Menu& menu : c.menu.menus) {
        const Located node = c.places.Member(c.names.Tree(), menu.id);
        CheckGroupCount(c, menu, node);
        CheckGroupItems(c, menu, node);
    }
}

}  // namespace check
