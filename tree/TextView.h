// The effective menu as an indented tree of box-drawing characters, one line
// per menu and entry: marks, identifier and, where the entry's definition
// has one, its "display-name" in double quotes.
#pragma once

#include <string>

#include "EffectiveMenu.h"

namespace tree {

// Deeper levels are drawn at this indentation, with their level written out,
// so that the text grows linearly with the menu whatever its depth.
inline constexpr size_t kMaxIndent = 48;

inline constexpr char kSeeAbove[] = "(see above)";
inline constexpr char kUnreachableHeading[] = "not reached from a top menu:";
inline constexpr char kNoMenu[] = "(no menu)";
inline constexpr char kDeletedHeading[] = "deleted by \"menudelete\":";

// `color`: ANSI colours for a terminal. `definitions`: below each amended
// entry, the members its amendment added or replaced.
std::string RenderText(const velkin::EffectiveMenu& model, bool color, bool definitions = false);

}  // namespace tree
