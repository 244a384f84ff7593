// Groups: the visual groups of a menu's entries, which the splitter draws from
// the node's "group" array.
#include <string>
#include <unordered_set>

#include "Decisions.h"
#include "Families.h"
#include "Facts.h"
#include "Fragments.h"
#include "Identifiers.h"

namespace check {

using namespace velkin;

namespace {

// Group entries naming nothing the node itself lists.
void CheckGroupItems(const Context& c, const Menu& menu, const Located& node)
{
    const std::vector<std::string> listed =
        StringElements(c.places.Member(node, kSubmenuItems).node);
    // The written node lists what the merge of an addition puts in it, too.
    std::unordered_set<std::string> own(listed.begin(), listed.end());
    for (const Entry& entry : menu.entries)
        own.insert(entry.id);
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

// The groups a rebuilt node would hold if each defined group were kept: its
// level when it is one, and its items but the deleted ones.
std::vector<Group> DefinedGroups(const Context& c, const Located& node)
{
    std::vector<Group> defined;
    for (const Located& group : c.places.Elements(c.places.Member(node, kGroup))) {
        Group g;
        const char* level = AsString(c.places.Member(group, kIndentLevel).node);
        if (level != nullptr && IsIndentLevel(level))
            g.level = level;
        for (std::string& id : StringElements(c.places.Member(group, kGroupItems).node))
            if (!c.names.Deleted(id))
                g.items.push_back(std::move(id));
        defined.push_back(std::move(g));
    }
    return defined;
}

// Group `i` of a written node, for a message.
std::string Describe(const std::vector<Group>& groups, size_t i)
{
    if (i >= groups.size())
        return "no such group";
    std::string out = "level " + Show(groups[i].level.value_or("")) + " and items";
    for (const std::string& id : groups[i].items)
        out += " " + Show(id);
    return groups[i].items.empty() ? out + " none" : out;
}

// Group `i` defined without an "indent-level" member.
bool LacksLevel(const Context& c, const std::vector<Located>& groups,
                const std::vector<Group>& defined, size_t i)
{
    return !defined[i].level && AsObject(groups[i].node) != nullptr &&
           !c.places.Member(groups[i], kIndentLevel).Present();
}

// A copied node keeps its groups as they are: one without a level stays so.
void CheckCopiedGroups(const Context& c, const Menu& menu, const std::vector<Located>& groups,
                       const std::vector<Group>& defined)
{
    for (size_t i = 0; i < defined.size(); ++i)
        if (LacksLevel(c, groups, defined, i))
            c.found.Report(RuleId::GroupRewritten, groups[i].Offset(),
                           "group " + std::to_string(i + 1) + " of menu " + Show(menu.id) +
                               " has no \"indent-level\": it is written without a level");
}

// A rebuilt node writes its groups from their strings read one after another:
// report the first group that is not written as defined.
void CheckRebuiltGroups(const Context& c, const Menu& menu, const Located& node)
{
    const std::vector<Located> groups = c.places.Elements(c.places.Member(node, kGroup));
    if (groups.empty() || !GroupsAreRead(groups.size()))
        return;
    const std::vector<Group> defined = DefinedGroups(c, node);
    if (!menu.rebuilt) {
        CheckCopiedGroups(c, menu, groups, defined);
        return;
    }
    const std::string rebuilt = "the menu loses or gains entries, so its node is rebuilt";
    if (LacksLevel(c, groups, defined, 0)) {
        c.found.Report(RuleId::GroupRewritten, groups[0].Offset(),
                       "group 1 of menu " + Show(menu.id) + " has no \"indent-level\": " + rebuilt +
                           ", and its group is written with an empty level");
        return;
    }
    for (size_t i = 1; i < defined.size() && menu.groups.size() < defined.size(); ++i)
        if (!defined[i].level && AsObject(groups[i].node) != nullptr) {
            c.found.Report(RuleId::GroupRewritten, groups[i].Offset(),
                           "group " + std::to_string(i + 1) + " of menu " + Show(menu.id) +
                               " has no \"indent-level\" the splitter reads: " + rebuilt +
                               ", and its items join group " + std::to_string(i));
            return;
        }
    for (size_t i = 0; i < defined.size(); ++i) {
        // A group written with an empty level has none.
        const bool same = i < menu.groups.size() &&
                          (menu.groups[i].level == defined[i].level ||
                           (!defined[i].level && menu.groups[i].level == std::string())) &&
                          menu.groups[i].items == defined[i].items;
        if (same)
            continue;
        const std::string group = "group " + std::to_string(i + 1) + " of menu " + Show(menu.id);
        c.found.Report(RuleId::GroupRewritten, groups[i].Offset(),
                       group + " is not written as defined: " + rebuilt + " with " +
                           Describe(menu.groups, i));
        return;
    }
}

}  // namespace

void CheckGroups(const Context& c)
{
    for (const Menu& menu : c.menu.menus) {
        const Located node = c.places.Member(c.names.Tree(), menu.id);
        CheckGroupCount(c, menu, node);
        CheckGroupItems(c, menu, node);
        CheckRebuiltGroups(c, menu, node);
    }
}

}  // namespace check
