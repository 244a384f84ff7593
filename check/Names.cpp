#include "Names.h"

#include "Document.h"
#include "Facts.h"
#include "Fragments.h"
#include "JsonPathText.h"

namespace check {

using namespace velkin;

Names::Names(const Places& places, const EffectiveMenu& menu)
{
    m_tree = places.Member(places.Root(), kMenuTree);
    m_items = places.Member(places.Root(), kMenuItems);
    m_deleted.insert(menu.edits.deleted.begin(), menu.edits.deleted.end());
    m_addMenus.insert(menu.edits.added.begin(), menu.edits.added.end());
    m_modified.insert(menu.edits.modified.begin(), menu.edits.modified.end());
    for (const std::string& id : menu.menuTree)
        ReadNode(places, id, places.Member(m_tree, id));
    for (const Menu& written : menu.menus)
        for (const ItemEntry& item : written.items)
            m_names[item.id].*(item.origin == Origin::Listed ? &Named::writtenListed
                                                               : &Named::writtenAdded) = true;
    ReadAddLists(places);
}

void Names::ReadNode(const Places& places, const std::string& menu, const Located& node)
{
    for (const Located& e : places.Elements(places.Member(node, kSubmenuItems))) {
        const char* id = AsString(e.node);
        if (id == nullptr)
            continue;
        std::vector<Listing>& l = m_names[id].listings;
        if (l.empty() || l.back().menu != menu)
            l.push_back(Listing{menu, e.Offset()});
    }
    for (const Located& group : places.Elements(places.Member(node, kGroup)))
        for (std::string& id : StringElements(places.Member(group, kGroupItems).node))
            m_names[std::move(id)].grouped = true;
}

void Names::ReadAddLists(const Places& places)
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
            m_names[std::move(id)].addListed = true;
    }
}

const std::vector<Listing>* Names::ListingsOf(const std::string& id) const
{
    auto it = m_names.find(id);
    return it == m_names.end() || it->second.listings.empty() ? nullptr : &it->second.listings;
}

}  // namespace check
