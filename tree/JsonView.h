// The effective menu as JSON for other tools (the layout is documented in
// velkin-tree(1) and the README):
//   {"profile": "tv" | null,
//    "menus": [{"id", "parent": id | null,
//               "entries": [{"id", "definition": text | null, "menu", "added",
//                            "amended", "placeholder"}],
//               "groups": [{"indent-level": text | null, "items": [id...]}],
//               "deleted": [{"id", "edit", "after"}]}],
//    "top": [id...], "unreachable": [id...],
//    "deleted": [{"id", "edit", "entries": [id...]}]}
// "edit": the "menudelete" string that removed it, from 1; "after": the
// number of the menu's entries drawn before the deleted one.
#pragma once

#include <string>
#include <vector>

#include "EffectiveMenu.h"

namespace tree {

std::string RenderJson(const velkin::EffectiveMenu& model);

}  // namespace tree
namespace cli {
class JsonWriter;
}
namespace tree {

using cli::JsonWriter;
// A menu's groups as an array, each group's object on one line (the array
// too when it is written inside a one-line container).
void WriteGroups(JsonWriter& json, const std::vector<velkin::Group>& groups);
// The members of a menu "menudelete" removed, in an open object: "id",
// "edit" (from 1) and the strings it listed, "entries".
void WriteDeletedMenu(JsonWriter& json, const velkin::DeletedMenu& menu);

}  // namespace tree
