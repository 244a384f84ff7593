// Where the document names identifiers: every node's "submenuitems" (the
// nodes of deleted menus too, since the splitter's parent search reads them),
// every group and every add list. Read once and shared by the rules that ask
// whether, and by whom, an identifier is named.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "EffectiveMenu.h"
#include "Places.h"

namespace check {

// One menu node listing an identifier, at the first element that lists it.
struct Listing {
    const std::string& menu;  // a member of "menutree"
    size_t offset;
};

// The listings of one identifier, in "menutree" order.
class Listings {
public:
    bool empty() const { return m_count == 0; }
    const Listing& front() const { return *m_first; }
    size_t size() const { return m_count; }
    const Listing& operator[](size_t i) const { return m_first[i]; }
    const Listing* begin() const { return m_first; }
    const Listing* end() const { return m_first + m_count; }

private:
    friend class Names;
    const Listing* m_first = nullptr;
    size_t m_count = 0;
};

class Names {
public:
    // The identifiers of the add lists as the splitter reads them (from
    // their serialised text). Serialising changes json-glib's reference
    // counts, which are not atomic: it is done while no other thread
    // serialises the document, and the result handed to the constructor.
    static std::deque<std::string> ReadAddLists(const Places& places);

    // Reads where the document names identifiers, only reading the document
    // (the effective menu may be computed meanwhile); Written adds what the
    // splitter writes, once the effective menu is known.
    Names(const Places& places, std::deque<std::string> addListed);
    Names(const Names&) = delete;
    Names& operator=(const Names&) = delete;
    void Written(const velkin::EffectiveMenu& menu);

    // The menus listing `id`, in "menutree" order; empty when none does.
    Listings ListingsOf(const std::string& id) const;
    bool Listed(const std::string& id) const { return !ListingsOf(id).empty(); }
    // Named by a group's "group-items" or by a "menuaddinfo" list (every
    // string inside it, as the splitter splits the list's text).
    bool Grouped(const std::string& id) const { return Is(id, kGrouped); }
    bool InAddList(const std::string& id) const { return Is(id, kAddListed); }

    // In the edit lists, as the splitter reads them.
    bool Deleted(const std::string& id) const { return m_deleted.count(id) != 0; }
    bool AddedTo(const std::string& menu) const { return m_addMenus.count(menu) != 0; }
    bool Modified(const std::string& id) const { return m_modified.count(id) != 0; }

    // Written into some menu's file: from a node's own list, or as an addition.
    bool WrittenListed(const std::string& id) const { return Is(id, kWrittenListed); }
    bool WrittenAdded(const std::string& id) const { return Is(id, kWrittenAdded); }

    const Located& Tree() const { return m_tree; }
    const Located& Items() const { return m_items; }

private:
    // What is known of one identifier, in one record sorted by identifier (a
    // large definition names many); the identifiers are the document's and
    // the effective menu's strings, or kept in m_addListed.
    enum Flag : unsigned char {
        kGrouped = 1,
        kAddListed = 2,
        kWrittenListed = 4,
        kWrittenAdded = 8,
    };
    struct Named {
        const char* id;
        uint32_t size;                            // of the identifier
        uint32_t firstListing, listings = 0;      // in m_listings
        unsigned char flags = 0;

        std::string_view Id() const { return {id, size}; }
    };
    struct Element;
    using Marks = std::vector<std::pair<std::string_view, Flag>>;

    const Named* Find(std::string_view id) const;
    Named* Find(std::string_view id);
    bool Is(const std::string& id, Flag flag) const
    {
        const Named* named = Find(id);
        return named != nullptr && (named->flags & flag) != 0;
    }
    void Read(Marks marks);
    void ReadNode(const Places& places, uint32_t menu, const Located& node,
                  std::vector<Element>& listed, Marks& marks);
    void Join(std::vector<Element>& listed, Marks& marks, const std::vector<std::string>& menus);

    const Places& m_places;
    Located m_tree, m_items;
    std::vector<std::string> m_menus;  // the members of "menutree"
    std::vector<Named> m_names;
    std::vector<Listing> m_listings;  // grouped by identifier, as m_names
    std::deque<std::string> m_addListed;
    std::unordered_set<std::string> m_deleted, m_addMenus, m_modified;
};

}  // namespace check
