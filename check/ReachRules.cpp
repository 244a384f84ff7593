// Reach: every written menu is reached from the top menu, and identifiers a
// reader cannot tell apart are distinct in fact.
#include <algorithm>
#include <cstring>
#include <string>
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
// (The effective menu's own strings: a large definition lists many.)
std::vector<const std::string*> EntriesWithoutNode(const Context& c)
{
    std::unordered_set<std::string_view> seen(c.menu.deleted.begin(), c.menu.deleted.end());
    std::vector<const std::string*> out;
    for (const Menu& menu : c.menu.menus)
        for (const Entry& entry : menu.entries)
            if (!entry.opensMenu && c.names.Listed(entry.id) && seen.insert(entry.id).second)
                out.push_back(&entry.id);
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
    for (const Listing& listing : c.names.ListingsOf(near))
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
    const size_t listed = c.names.ListingsOf(*near).front().offset;
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

const std::string* NearEntry(const std::string& menu,
                             const std::vector<const std::string*>& candidates)
{
    for (const std::string* candidate : candidates)
        if (Slipped(menu, *candidate))
            return candidate;
    return nullptr;
}

// Top menus beside the main one (the first top with no close unlisted entry).
void CheckStrayMenus(const Context& c)
{
    if (c.menu.top.size() < 2)
        return;
    const std::vector<const std::string*> candidates = EntriesWithoutNode(c);
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

// An identifier and the hash of its skeleton.
struct SkeletonId {
    const char* id;
    size_t hash;
};
using Pairs = std::vector<std::pair<uint32_t, uint32_t>>;  // a later identifier, the first

// Within one run of equal hashes (in reading order): each identifier whose
// skeleton an earlier one has, and differs from that first one.
void Alike(const std::vector<SkeletonId>& ids, const std::vector<uint32_t>& order, size_t run,
           size_t end, Pairs& alike)
{
    std::vector<std::string> skeletons;
    for (size_t i = run; i < end; ++i)
        skeletons.push_back(Skeleton(ids[order[i]].id));
    for (size_t i = run + 1; i < end; ++i) {
        size_t first = run;
        while (skeletons[first - run] != skeletons[i - run])
            ++first;
        if (first != i && std::strcmp(ids[order[first]].id, ids[order[i]].id) != 0)
            alike.emplace_back(order[i], order[first]);
    }
}

// The identifiers alike, in reading order. Sorting by the hash of the
// skeleton puts them together without a table of every identifier (a large
// definition has many).
Pairs AlikePairs(const std::vector<SkeletonId>& ids)
{
    std::vector<uint32_t> order(ids.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return ids[a].hash != ids[b].hash ? ids[a].hash < ids[b].hash : a < b;
    });
    Pairs alike;
    for (size_t run = 0, end = 0; run < order.size(); run = end) {
        for (end = run + 1; end < order.size() && ids[order[end]].hash == ids[order[run]].hash;)
            ++end;
        if (end - run > 1)
            Alike(ids, order, run, end, alike);
    }
    std::sort(alike.begin(), alike.end());
    return alike;
}

}  // namespace

// Identifiers that differ only by what a reader does not see, at the later one.
void CheckLookAlikes(const Places& places, const Names& names, Findings& found)
{
    std::vector<SkeletonId> ids;  // the keys of "menutree", then those of "menuitems"
    const Located* objects[] = {&names.Tree(), &names.Items()};
    size_t count = 0;
    for (const Located* object : objects)
        if (JsonObject* o = AsObject(object->node))
            count += json_object_get_size(o);
    ids.reserve(count);
    auto add = [&](const char* id) {
        ids.push_back(SkeletonId{id, std::hash<std::string>()(Skeleton(id))});
    };
    ForEachMemberName(AsObject(objects[0]->node), add);
    const size_t menus = ids.size();
    ForEachMemberName(AsObject(objects[1]->node), add);
    auto key = [&](uint32_t i) {
        return places.Member(*objects[i < menus ? 0 : 1], ids[i].id).key;
    };
    for (const auto& [later, first] : AlikePairs(ids))
        found.Report(RuleId::LookAlikeIdentifiers, key(later),
                     "identifier " + Show(ids[later].id) + " differs from " +
                         Show(ids[first].id) + " (" + Where(places.At(key(first))) +
                         ") only by case, spaces, invisible characters or look-alike letters");
}

void CheckReach(const Context& c)
{
    CheckStrayMenus(c);
}

}  // namespace check
