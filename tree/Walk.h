// The order in which the tree views show an effective menu: each top menu
// and its entries, depth first; a sub-menu is expanded where it is first
// reached and only referred to after; then the menus no top menu reaches,
// each not shown yet drawn from its own root. The walk keeps its own stack,
// so a chain of sub-menus of any length costs no recursion.
#pragma once

#include <cstddef>

#include "EffectiveMenu.h"

namespace tree {

enum class Reach {
    Leaf,      // the entry opens no menu
    Expanded,  // opens a menu shown here for the first time: its entries follow
    Shown,     // opens a menu shown before
};

class TreeVisitor {
public:
    virtual ~TreeVisitor() = default;
    // A root: a top menu, or (after BeginUnreachable) an unreachable one.
    // `shown`: drawn before, inside another menu; no entries follow then.
    virtual void BeginRoot(size_t menu, bool shown) = 0;
    virtual void EndRoot() {}
    virtual void BeginUnreachable() {}
    // Entry `entry` of menu `menu`, `depth` levels below its root (1 for a
    // root's own entries). After an Expanded entry come the entries of the
    // menu it opens, then LeaveEntry.
    virtual void VisitEntry(size_t menu, size_t entry, size_t depth, bool last, Reach reach) = 0;
    virtual void LeaveEntry() {}
    // Entry `record` of EffectiveMenu::deletedEntries, where it stood in menu
    // `menu`'s listing; `last` as for VisitEntry.
    virtual void VisitDeleted(size_t /*menu*/, size_t /*record*/, size_t /*depth*/, bool /*last*/)
    {
    }
};

void Walk(const velkin::EffectiveMenu& model, TreeVisitor& visitor);

// The index of the menu an entry opens (the entry must open one).
size_t MenuIndex(const velkin::EffectiveMenu& model, const velkin::Entry& entry);

}  // namespace tree
