// The differences of two effective menus, as text for people and as JSON for
// tools (the layout is documented in velkin-tree(1) and the README).
#pragma once

#include <string>

#include "Diff.h"

namespace tree {

// One line per difference, a changed definition or group list with its old
// and new text on the two lines below; nothing when the menus are equal.
// `color`: ANSI colours for a terminal.
std::string DiffText(const MenuDiff& diff, bool color);

//   {"equal": bool, "menus-removed": [id...], "menus-added": [id...],
//    "entries-removed": [{"id", "menu", "position"}], "entries-added": [...],
//    "entries-moved": [{"id", "from": {"menu", "position"}, "to": {...}}],
//    "definitions-changed": [{"menu", "id", "old": text | null, "new": text | null}],
//    "groups-changed": [{"menu", "old": [group...], "new": [group...]}],
//    "parents-changed": [{"menu", "old": id | null, "new": id | null}]}
std::string DiffJson(const MenuDiff& diff);

}  // namespace tree
