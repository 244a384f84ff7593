// What a change does to the effective menu: menus added and removed, entries
// added, removed and moved (to another menu, or to another place in the same
// menu), definitions changed, groups and parent links changed. Menus are
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
};

struct DefinitionChange {
    std::string menu, id;
    std::optional<std::string> before, after;  // null: the file holds none
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
    std::vector<EntryChange> removed, added, moved;
    std::vector<DefinitionChange> definitions;
    std::vector<GroupsChange> groups;
    std::vector<ParentChange> parents;

    bool Equal() const;
};

MenuDiff CompareMenus(const velkin::EffectiveMenu& before, const velkin::EffectiveMenu& after);

}  // namespace tree
