// The links between the menus of an effective menu: which entries open a
// menu, which item entry defines an entry, the top and the unreachable menus.
#include <string>
#include <unordered_map>

#include "EffectiveMenu.h"

namespace velkin {

void Menu::LinkDefinitions()
{
    std::unordered_map<std::string_view, size_t> byId;
    for (size_t i = 0; i < items.size(); ++i)
        byId.emplace(items[i].id, i);
    for (Entry& entry : entries) {
        auto it = byId.find(entry.id);
        entry.item = it != byId.end() ? it->second : kNoItem;
    }
}

void EffectiveMenu::Link()
{
    m_index.clear();
    for (size_t i = 0; i < menus.size(); ++i)
        m_index.emplace(menus[i].id, i);
    for (Menu& menu : menus)
        for (Entry& entry : menu.entries)
            entry.opensMenu = m_index.count(entry.id) != 0;
    std::vector<bool> reached(menus.size(), false);
    std::vector<size_t> todo;
    top.clear();
    for (size_t i = 0; i < menus.size(); ++i)
        if (!menus[i].parent) {
            top.push_back(i);
            reached[i] = true;
            todo.push_back(i);
        }
    while (!todo.empty()) {
        const size_t at = todo.back();
        todo.pop_back();
        for (const Entry& entry : menus[at].entries) {
            if (!entry.opensMenu)
                continue;
            const size_t next = m_index.at(entry.id);
            if (!reached[next]) {
                reached[next] = true;
                todo.push_back(next);
            }
        }
    }
    unreachable.clear();
    for (size_t i = 0; i < menus.size(); ++i)
        if (!reached[i])
            unreachable.push_back(i);
}

const Menu* EffectiveMenu::Find(std::string_view id) const
{
    auto it = m_index.find(std::string(id));
    return it == m_index.end() ? nullptr : &menus[it->second];
}

}  // namespace velkin
