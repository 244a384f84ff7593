// A part of an effective menu, for drawings too large to take whole: one menu
// and what it opens (--root), down to a number of levels (--depth, as
// tree -L counts them: a root's own entries are level 1).
#pragma once

#include <cstddef>
#include <string>

#include "EffectiveMenu.h"

namespace tree {

struct Scope {
    std::string root;  // empty: every top menu, then the menus none reaches
    size_t depth = 0;  // 0: no limit
    bool Whole() const { return root.empty() && depth == 0; }
};

// The menus of `model` within `scope`, each whole: an entry that opens a menu
// left out opens none in the part. The root is the part's one top menu. False,
// with `error`, when no menu is named `scope.root`.
bool ScopedMenu(const velkin::EffectiveMenu& model, const Scope& scope,
                velkin::EffectiveMenu& part, std::string& error);

}  // namespace tree
