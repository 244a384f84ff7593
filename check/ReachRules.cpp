// Reach: every written menu is reached from the top menu, and identifiers a
// reader cannot tell apart are distinct in fact.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "Families.h"
#include "Facts.h"
#include "Fixes.h"
#include "Identifiers.h"
#include "Spelling.h"

namespace check {

using namespace velkin;

namespace {

// Entries a menu lists that open no menu and name no deleted one: where a
// misspelt menu key leaves its listing.
std::vector<std::string> EntriesWithoutNode(const Context& c)
{
    std::unordered_set<std::string> seen(c.menu.deleted.begin(), c.menu.deleted.end());
    std::vector<std::string> out;
    for (const Menu& menu : c.menu.menus)
        for (const Entry& entry : menu.entries)
            if (!entry.opensMenu && c.names.Listed(entry.id) && seen.insert(entry.id).second)
                out.push_back(entry.id);
    return out;
}

// Named anywhere besides a node's key and its listings: renaming only those
// would leave these names behind.
bool NamedElsewhere(const Context& c, const std::string& id)
{
    const Names& n = c.names;
    return n.Grouped(id) || n.InAddList(id) || n.Deleted(id) || n.AddedTo(id) || n.Modified(id);
}

// The repair of a stray menu whose name is close to an entry without node:
// the key renamed when the entry has the item definition and the key none,
// the entry's listings renamed when only the key may have one; none when
// other places name the one renamed, when the key is repeated, or when
// both have definitions.
std::optional<Fix> StrayFix(const Context& c, const Menu& stray, const std::string& near,
                            const Located& node)
{
    const std::string_view text = c.found.Source().Text();
    const bool nearDefined = c.places.Member(c.names.Items(), near).Present();
    const bool strayDefined = c.places.Member(c.names.Items(), stray.id).Present();
    if (nearDefined && !strayDefined && !NamedElsewhere(c, stray.id) && node.key == node.lastKey)
        return RenameFix(text, node.key, near);
    if (nearDefined || NamedElsewhere(c, near))
        return std::nullopt;
    std::vector<size_t> listings;
    for (const Listing& listing : *c.names.ListingsOf(near))
        listings.push_back(listing.offset);
    return RenameFix(text, listings, stray.id);
}

void ReportStray(const Context& c, const Menu& stray, const std::string* near)
{
    const Located node = c.places.Member(c.names.Tree(), stray.id);
    const size_t key = node.key;
    std::string message = "menu " + Show(stray.id) +
                          " is written, but no menu lists it and another top menu exists: the "
                          "device never reaches it";
    if (near == nullptr) {
        c.found.Report(RuleId::UnreachedMenu, key, message);
        return;
    }
    const size_t listed = c.names.ListingsOf(*near)->front().offset;
    const std::optional<Fix> fix = StrayFix(c, stray, *near, node);
    c.found.Report(RuleId::UnreachedMenu, key,
                   message + "; the entry " + Show(*near) + " (" + Where(c.places.At(listed)) +
                       "), which has no menu node, is close: a misspelt key?",
                   fix);
    c.found.Report(RuleId::UnreachedMenu, listed,
                   "entry " + Show(*near) + " opens no menu, while the unreached menu " +
                       Show(stray.id) + " (" + Where(c.places.At(key)) +
                       ") has a close name: a misspelt key?",
                   fix);
}

// A listing and a menu key most likely one name slipped: alike on screen, or
// one edit apart in names of four characters or more.
bool Slipped(const std::string& a, const std::string& b)
{
    const std::string x = Skeleton(a), y = Skeleton(b);
    return x == y || (std::min(x.size(), y.size()) >= 4 && EditsUpToTwo(x, y) <= 1);
}

const std::string* NearEntry(const std::string& menu, const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates)
        if (Slipped(menu, candidate))
            return &candidate;
    return nullptr;
}

// Top menus beside the main one (the first top with no close unlisted entry).
void CheckStrayMenus(const Context& c)
{
    if (c.menu.top.size() < 2)
        return;
    const std::vector<std::string> candidates = EntriesWithoutNode(c);
    std::vector<std::pair<const Menu*, const std::string*>> tops;
    const Menu* main = nullptr;
    for (size_t i : c.menu.top) {
        const Menu& menu = c.menu.menus[i];
        const std::string* near = NearEntry(menu.id, candidates);
        if (near == nullptr && main == nullptr)
            main = &menu;
        else
            tops.emplace_back(&menu, near);
    }
    for (const auto& [menu, near] : tops)
        ReportStray(c, *menu, near);
}

// Identifiers that differ only by what a reader does not see, at the later one.
void CheckLookAlikes(const Context& c)
{
    std::unordered_map<std::string, std::pair<std::string, size_t>> first;
    auto visit = [&](const std::string& id, size_t offset) {
        auto [it, added] = first.emplace(Skeleton(id), std::make_pair(id, offset));
        if (added || it->second.first == id)
            return;
        c.found.Report(RuleId::LookAlikeIdentifiers, offset,
                       "identifier " + Show(id) + " differs from " + Show(it->second.first) +
                           " (" + Where(c.places.At(it->second.second)) +
                           ") only by case, spaces, invisible characters or look-alike letters");
    };
    for (const Located* object : {&c.names.Tree(), &c.names.Items()})
        if (JsonObject* o = AsObject(object->node))
            for (const std::string& id : MemberNames(o))
                visit(id, c.places.Member(*object, id).key);
}

}  // namespace

void CheckReach(const Context& c)
{
    CheckStrayMenus(c);
    CheckLookAlikes(c);
}

}  // namespace check
