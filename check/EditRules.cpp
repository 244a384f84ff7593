// Edits: "menudelete", "menuadd" and "menumodify", and the "menuaddinfo" and
// "menumodifyinfo" they steer.
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "Families.h"
#include "Facts.h"
#include "Identifiers.h"

namespace check {

using namespace velkin;

namespace {

// The strings of an edit list, each where it stands.
struct EditEntry {
    std::string id;
    size_t offset;
};

std::vector<EditEntry> EditList(const Context& c, const char* key)
{
    std::vector<EditEntry> out;
    const Located list = c.places.Member(c.places.Member(c.places.Root(), key), kSubmenuItems);
    for (const Located& e : c.places.Elements(list))
        if (const char* id = AsString(e.node))
            out.push_back(EditEntry{id, e.Offset()});
    return out;
}

// Entries naming nothing: a menu, a defined item or a listed one.
void CheckDangling(const Context& c)
{
    JsonObject* items = AsObject(c.names.Items().node);
    const std::unordered_set<std::string> menus(c.menu.menuTree.begin(), c.menu.menuTree.end());
    auto named = [&](const std::string& id) {
        return menus.count(id) != 0 || c.names.Listed(id) ||
               (items != nullptr && json_object_has_member(items, id.c_str()));
    };
    for (const char* key : {kMenuDelete, kMenuModify})
        for (const EditEntry& e : EditList(c, key))
            if (!named(e.id))
                c.found.Report(RuleId::DanglingEdit, e.offset,
                               "\"" + std::string(key) + "\" names " + Show(e.id) +
                                   ", which is no menu or item");
    for (const EditEntry& e : EditList(c, kMenuAdd))
        if (menus.count(e.id) == 0)
            c.found.Report(RuleId::DanglingEdit, e.offset,
                           "\"menuadd\" names " + Show(e.id) + ", which is no menu");
}

// Members of an info object whose menu or item is not in the list that would read them.
void CheckUnreadInfo(const Context& c)
{
    const Located& root = c.places.Root();
    const Located addInfo = c.places.Member(root, kMenuAddInfo);
    if (JsonObject* o = AsObject(addInfo.node))
        for (const std::string& menu : MemberNames(o))
            if (!c.names.AddedTo(menu))
                c.found.Report(RuleId::IgnoredEditInfo, c.places.Member(addInfo, menu).key,
                               "\"menuaddinfo\" of " + Show(menu) +
                                   " is never read: the menu is not in \"menuadd\"");
    const Located modifyInfo = c.places.Member(root, kMenuModifyInfo);
    if (JsonObject* o = AsObject(modifyInfo.node))
        for (const std::string& item : MemberNames(o))
            if (!c.names.Modified(item))
                c.found.Report(RuleId::IgnoredEditInfo, c.places.Member(modifyInfo, item).key,
                               "\"menumodifyinfo\" of " + Show(item) +
                                   " is never read: the item is not in \"menumodify\"");
}

bool HasMembers(const Located& amendment)
{
    JsonObject* members = AsObject(amendment.node);
    return members != nullptr && json_object_get_size(members) != 0;
}

// Amendments the splitter reads but cannot apply.
void CheckAmendments(const Context& c)
{
    const Located modifyInfo = c.places.Member(c.places.Root(), kMenuModifyInfo);
    std::unordered_set<std::string> seen;
    for (const EditEntry& e : EditList(c, kMenuModify)) {
        const Located amendment = c.places.Member(modifyInfo, e.id);
        if (!seen.insert(e.id).second || !amendment.Present())
            continue;
        if (!HasMembers(amendment)) {
            c.found.Report(
                RuleId::IgnoredEditInfo, amendment.key,
                "the amendment of " + Show(e.id) + " is not an object with members: it is ignored");
        } else if (c.names.WrittenListed(e.id)) {
            const Located definition = c.places.Member(c.names.Items(), e.id);
            if (definition.Present() && AsObject(definition.node) == nullptr)
                c.found.Report(RuleId::IgnoredEditInfo, definition.key,
                               "the definition of " + Show(e.id) +
                                   " is not an object: its amendment is ignored");
        } else if (c.names.WrittenAdded(e.id)) {
            c.found.Report(RuleId::IgnoredEditInfo, e.offset,
                           "item " + Show(e.id) +
                               " only arrives through \"menuadd\": added items are written "
                               "without their amendment");
        }
    }
}

// Edit list entries whose information is missing: an item to amend without
// an amendment, a menu to add to without an add entry.
void CheckMissingInfo(const Context& c)
{
    // An info member that is not an object is wrong-type's.
    const Located modifyInfo = c.places.Member(c.places.Root(), kMenuModifyInfo);
    const Located addInfo = c.places.Member(c.places.Root(), kMenuAddInfo);
    const bool modifyRead = !modifyInfo.Present() || AsObject(modifyInfo.node) != nullptr;
    const bool addRead = !addInfo.Present() || AsObject(addInfo.node) != nullptr;
    const std::vector<EditEntry> modifies = EditList(c, kMenuModify);
    for (const Amendment& a : c.menu.amendments)
        if (modifyRead && a.fate == AmendmentFate::NoAmendment && a.edit < modifies.size() &&
            !c.places.Member(modifyInfo, a.item).Present())
            c.found.Report(RuleId::IgnoredEditInfo, modifies[a.edit].offset,
                           "\"menumodify\" names " + Show(a.item) +
                               ", but \"menumodifyinfo\" holds no amendment for it: it is "
                               "written unamended");
    std::unordered_set<std::string> seen;
    for (const EditEntry& e : EditList(c, kMenuAdd))
        if (addRead && c.menu.Find(e.id) != nullptr && seen.insert(e.id).second &&
            !c.places.Member(addInfo, e.id).Present())
            c.found.Report(RuleId::IgnoredEditInfo, e.offset,
                           "\"menuadd\" names " + Show(e.id) +
                               ", but \"menuaddinfo\" holds no add entry for it: nothing is "
                               "added to it");
}

size_t OffsetOf(const std::vector<EditEntry>& list, size_t k)
{
    return k < list.size() ? list[k].offset : kNoOffset;
}

// Edits that another edit undoes: each reported where it stands, naming the
// edit that wins.
void CheckOverridden(const Context& c)
{
    const std::vector<EditEntry> deletes = EditList(c, kMenuDelete);
    auto deletion = [&](size_t k) {
        return "\"menudelete\" removes it (" + Where(c.places.At(OffsetOf(deletes, k))) + ")";
    };
    std::unordered_map<std::string, size_t> deleteIndex;
    for (size_t k = 0; k < c.menu.edits.deleted.size(); ++k)
        deleteIndex.emplace(c.menu.edits.deleted[k], k);
    const std::vector<EditEntry> modifies = EditList(c, kMenuModify);
    for (const Amendment& a : c.menu.amendments)
        if (a.fate == AmendmentFate::Deleted)
            c.found.Report(RuleId::OverriddenEdit, OffsetOf(modifies, a.edit),
                           "the amendment of " + Show(a.item) + " has no effect: " +
                               deletion(deleteIndex.at(a.item)) + ", so no file holds the item");
    for (const DeletedEntry& u : c.menu.undone)
        c.found.Report(RuleId::OverriddenEdit, OffsetOf(deletes, u.edit),
                       "the deletion of " + Show(u.id) + " is undone in menu " + Show(u.menu) +
                           ": its \"menuaddinfo\" list names " + Show(u.id) +
                           ", which is written again as an addition");
    std::unordered_map<std::string, size_t> deletedMenus;
    for (const DeletedMenu& m : c.menu.deletedMenus)
        deletedMenus.emplace(m.id, m.edit);
    for (const EditEntry& e : EditList(c, kMenuAdd))
        if (auto menu = deletedMenus.find(e.id); menu != deletedMenus.end())
            c.found.Report(RuleId::OverriddenEdit, e.offset,
                           "the additions to menu " + Show(e.id) + " are lost: " +
                               deletion(menu->second) + ", so it gets no file");
}

}  // namespace

bool AmendsListedItem(const Context& c, const std::string& id)
{
    const Located modifyInfo = c.places.Member(c.places.Root(), kMenuModifyInfo);
    return c.names.Modified(id) && c.names.WrittenListed(id) &&
           HasMembers(c.places.Member(modifyInfo, id));
}

void CheckEdits(const Context& c)
{
    CheckDangling(c);
    CheckUnreadInfo(c);
    CheckAmendments(c);
    CheckOverridden(c);
    CheckMissingInfo(c);
}

}  // namespace check
