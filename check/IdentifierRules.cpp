// Identifiers and paths: what the splitter does with the names it writes and
// looks up (file names, JSONPath queries, unescaped output), and the items it
// writes without a definition.
#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "Decisions.h"
#include "Families.h"
#include "Fixes.h"
#include "Facts.h"
#include "Fragments.h"
#include "Identifiers.h"
#include "JsonPathText.h"
#include "Profiles.h"
#include "Spelling.h"

namespace check {

using namespace velkin;

namespace {

// Rules on one identifier that the splitter writes and looks up with the
// query `format`, in a buffer of `size` bytes. `at()` gives where it stands,
// asked for a finding only (a large definition has many identifiers).
template <typename At>
void CheckIdentifier(const Context& c, const std::string& id, At at, const char* format,
                     size_t size, const char* what)
{
    if (NeedsEscape(id))
        c.found.Report(RuleId::UnescapedIdentifier, at(),
                       std::string(what) + " " + Show(id) +
                           " holds a double quote, backslash or control character: the files "
                           "naming it would not be JSON");
    if (QueryIsCut(size, format, id))
        c.found.Report(RuleId::QueryTooLong, at(),
                       std::string(what) + " " + Show(id) + " is " + std::to_string(id.size()) +
                           " bytes long: its lookup is cut at " + std::to_string(size) + " bytes");
    if (!PlainForJsonPath(id))
        c.found.Report(
            RuleId::JsonPathIdentifier, at(),
            std::string(what) + " " + Show(id) + " is read by JSONPath as more than a member name");
}

void CheckMenuName(const Context& c, const std::string& menu, size_t offset)
{
    if (IsUnsafeMenuFileName(menu))
        c.found.Report(
            RuleId::UnsafeMenuName, offset,
            "menu " + Show(menu) + " would be written outside its profile directory or not at all");
    if (IsReservedMenuName(menu))
        c.found.Report(
            RuleId::ReservedMenuName, offset,
            "menu " + Show(menu) + " would overwrite the profile's " + menu + kMenuFileSuffix);
    CheckIdentifier(
        c, menu, [offset] { return offset; }, kMenuQuery, kDriverQuerySize, "menu");
}

// The groups of a menu that are read are looked up with
// "$.menutree.<menu>.group[<i>].<member>" in the group query buffer. Reported
// only when the menu's own lookup fits, which the menu name rule covers.
void CheckGroupQuery(const Context& c, const Located& node, const std::string& menu, size_t offset)
{
    JsonArray* groups = AsArray(c.places.Member(node, kGroup).node);
    const guint n = groups != nullptr ? json_array_get_length(groups) : 0;
    if (!GroupsAreRead(n) || QueryIsCut(kDriverQuerySize, kMenuQuery, menu))
        return;
    bool cut = false;
    for (int i = 0; i < static_cast<int>(n); ++i)
        for (const char* member : {kIndentLevel, kGroupItems})
            cut |= FormatQuery(kGroupQuerySize, kGroupQuery, menu.c_str(), kGroup, i, member).cut;
    if (cut)
        c.found.Report(RuleId::QueryTooLong, offset,
                       "menu " + Show(menu) + " is " + std::to_string(menu.size()) +
                           " bytes long: its group lookup is cut at " +
                           std::to_string(kGroupQuerySize) + " bytes");
}

// The serialised text of a located value as the splitter's queries give it.
std::string Serialised(JsonNode* node)
{
    g_autoptr(JsonGenerator) generator = json_generator_new();
    json_generator_set_root(generator, node);
    QueryText text(RepairSerialisation(json_generator_to_data(generator, nullptr)));
    return text.text;
}

// Where the entries of one written menu were read: its element of the node's
// "submenuitems", or its quoted string in the menu's add list.
class ItemPlaces {
public:
    ItemPlaces(const Context& c, const Located& node, const std::string& menu)
        : m_c(c), m_menu(menu), m_listed(c.places.Member(node, kSubmenuItems))
    {
    }
    size_t Of(const ItemEntry& item)
    {
        if (item.origin == Origin::Listed)
            return m_c.places.Element(m_listed, item.source).Offset();
        return QuotedOffset(item.source);
    }
    // The quoted strings of the add list, and where each one begins.
    const std::vector<std::string>& Quoted()
    {
        ReadAddList();
        return m_quoted;
    }
    size_t QuotedOffset(size_t k)
    {
        ReadAddList();
        return k < m_quotedAt.size() ? m_quotedAt[k] : kNoOffset;
    }

private:
    void ReadAddList()
    {
        if (m_addListRead)
            return;
        m_addListRead = true;
        const Located info = m_c.places.Member(m_c.places.Root(), kMenuAddInfo);
        const Located list = m_c.places.Member(m_c.places.Member(info, m_menu), kAddList);
        if (!list.Present())
            return;
        m_quotedAt = m_c.places.QuotedStringOffsets(list);
        m_quoted = QuotedStrings(Serialised(list.node).c_str());
    }

