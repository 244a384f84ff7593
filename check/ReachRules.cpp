// Reach: every written menu is reached from the top menu, and identifiers a
// reader cannot tell apart are distinct in fact.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "Families.h"
#include "Facts.h"
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

void ReportStray(const Context& c, const Menu& stray, const std::string* near)
{
    const size_t key = c.places.Member(c.names.Tree(), stray.id).key;
    std::string message = "menu " + Show(stray.id) +
                          " is written, but no menu lists it and another top menu exists: the "
                          "device never reaches it";
    if (near == nullptr) {
        c.found.Report(RuleId::UnreachedMenu, key, message);
        return;
    }
    const size_t listed = c.names.ListingsOf(*near)->front().offset;
    c.found.Report(RuleId::UnreachedMenu, key,
                   message + "; the entry " + Show(*near) + " (" + Where(c.places.At(listed)) +
                       "), which has no menu node, is close: a misspelt key?");
    c.found.Report(RuleId::UnreachedMenu, listed,
                   "entry " + Show(*near) + " opens no menu, while the unreached menu " +
                       Show(stray.id) + " (" + Where(c.places.At(key)) +
                       ") has a close name: a misspelt key?");
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
    // The first identifier of each skeleton, found by the skeleton's hash (a
    // large definition has many identifiers); the names are the document's.
    struct First {
        std::string_view id;
        size_t offset;
    };
    std::unordered_multimap<size_t, First> first;
    auto visit = [&](std::string_view id, size_t offset) {
        const std::string skeleton = Skeleton(id);
        const size_t hash = std::hash<std::string>()(skeleton);
        auto [it, end] = first.equal_range(hash);
        while (it != end && Skeleton(it->second.id) != skeleton)
            ++it;
        if (it == end) {
            first.emplace(hash, First{id, offset});
            return;
        }
        if (it->second.id == id)
            return;
        c.found.Report(RuleId::LookAlikeIdentifiers, offset,
                       "identifier " + Show(id) + " differs from " + Show(it->second.id) + " (" +
                           Where(c.places.At(it->second.offset)) +
                           ") only by case, spaces, invisible characters or look-alike letters");
    };
    for (const Located* object : {&c.names.Tree(), &c.names.Items()})
        ForEachMemberName(AsObject(object->node), [&](const char* id) {
            visit(id, c.places.Member(*object, id).key);
        });
}

}  // namespace

void CheckReach(const Context& c)
{
    CheckStrayMenus(c);
    CheckLookAlikes(c);
}

}  // namespace check
