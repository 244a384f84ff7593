// The text of a menu file as the splitter writes it, from the effective
// menu: rendered in memory so that the checker can read every file back
// without writing it, and the model test writes the same text to disk.
#pragma once

#include <cstddef>
#include <string>

#include "EffectiveMenu.h"

namespace velkin {

// The longest file name component a file system takes, in bytes.
inline constexpr size_t kMaxFileNameBytes = 255;

// "{"menuitems": {<items>},"menutree": {"<id>": <node>[parent link]}}}".
std::string MenuFileText(const Menu& menu);

// Whether an identifier the menu's file names (the menu's, an item's or an
// entry's) needs an escape the splitter does not write.
bool NamesNeedEscape(const Menu& menu);

// Whether the file of a menu named `id` can be created: its name
// "<id>.json" fits in one file name component.
bool MenuFileNameFits(const std::string& id);

}  // namespace velkin