    const Context& m_c;
    const std::string& m_menu;
    Located m_listed;
    std::vector<size_t> m_quotedAt;
    std::vector<std::string> m_quoted;
    bool m_addListRead = false;
};

// Definitions that nothing names, and the listed items without definition
// whose names are close to theirs: likely one misspelt key.
class Unused {
public:
    explicit Unused(const Context& c) : m_c(c)
    {
        JsonObject* items = AsObject(c.names.Items().node);
        JsonObject* menus = AsObject(c.names.Tree().node);
        ForEachMemberName(items, [&](const char* name) {
            const std::string id(name);
            if (!Named(id) && (menus == nullptr || !json_object_has_member(menus, name)))
                m_unused.push_back(id);
        });
        for (const Menu& menu : c.menu.menus)
            for (const ItemEntry& item : menu.items)
                if (item.placeholder && m_missing.emplace(item.id, menu.id).second)
                    m_missingIds.push_back(item.id);
        Pair();
    }

    // "; did you mean ..." for a listed item without definition, or nothing.
    std::string NoteForMissing(const std::string& id) const
    {
        auto it = m_meantForMissing.find(id);
        if (it == m_meantForMissing.end())
            return std::string();
        const size_t key = m_c.places.Member(m_c.names.Items(), it->second).key;
        return "; did you mean " + Show(it->second) + ", defined at " + Where(m_c.places.At(key)) +
               "?";
    }

    void Report() const
    {
        for (const std::string& id : m_unused) {
            std::string message = "item " + Show(id) +
                                  " is defined under \"menuitems\" but no menu, group or list "
                                  "names it: it is never written";
            auto meant = m_meantForUnused.find(id);
            if (meant != m_meantForUnused.end())
                message += "; did you mean it for " + Show(meant->second) + ", which menu " +
                           Show(m_missing.at(meant->second)) + " names without a definition?";
            m_c.found.Report(RuleId::UnusedDefinition, m_c.places.Member(m_c.names.Items(), id).key,
                             message);
        }
    }

private:
    using Ids = std::vector<std::string>;
    // Comparing every pair costs too much beyond this many pairs: no notes then.
    static constexpr size_t kMaxPairs = 1000000;

    bool Named(const std::string& id) const
    {
        const Names& n = m_c.names;
        return n.Listed(id) || n.Grouped(id) || n.InAddList(id) || n.Deleted(id) || n.AddedTo(id) ||
               n.Modified(id);
    }

    void Pair()
    {
        if (m_unused.empty() || m_missingIds.size() > kMaxPairs / m_unused.size())
            return;
        for (const std::string& id : m_missingIds)
            if (const std::string* meant = Closest(id, m_unused))
                m_meantForMissing.emplace(id, *meant);
        for (const std::string& id : m_unused)
            if (const std::string* meant = Closest(id, m_missingIds))
                m_meantForUnused.emplace(id, *meant);
    }

