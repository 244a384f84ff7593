// Where the document names identifiers: every node's "submenuitems" (the
// nodes of deleted menus too, since the splitter's parent search reads them),
// every group and every add list. Read once and shared by the rules that ask
// whether, and by whom, an identifier is named.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "EffectiveMenu.h"
#include "Places.h"

namespace check {

// One menu node listing an identifier, at the first element that lists it.
struct Listing {
    std::string menu;
    size_t offset;
};

class Names {
public:
    Names(const Places& places, const velkin::EffectiveMenu& menu);

    // The menus listing `id`, in "menutree" order; null when none does.
    const std::vector<Listing>* ListingsOf(const std::string& id) const;
    bool Listed(const std::string& id) const { return ListingsOf(id) != nullptr; }
    // Named by a group's "group-items" or by a "menuaddinfo" list (every
    // string inside it, as the splitter splits the list's text).
    bool Grouped(const std::string& id) const { return Is(id, &Named::grouped); }
    bool InAddList(const std::string& id) const { return Is(id, &Named::addListed); }

    // In the edit lists, as the splitter reads them.
    bool Deleted(const std::string& id) const { return m_deleted.count(id) != 0; }
    bool AddedTo(const std::string& menu) const { return m_addMenus.count(menu) != 0; }
    bool Modified(const std::string& id) const { return m_modified.count(id) != 0; }

    // Written into some menu's file: from a node's own list, or as an addition.
    bool WrittenListed(const std::string& id) const { return Is(id, &Named::writtenListed); }
    bool WrittenAdded(const std::string& id) const { return Is(id, &Named::writtenAdded); }

    const Located& Tree() const { return m_tree; }
    const Located& Items() const { return m_items; }

private:
    // What is known of one identifier: one record for all, since a large
    // definition names many.
    struct Named {
        std::vector<Listing> listings;
        bool grouped = false, addListed = false, writtenListed = false, writtenAdded = false;
    };

    bool Is(const std::string& id, bool Named::*what) const
    {
        auto it = m_names.find(id);
        return it != m_names.end() && it->second.*what;
    }
    void ReadNode(const Places& places, const std::string& menu, const Located& node);
    void ReadAddLists(const Places& places);

    Located m_tree, m_items;
    std::unordered_map<std::string, Named> m_names;
    std::unordered_set<std::string> m_deleted, m_addMenus, m_modified;
};

}  // namespace check
