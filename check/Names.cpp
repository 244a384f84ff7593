#include "Names.h"

#include <algorithm>
#include <utility>

#include "Document.h"
#include "Facts.h"
#include "Fragments.h"
#include "JsonPathText.h"

namespace check {

using namespace velkin;

// An element of a node's "submenuitems" naming `id`, in reading order.
struct Names::Element {
    std::string_view id;
    uint32_t menu;   // in "menutree"
    uint32_t order;  // read before the later ones
    size_t offset;
};

Names::Names(const Places& places, std::deque<std::string> addListed)
    : m_places(places), m_addListed(std::move(addListed))
{
    m_tree = places.Member(places.Root(), kMenuTree);
    m_items = places.Member(places.Root(), kMenuItems);
    if (JsonObject* tree = AsObject(m_tree.node))
        m_menus = MemberNames(tree);
    Read(Marks());
}

// Every listing and mark, with `marks` besides, into the records.
void Names::Read(Marks marks)
{
    // Room made once: a large definition names many.
    size_t elements = 0;
    for (const std::string& id : m_menus)
        if (JsonArray* a = AsArray(MemberOf(MemberOf(m_tree.node, id.c_str()), kSubmenuItems)))
            elements += json_array_get_length(a);
    std::vector<Element> listed;
    listed.reserve(elements);
    for (size_t k = 0; k < m_menus.size(); ++k)
        ReadNode(m_places, static_cast<uint32_t>(k), m_places.Member(m_tree, m_menus[k]), listed,
                 marks);
    for (const std::string& id : m_addListed)
        marks.emplace_back(id, kAddListed);
    m_names.clear();
    m_listings.clear();
    Join(listed, marks, m_menus);
}

void Names::Written(const EffectiveMenu& menu)
{
    m_deleted.insert(menu.edits.deleted.begin(), menu.edits.deleted.end());
    m_addMenus.insert(menu.edits.added.begin(), menu.edits.added.end());
    m_modified.insert(menu.edits.modified.begin(), menu.edits.modified.end());
    // The items written have their records already (they are listed, or named
    // by an add list), but for an add list read differently by JSONPath:
    // then the records are made again with all of them.
    bool known = true;
    for (const Menu& written : menu.menus)
        for (const ItemEntry& item : written.items) {
            Named* named = Find(item.id);
            if (named != nullptr)
                named->flags |= item.origin == Origin::Listed ? kWrittenListed : kWrittenAdded;
            known = known && named != nullptr;
        }
    if (known)
        return;
    Marks marks;
    for (const Menu& written : menu.menus)
        for (const ItemEntry& item : written.items)
            marks.emplace_back(item.id,
                               item.origin == Origin::Listed ? kWrittenListed : kWrittenAdded);
    Read(std::move(marks));
}

void Names::ReadNode(const Places& places, uint32_t menu, const Located& node,
                     std::vector<Element>& listed, Marks& marks)
{
    for (const Located& e : places.Elements(places.Member(node, kSubmenuItems)))
        if (const char* id = AsString(e.node))
            listed.push_back(Element{id, menu, static_cast<uint32_t>(listed.size()), e.Offset()});
    for (const Located& group : places.Elements(places.Member(node, kGroup)))
        for (const Located& e : places.Elements(places.Member(group, kGroupItems)))
            if (const char* id = AsString(e.node))
                marks.emplace_back(id, kGrouped);
}

std::deque<std::string> Names::ReadAddLists(const Places& places)
{
    std::deque<std::string> ids;
    JsonObject* info = AsObject(MemberOf(places.Root().node, kMenuAddInfo));
    if (info == nullptr)
        return ids;
    g_autoptr(JsonGenerator) generator = json_generator_new();
    for (const std::string& menu : MemberNames(info)) {
        JsonNode* list = MemberOf(json_object_get_member(info, menu.c_str()), kAddList);
        if (list == nullptr)
            continue;
        json_generator_set_root(generator, list);
        QueryText text(RepairSerialisation(json_generator_to_data(generator, nullptr)));
        for (std::string& id : QuotedStrings(text.text))
            ids.push_back(std::move(id));
    }
    return ids;
}

namespace {

// Walks the sorted elements and marks together, one identifier at a time:
// `name` with its ranges of both, then `listing` with each of its elements
// that counts (a menu once, at its first element).
template <typename Elements, typename Marks, typename Name, typename Listing>
void Merge(const Elements& listed, const Marks& marks, Name name, Listing listing)
{
    size_t l = 0, m = 0;
    while (l < listed.size() || m < marks.size()) {
        const std::string_view id =
            m == marks.size() || (l < listed.size() && listed[l].id < marks[m].first)
                ? listed[l].id
                : marks[m].first;
        size_t lEnd = l, mEnd = m;
        while (lEnd < listed.size() && listed[lEnd].id == id)
            ++lEnd;
        while (mEnd < marks.size() && marks[mEnd].first == id)
            ++mEnd;
        name(l, lEnd, m, mEnd);
        for (size_t i = l; i < lEnd; ++i)
            if (i == l || listed[i].menu != listed[i - 1].menu)
                listing(i);
        l = lEnd;
        m = mEnd;
    }
}

}  // namespace

// One record per identifier: its listings (a menu once, at its first
// element) and its marks.
void Names::Join(std::vector<Element>& listed, Marks& marks, const std::vector<std::string>& menus)
{
    std::sort(listed.begin(), listed.end(), [](const Element& a, const Element& b) {
        return a.id != b.id ? a.id < b.id : a.order < b.order;
    });
    std::sort(marks.begin(), marks.end());
    // Counted first, so that each vector is made once, at its size.
    size_t names = 0, listings = 0;
    Merge(listed, marks, [&](size_t, size_t, size_t, size_t) { ++names; },
          [&](size_t) { ++listings; });
    m_names.reserve(names);
    m_listings.reserve(listings);
    Merge(
        listed, marks,
        [&](size_t l, size_t lEnd, size_t m, size_t mEnd) {
            const std::string_view id = l < lEnd ? listed[l].id : marks[m].first;
            Named named{id.data(), static_cast<uint32_t>(id.size()),
                        static_cast<uint32_t>(m_listings.size())};
            for (; m < mEnd; ++m)
                named.flags |= marks[m].second;
            m_names.push_back(named);
        },
        [&](size_t l) {
            m_listings.push_back(Listing{menus[listed[l].menu], listed[l].offset});
            ++m_names.back().listings;
        });
}

const Names::Named* Names::Find(std::string_view id) const
{
    auto it = std::lower_bound(m_names.begin(), m_names.end(), id,
                               [](const Named& n, std::string_view s) { return n.Id() < s; });
    return it == m_names.end() || it->Id() != id ? nullptr : &*it;
}

Names::Named* Names::Find(std::string_view id)
{
    return const_cast<Named*>(std::as_const(*this).Find(id));
}

Listings Names::ListingsOf(const std::string& id) const
{
    Listings out;
    if (const Named* named = Find(id)) {
        out.m_first = m_listings.data() + named->firstListing;
        out.m_count = named->listings;
    }
    return out;
}

}  // namespace check
