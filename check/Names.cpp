#include "Names.h"

#include <algorithm>

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

Names::Names(const Places& places, const EffectiveMenu& menu)
{
    m_tree = places.Member(places.Root(), kMenuTree);
    m_items = places.Member(places.Root(), kMenuItems);
    m_deleted.insert(menu.edits.deleted.begin(), menu.edits.deleted.end());
    m_addMenus.insert(menu.edits.added.begin(), menu.edits.added.end());
    m_modified.insert(menu.edits.modified.begin(), menu.edits.modified.end());
    // Room made once (a large definition names many): every element of
    // "submenuitems" is written, deleted, or listed by a deleted menu; the
    // marks are the items written and about as many group and add-list names.
    size_t written = 0, elements = menu.deletedEntries.size();
    for (const Menu& m : menu.menus)
        written += m.items.size();
    for (const DeletedMenu& m : menu.deletedMenus)
        elements += m.entries.size();
    std::vector<Element> listed;
    listed.reserve(written + elements);
    Marks marks;
    marks.reserve(2 * written + 64);
    for (size_t k = 0; k < menu.menuTree.size(); ++k)
        ReadNode(places, static_cast<uint32_t>(k), places.Member(m_tree, menu.menuTree[k]), listed,
                 marks);
    for (const Menu& written : menu.menus)
        for (const ItemEntry& item : written.items)
            marks.emplace_back(item.id,
                               item.origin == Origin::Listed ? kWrittenListed : kWrittenAdded);
    ReadAddLists(places, marks);
    Join(listed, marks, menu.menuTree);
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

void Names::ReadAddLists(const Places& places, Marks& marks)
{
    JsonObject* info = AsObject(MemberOf(places.Root().node, kMenuAddInfo));
    if (info == nullptr)
        return;
    g_autoptr(JsonGenerator) generator = json_generator_new();
    for (const std::string& menu : MemberNames(info)) {
        JsonNode* list = MemberOf(json_object_get_member(info, menu.c_str()), kAddList);
        if (list == nullptr)
            continue;
        json_generator_set_root(generator, list);
        QueryText text(RepairSerialisation(json_generator_to_data(generator, nullptr)));
        for (std::string& id : QuotedStrings(text.text))
            marks.emplace_back(m_owned.emplace_back(std::move(id)), kAddListed);
    }
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
            Named named{l < lEnd ? listed[l].id : marks[m].first, {}, 0};
            named.listings.m_first = m_listings.data() + m_listings.size();
            for (; m < mEnd; ++m)
                named.flags |= marks[m].second;
            m_names.push_back(named);
        },
        [&](size_t l) {
            m_listings.push_back(Listing{menus[listed[l].menu], listed[l].offset});
            ++m_names.back().listings.m_count;
        });
}

const Names::Named* Names::Find(std::string_view id) const
{
    auto it = std::lower_bound(m_names.begin(), m_names.end(), id,
                               [](const Named& n, std::string_view s) { return n.id < s; });
    return it == m_names.end() || it->id != id ? nullptr : &*it;
}

const Listings* Names::ListingsOf(const std::string& id) const
{
    const Named* named = Find(id);
    return named == nullptr || named->listings.size() == 0 ? nullptr : &named->listings;
}

}  // namespace check
