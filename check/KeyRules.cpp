// Keys and syntax: whether json-glib reads the text at all, repeated member
// names, the "menutree" object, lists holding what is not a string, members
// misspelt, and members the splitter reads in a form it passes over.
#include <algorithm>
#include <iterator>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "Decisions.h"
#include "Families.h"
#include "Facts.h"
#include "Fixes.h"
#include "Fragments.h"
#include "Identifiers.h"
#include "Spelling.h"

namespace check {

using namespace velkin;

namespace {

// Where the scanner cannot tell why json-glib refuses the text: json-glib's
// own message, which begins "<data>:LINE:COLUMN: "; the rest is kept, on one line.
void ReportSyntax(const std::string& message, Findings& found)
{
    long line = 1;
    long column = 1;
    int used = 0;
    const char* text = message.c_str();
    if (std::sscanf(text, "<data>:%ld:%ld: %n", &line, &column, &used) == 2 && used > 0) {
        text += used;
        // At the end of a line json-glib's scanner may stand at column 0.
        line = std::max(line, 1L);
        column = std::max(column, 1L);
    } else {
        line = 1;
        column = 1;
    }
    found.ReportAt(RuleId::Syntax, Position{line, column}, OneLine(text));
}

// Elements of an identifier list that are not strings. Lists the splitter
// reads `fromText` (group items, add lists) are split at the quotes of their
// serialised text: every string nested in an element counts.
void NonStrings(const Context& c, const Located& list, const std::string& where,
                bool fromText = false)
{
    const std::vector<Located> elements = c.places.Elements(list);
    for (size_t i = 0; i < elements.size(); ++i) {
        const Located& e = elements[i];
        if (AsString(e.node) != nullptr)
            continue;
        const bool nested = AsObject(e.node) != nullptr || AsArray(e.node) != nullptr;
        c.found.Report(RuleId::NonStringIdentifier, e.Offset(),
                       "element " + std::to_string(i) + " of " + where + " is not a string: " +
                           (fromText && nested ? "every string inside it is read as an identifier"
                                               : "it is passed over"));
    }
}

void NonStringIdentifiers(const Context& c)
{
    const Located& root = c.places.Root();
    for (std::string_view key : kEditLists) {
        const Located list = c.places.Member(root, std::string(key));
        NonStrings(c, c.places.Member(list, kSubmenuItems), "\"" + std::string(key) + "\"");
    }
    const Located addInfo = c.places.Member(root, kMenuAddInfo);
    for (const std::string& id : c.menu.menuTree) {
        const Located node = c.places.Member(c.names.Tree(), id);
        NonStrings(c, c.places.Member(node, kSubmenuItems),
                   "the \"submenuitems\" of menu " + Show(id));
        if (c.menu.Find(id) == nullptr)
            continue;
        for (const Located& group : c.places.Elements(c.places.Member(node, kGroup)))
            NonStrings(c, c.places.Member(group, kGroupItems),
                       "a \"group-items\" of menu " + Show(id), true);
        if (c.names.AddedTo(id))
            NonStrings(c, c.places.Member(c.places.Member(addInfo, id), kAddList),
                       "the \"menuaddinfo\" list of menu " + Show(id), true);
    }
}

// The name a member not read there is renamed to, for a certain repair: the
// one read name close to it, when no other member is close to that name and
// the object lacks it; or, in an object lacking its one needed member, the
// needed name for its only array (an edit list's "list": [...]).
template <size_t N>
std::optional<std::string> RenamedTo(JsonObject* o, const std::string& name,
                                     const std::string_view (&read)[N], const char* needed,
                                     bool lacking)
{
    if (const std::string_view* meant = Closest(name, read)) {
        if (json_object_has_member(o, std::string(*meant).c_str()))
            return std::nullopt;
        for (const std::string& other : MemberNames(o))
            if (other != name && Closest(other, read) == meant)
                return std::nullopt;
        return std::string(*meant);
    }
    if (!lacking)
        return std::nullopt;
    size_t arrays = 0;
    for (const std::string& other : MemberNames(o))
        arrays += AsArray(json_object_get_member(o, other.c_str())) != nullptr;
    if (arrays != 1 || AsArray(json_object_get_member(o, name.c_str())) == nullptr)
        return std::nullopt;
    return std::string(needed);
}

// Members of `object` that the splitter does not read there but whose names
// are close to one it reads (`read`): most likely that member misspelt. An
// object whose one read member `needed` is missing has no other use: then
// every member is reported, since what it holds is what was meant.
template <size_t N>
void UnknownMembers(const Context& c, const Located& object, const std::string_view (&read)[N],
                    const std::string& where, const char* needed = nullptr,
                    const std::string& outcome = std::string())
{
    JsonObject* o = AsObject(object.node);
    const bool lacking = needed != nullptr && o != nullptr && !json_object_has_member(o, needed);
    for (const std::string& name : o != nullptr ? MemberNames(o) : std::vector<std::string>()) {
        if (std::find(std::begin(read), std::end(read), name) != std::end(read))
            continue;
        const Located member = c.places.Member(object, name);
        const size_t at = member.key;
        std::optional<Fix> fix;  // none for a repeated name: which one was meant?
        const std::optional<std::string> to = RenamedTo(o, name, read, needed, lacking);
        if (to && member.key == member.lastKey)
            fix = RenameFix(c.found.Source().Text(), at, *to);
        if (const std::string_view* meant = Closest(name, read))
            c.found.Report(RuleId::UnknownMember, at,
                           "member " + Show(name) + " of " + where +
                               " is not read, so what it holds is lost: did you mean " +
                               Show(*meant) + "?",
                           std::move(fix));
        else if (lacking)
            c.found.Report(RuleId::UnknownMember, at,
                           "member " + Show(name) + " of " + where + " is never read: " + where +
                               " has no \"" + needed + "\", so " + outcome,
                           std::move(fix));
    }
}

void WrongType(const Context& c, const Located& at, const std::string& message)
{
    c.found.Report(RuleId::WrongType, at.lastKey, message);
}

// "menuitems", "menuaddinfo" and "menumodifyinfo": objects when present.
void RootMembers(const Context& c)
{
    const std::string placeholder =
        "every item is written as \"" + std::string(kPlaceholderDisplayName) + "\"";
    const std::pair<const char*, std::string> objects[] = {{kMenuItems, placeholder},
                                                           {kMenuAddInfo, "nothing is added"},
                                                           {kMenuModifyInfo, "nothing is amended"}};
    for (const auto& [name, outcome] : objects) {
        const Located member = c.places.Member(c.places.Root(), name);
        if (member.Present() && AsObject(member.node) == nullptr)
            WrongType(c, member, "\"" + std::string(name) + "\" is not an object: " + outcome);
    }
}

// An edit list: an object holding a "submenuitems" array.
void EditList(const Context& c, const char* key)
{
    const Located list = c.places.Member(c.places.Root(), key);
    if (!list.Present())
        return;
    const std::string outcome = key == std::string(kMenuDelete) ? "nothing is deleted"
                                : key == std::string(kMenuAdd)  ? "no menu receives additions"
                                                                : "nothing is amended";
    const std::string where = "\"" + std::string(key) + "\"";
    if (AsObject(list.node) == nullptr) {
        WrongType(c, list,
                  where + " is not an object holding a \"submenuitems\" array: " + outcome);
        return;
    }
    UnknownMembers(c, list, kEditListMembers, where, kSubmenuItems, outcome);
    if (json_object_get_size(AsObject(list.node)) == 0)
        WrongType(c, list, where + " is an empty object, without a \"submenuitems\" array: " + outcome);
    const Located items = c.places.Member(list, kSubmenuItems);
    if (items.Present() && AsArray(items.node) == nullptr)
        WrongType(c, items, "\"submenuitems\" of " + where + " is not an array: " + outcome);
}

// The add entry of a menu that receives additions: an object holding a "list" array.
void AddEntry(const Context& c, const Located& entry, const std::string& menu)
{
    const std::string where = "the add entry of menu " + Show(menu);
    if (AsObject(entry.node) == nullptr) {
        WrongType(c, entry,
                  where + " is not an object holding a \"list\" array: nothing is added to it");
        return;
    }
    UnknownMembers(c, entry, kAddEntryMembers, where, kAddList, "nothing is added to it");
    const Located list = c.places.Member(entry, kAddList);
    if (list.Present() && AsArray(list.node) == nullptr)
        WrongType(c, list, "\"list\" of " + where + " is not an array of identifiers");
}

// One group of a menu whose groups the splitter reads.
void Group(const Context& c, const Located& group, const std::string& menu)
{
    const std::string where = "a group of menu " + Show(menu);
    if (AsObject(group.node) == nullptr) {
        c.found.Report(RuleId::WrongType, group.Offset(),
                       where + " is not an object: it gives no group");
        return;
    }
    UnknownMembers(c, group, kGroupMembers, where);
    const Located level = c.places.Member(group, kIndentLevel);
    const char* text = AsString(level.node);
    if (level.Present() && (text == nullptr || !IsIndentLevel(text)))
        WrongType(c, level,
                  "\"indent-level\" of " + where +
                      " is not one of the strings \"0\", \"1\", \"2\": it is not read as a level");
    const Located items = c.places.Member(group, kGroupItems);
    if (items.Present() && AsArray(items.node) == nullptr)
        WrongType(c, items, "\"group-items\" of " + where + " is not an array of identifiers");
}

// The node of a written menu and its groups.
void MenuNode(const Context& c, const std::string& menu)
{
    const Located node = c.places.Member(c.names.Tree(), menu);
    const std::string where = "menu " + Show(menu);
    if (AsObject(node.node) == nullptr) {
        WrongType(c, node, "the node of " + where + " is not an object: its file has no entries");
        return;
    }
    UnknownMembers(c, node, kNodeMembers, where);
    const Located items = c.places.Member(node, kSubmenuItems);
    if (items.Present() && AsArray(items.node) == nullptr)
        WrongType(c, items, "\"submenuitems\" of " + where + " is not an array: it has no entries");
    const Located groups = c.places.Member(node, kGroup);
    if (groups.Present() && AsArray(groups.node) == nullptr)
        WrongType(c, groups, "\"group\" of " + where + " is not an array: it has no groups");
    const std::vector<Located> each = c.places.Elements(groups);
    if (GroupsAreRead(each.size()))
        for (const Located& group : each)
            Group(c, group, menu);
}

// Item definitions that are not objects, but those of amended items, which
// ignored-edit-info reports.
void Definitions(const Context& c)
{
    JsonObject* items = AsObject(c.names.Items().node);
    ForEachMemberName(items, [&](const char* name) {
        // Most are objects: the place is looked up for the others only.
        if (AsObject(json_object_get_member(items, name)) != nullptr)
            return;
        const std::string id(name);
        if (!AmendsListedItem(c, id))
            WrongType(
                c, c.places.Member(c.names.Items(), id),
                "the definition of item " + Show(id) + " is not an object: it is copied as it is");
    });
}

// Members misspelt, and members of a form the splitter passes over.
void MemberForms(const Context& c)
{
    UnknownMembers(c, c.places.Root(), kRootMembers, "the document");
    RootMembers(c);
    for (std::string_view key : kEditLists)
        EditList(c, std::string(key).c_str());
    const Located addInfo = c.places.Member(c.places.Root(), kMenuAddInfo);
    for (const Menu& menu : c.menu.menus) {
        MenuNode(c, menu.id);
        const Located entry = c.places.Member(addInfo, menu.id);
        if (c.names.AddedTo(menu.id) && entry.Present())
            AddEntry(c, entry, menu.id);
    }
    Definitions(c);
}

}  // namespace

bool CheckLoad(const LoadResult& loaded, const Definition& definition, Findings& found)
{
    switch (loaded.status) {
    case LoadStatus::TooDeep:
        found.Report(RuleId::TooDeep, loaded.tooDeepAt,
                     "nesting goes beyond " + std::to_string(kMaxNesting) + " levels here");
        return false;
    case LoadStatus::Syntax:
        if (const std::optional<SyntaxFault> fault = definition.Refusal())
            found.Report(RuleId::Syntax, fault->offset, fault->message);
        else
            ReportSyntax(loaded.message, found);
        return false;
    case LoadStatus::Empty:
        found.Report(RuleId::NoMenutree, kNoOffset,
                     "the document is empty: nothing would be written");
        return false;
    case LoadStatus::Loaded: break;
    }
    return true;
}

void CheckDuplicateKeys(const Definition& definition, Findings& found)
{
    for (const Repeat& r : definition.Repeats())
        found.Report(RuleId::DuplicateKey, r.at,
                     "member " + Show(r.name) + " repeats the one at " +
                         Where(definition.At(r.first)) + "; json-glib keeps only the last value");
}

bool CheckMenuTree(const Places& places, Findings& found)
{
    const Located& root = places.Root();
    if (AsObject(root.node) == nullptr) {
        found.Report(RuleId::NoMenutree, root.Offset(),
                     "the document is not an object: nothing would be written");
        return false;
    }
    const Located tree = places.Member(root, kMenuTree);
    if (!tree.Present()) {
        found.Report(RuleId::NoMenutree, root.Offset(),
                     "the document has no \"menutree\": no menu file would be written");
        return false;
    }
    if (AsObject(tree.node) == nullptr) {
        found.Report(RuleId::NoMenutree, tree.key,
                     "\"menutree\" is not an object: no menu file would be written");
        return false;
    }
    return true;
}

void CheckKeys(const Context& c)
{
    NonStringIdentifiers(c);
    MemberForms(c);
    if (c.menu.providers == kNoProviders) {
        const Located providers = c.places.Member(c.places.Root(), kProviders);
        c.found.Report(RuleId::NoProviders, providers.Present() ? providers.lastKey : kNoOffset,
                       std::string(providers.Present() ? "\"providers\" gives no value"
                                                       : "the document has no \"providers\"") +
                           ": " + kProvidersFile + " is written holding null");
    }
}

}  // namespace check
