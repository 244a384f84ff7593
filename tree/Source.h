// What the viewer draws, loaded from a path: a menu definition, read once and
// parsed as the splitter parses it, gives its effective menu; a directory is
// read back as a profile directory the splitter wrote.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "EffectiveMenu.h"

namespace tree {

// Standard input, as a path.
inline constexpr char kStandardInput[] = "-";

struct Loaded {
    velkin::EffectiveMenu model;
    std::vector<std::string> warnings;  // one line each: files left out of a directory
};

// False, with one line saying why (the path first), when nothing can be drawn.
bool LoadMenus(const std::string& path, Loaded& out, std::string& error);

// The effective menu of a definition's text; the path selects the profile.
bool LoadDefinition(std::string_view text, const std::string& path, velkin::EffectiveMenu& model,
                    std::string& error);

}  // namespace tree