    const Context& m_c;
    Ids m_unused, m_missingIds;
    std::unordered_map<std::string, std::string> m_missing;  // id -> first menu naming it
    std::unordered_map<std::string, std::string> m_meantForMissing, m_meantForUnused;
};

// The item entries of one written menu's file, listed and added.
void CheckItems(const Context& c, const Menu& menu, ItemPlaces& places, const Unused& unused)
{
    for (const ItemEntry& item : menu.items) {
        const size_t size = item.origin == Origin::Listed ? kDriverQuerySize : kLookupQuerySize;
        auto at = [&] { return places.Of(item); };
        CheckIdentifier(c, item.id, at, kItemQuery, size, "item");
        if (item.placeholder)
            c.found.Report(RuleId::MissingDefinition, at(),
                           "item " + Show(item.id) + " of menu " + Show(menu.id) +
                               " has no definition under \"menuitems\": it is written as \"" +
                               std::string(kPlaceholderDisplayName) + "\"" +
                               unused.NoteForMissing(item.id));
    }
}

// Where each of a menu's final entries was read. Listed entries are the item
// list in order; the added ones are the quoted strings of the add list that
// the merge did not match, and those of one identifier are its last ones.
std::vector<size_t> EntryPlaces(const Menu& menu, ItemPlaces& places)
{
    std::vector<const ItemEntry*> listed;
    for (const ItemEntry& item : menu.items)
        if (item.origin == Origin::Listed)
            listed.push_back(&item);
    std::unordered_map<std::string_view, std::vector<size_t>> quoted;
    const std::vector<std::string>& strings = places.Quoted();
    for (size_t k = 0; k < strings.size(); ++k)
        quoted[strings[k]].push_back(k);
    std::unordered_map<std::string_view, size_t> added;
    for (const Entry& e : menu.entries)
        added[e.id] += e.origin == Origin::Added;
    std::vector<size_t> at;
    size_t j = 0;
    for (const Entry& e : menu.entries) {
        if (e.origin == Origin::Listed) {
            const bool same = j < listed.size() && listed[j]->id == e.id;
            at.push_back(same ? places.Of(*listed[j]) : kNoOffset);
            ++j;
            continue;
        }
        const std::vector<size_t>& occurrences = quoted[e.id];
        const size_t k = occurrences.size() - std::min(occurrences.size(), added[e.id]--);
        at.push_back(k < occurrences.size() ? places.QuotedOffset(occurrences[k]) : kNoOffset);
    }
    return at;
}

// Identifiers a menu's final entries hold more than once.
void CheckDuplicates(const Context& c, const Menu& menu, ItemPlaces& places)
{
    std::unordered_map<std::string_view, size_t> first;
    std::vector<size_t> repeats;
    for (size_t i = 0; i < menu.entries.size(); ++i)
        if (!first.emplace(menu.entries[i].id, i).second)
            repeats.push_back(i);
    if (repeats.empty())
        return;
    const std::vector<size_t> at = EntryPlaces(menu, places);
    for (size_t i : repeats) {
        const Entry& e = menu.entries[i];
        const size_t before = at[first.at(e.id)];
        const std::string where =
            before != kNoOffset ? " (first at " + Where(c.places.At(before)) + ")" : "";
        // A listed repeat is an element of the node's list: removing it
        // leaves the first. An added one may stand inside another value.
        std::optional<Fix> fix;
        if (e.origin == Origin::Listed && at[i] != kNoOffset)
            fix = RemoveElementFix(c.found.Source().Text(), at[i]);
        c.found.Report(RuleId::DuplicateEntry, at[i],
                       e.origin == Origin::Listed
                           ? "menu " + Show(menu.id) + " lists " + Show(e.id) + " again" + where +
                                 ": its file and " + kHelperFile +
                                 " hold it twice and the device keeps one"
                           : "the addition to menu " + Show(menu.id) + " puts " + Show(e.id) +
                                 " in it again" + where + ": its \"submenuitems\" hold it twice",
                       std::move(fix));
    }
}

}  // namespace

void CheckIdentifiers(const Context& c)
{
    const Unused unused(c);
    for (const Menu& menu : c.menu.menus) {
        const Located node = c.places.Member(c.names.Tree(), menu.id);
        CheckMenuName(c, menu.id, node.key);
        CheckGroupQuery(c, node, menu.id, node.key);
        ItemPlaces places(c, node, menu.id);
        CheckItems(c, menu, places, unused);
        CheckDuplicates(c, menu, places);
    }
    unused.Report();
}

}  // namespace check
