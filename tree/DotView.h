// The effective menu as a Graphviz graph: a folder per menu (named as the
// first entry that opens it), an arrow from a menu to each entry (to the
// sub-menu itself for an entry that opens one), a box per other entry with
// its display name; added entries green, amended ones orange, placeholders
// red and dashed; the menus no top menu reaches in a cluster of their own.
#pragma once

#include <string>

#include "EffectiveMenu.h"

namespace tree {

std::string RenderDot(const velkin::EffectiveMenu& model);

}  // namespace tree
