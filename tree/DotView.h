// The effective menu as a Graphviz graph: a folder per menu (named as the
// first entry that opens it), an arrow from a menu to each entry (to the
// sub-menu itself for an entry that opens one), a box per other entry with
// its display name; added entries green, amended ones orange, placeholders
// red and dashed, on the arrow as on the box; the entries of each group of a
// page in a dashed cluster headed by the group and its indent level (an arrow
// to a sub-menu labelled with its group); the menus no top menu reaches in a
// cluster of their own; the graph titled with what it is of and its profile,
// and a legend.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "EffectiveMenu.h"

namespace tree {

// `title`: what the graph is of (the definition's or directory's path).
std::string RenderDot(const velkin::EffectiveMenu& model, std::string_view title);

// The boxes and folders of the graph; beyond kMaxDotNodes Graphviz takes
// minutes or more to lay it out, and velkin-tree asks for a part instead.
inline constexpr size_t kMaxDotNodes = 2000;
size_t DotNodeCount(const velkin::EffectiveMenu& model);

}  // namespace tree
