// What a change does to the effective menu: menus added and removed, entries
// added, removed and moved (to another menu, or to another place in the same
// menu), renamed (in the same place with the same definition), definitions
// changed, groups and parent links changed. Menus are
// matched by identifier, entries by identifier within a menu (the n-th
// occurrence of an identifier with its n-th occurrence). Whether an entry
// was added by "menuaddinfo" is not compared; its definition text is.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "EffectiveMenu.h"

namespace tree {

struct Place {
    std::string menu;
    size_t position = 0;  // from 1, in the menu's entries
};

struct EntryChange {
    std::string id;
    std::optional<Place> from;  // absent for an added entry
    std::optional<Place> to;    // absent for a removed entry
    std::optional<std::string> name;  // its display name (the new one, else the old)
};

// An entry whose identifier changed in its place, its definition the same.
struct Rename {
    std::string menu, from, to;
    size_t position = 0;  // from 1, in the new menu's entries
    std::optional<std::string> name;
};

struct DefinitionChange {
    std::string menu, id;
    std::optional<std::string> before, after;  // null: the file holds none
    std::optional<std::string> name;
};

struct GroupsChange {
    std::string menu;
    std::vector<velkin::Group> before, after;
};

struct ParentChange {
    std::string menu;
    std::optional<std::string> before, after;
};

struct MenuDiff {
    std::vector<std::string> menusRemoved, menusAdded;
    // Entries removed and added, those of removed and added menus included.
    std::vector<EntryChange> removed, added, moved;
    std::vector<Rename> renamed;
    std::vector<DefinitionChange> definitions;
    std::vector<GroupsChange> groups;
    std::vector<ParentChange> parents;
    // What the new side's "menudelete" removed of the removed menus and
    // entries: why they went.
    std::vector<velkin::DeletedMenu> menusDeleted;
    std::vector<velkin::DeletedEntry> entriesDeleted;
    // Every menu of either side, in the order the new menus are drawn (the
    // tree views' walk), then the removed ones in their old order.
    std::vector<std::string> order;

    bool Equal() const;
};

MenuDiff CompareMenus(const velkin::EffectiveMenu& before, const velkin::EffectiveMenu& after);

// The menus of `model` in the order the tree views draw them.
std::vector<std::string> DrawnOrder(const velkin::EffectiveMenu& model);

}  // namespace tree
