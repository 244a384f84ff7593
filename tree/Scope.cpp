#include "Scope.h"

#include <deque>
#include <vector>

#include "Labels.h"
#include "Walk.h"

namespace tree {

namespace {

constexpr size_t kUnseen = static_cast<size_t>(-1);

size_t IndexOf(const velkin::EffectiveMenu& model, const std::string& id)
{
    return static_cast<size_t>(model.Find(id) - model.menus.data());
}

// Each menu's level below the nearest root (breadth first), kUnseen where
// none reaches it.
std::vector<size_t> Levels(const velkin::EffectiveMenu& model, const std::vector<size_t>& roots)
{
    std::vector<size_t> level(model.menus.size(), kUnseen);
    std::deque<size_t> todo;
    for (size_t root : roots) {
        if (level[root] != kUnseen)
            continue;
        level[root] = 0;
        todo.push_back(root);
        while (!todo.empty()) {
            const size_t at = todo.front();
            todo.pop_front();
            for (const velkin::Entry& entry : model.menus[at].entries) {
                if (!entry.opensMenu)
                    continue;
                const size_t sub = MenuIndex(model, entry);
                if (level[sub] == kUnseen) {
                    level[sub] = level[at] + 1;
                    todo.push_back(sub);
                }
            }
        }
    }
    return level;
}

std::vector<size_t> Roots(const velkin::EffectiveMenu& model, const Scope& scope)
{
    if (!scope.root.empty())
        return {IndexOf(model, scope.root)};
    std::vector<size_t> roots = model.top;
    roots.insert(roots.end(), model.unreachable.begin(), model.unreachable.end());
    return roots;
}

}  // namespace

bool ScopedMenu(const velkin::EffectiveMenu& model, const Scope& scope,
                velkin::EffectiveMenu& part, std::string& error)
{
    if (!scope.root.empty() && model.Find(scope.root) == nullptr) {
        error = "no menu '" + Printable(scope.root) + "' is written";
        return false;
    }
    const std::vector<size_t> level = Levels(model, Roots(model, scope));
    part.profile = model.profile;
    part.providers = model.providers;
    part.edits = model.edits;
    part.amendments = model.amendments;
    for (size_t m = 0; m < model.menus.size(); ++m)
        if (level[m] != kUnseen && (scope.depth == 0 || level[m] < scope.depth)) {
            part.menuTree.push_back(model.menus[m].id);
            part.menus.push_back(model.menus[m]);
        }
    part.Link();
    for (const velkin::DeletedEntry& deleted : model.deletedEntries)
        if (part.Find(deleted.menu) != nullptr)
            part.deletedEntries.push_back(deleted);
    if (scope.root.empty())
        part.deletedMenus = model.deletedMenus;
    if (!scope.root.empty()) {
        part.top = {IndexOf(part, scope.root)};
        part.unreachable.clear();
    }
    return true;
}

}  // namespace tree
