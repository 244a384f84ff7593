// The differences of two effective menus, as text for people and as JSON for
// tools (the layout is documented in velkin-tree(1) and the README).
#pragma once

#include <string>

#include "Diff.h"

namespace tree {

// For review: each menu that changed, in the order the tree views draw the
// new menus (removed menus last), with its changes below it in the order of
// their places: entries added (+), removed (-), moved in (>), renamed (=),
// definitions changed (~, member by member where both are objects: "max: 50
// → 100"), groups and parent; then one summary line. With `stat`, a line per
// menu counting its changes, and the summary. Nothing when the menus are
// equal. `color`: ANSI colours for a terminal.
std::string DiffText(const MenuDiff& diff, bool color, bool stat = false);

//   {"equal": bool, "menus-removed": [id...], "menus-added": [id...],
//    "entries-removed": [{"id", "menu", "position"}], "entries-added": [...],
//    "entries-moved": [{"id", "from": {"menu", "position"}, "to": {...}}],
//    "entries-renamed": [{"menu", "from", "to", "position"}],
//    "definitions-changed": [{"menu", "id", "old": text | null, "new": text | null}],
//    "groups-changed": [{"menu", "old": [group...], "new": [group...]}],
//    "parents-changed": [{"menu", "old": id | null, "new": id | null}],
//    "menus-deleted": [{"id", "edit", "entries": [id...]}],
//    "entries-deleted": [{"menu", "id", "edit"}]}
// (the new side's "menudelete" strings, from 1, that removed menus and entries).
std::string DiffJson(const MenuDiff& diff);

}  // namespace tree
