#include "MenuFile.h"

#include <cstring>

#include "Facts.h"
#include "Fragments.h"
#include "Identifiers.h"

namespace velkin {

std::string MenuFileText(const Menu& menu)
{
    std::string text = kMenuFileOpening;
    for (size_t i = 0; i < menu.items.size(); ++i) {
        if (i != 0)
            text += ',';
        text += MemberStart(menu.items[i].id);
        text += menu.items[i].definition;
    }
    text += kMenuTreeOpening;
    text += MemberStart(menu.id);
    text += menu.node;
    if (menu.parent)
        text += ParentLink(*menu.parent, menu.nodeHasMember);
    return text + kMenuFileClosing;
}

bool NamesNeedEscape(const Menu& menu)
{
    if (NeedsEscape(menu.id))
        return true;
    for (const ItemEntry& item : menu.items)
        if (NeedsEscape(item.id))
            return true;
    for (const Entry& entry : menu.entries)
        if (NeedsEscape(entry.id))
            return true;
    return false;
}

bool MenuFileNameFits(const std::string& id)
{
    return id.size() + std::strlen(kMenuFileSuffix) <= kMaxFileNameBytes;
}

}  // namespace velkin
