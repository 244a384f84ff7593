#include "JsonPacker.h"

#include "Fragments.h"
#include "Log.h"

using namespace logpoint;
using namespace velkin;

CJsonPacker* CJsonPacker::m_pInstance = nullptr;

CJsonPacker* CJsonPacker::GetInstance()
{
    if (m_pInstance == nullptr)
        m_pInstance = new CJsonPacker();
    return m_pInstance;
}

void CJsonPacker::ReleaseInstance()
{
    delete m_pInstance;
    m_pInstance = nullptr;
}

bool CJsonPacker::PrintSubMenuItemInfo(std::list<std::string>& items, std::string& text)
{
    if (items.empty()) {
        LOG_INFO(kSubMenuEmpty, "PrintSubMenuItemInfo\n");
        return false;
    }
    text = SubmenuItemsFragment(items);
    LOG_INFO(kSubMenuDone, "INFO: %s\n", text.c_str());
    return true;
}

bool CJsonPacker::PrintGroupInfo(std::list<std::string>& groupList, std::string& text)
{
    if (groupList.empty()) {
        LOG_INFO(kGroupEmpty, "Empty case\n");
        return false;
    }
    static const std::string kNone;
    for (auto it = groupList.begin(); it != groupList.end(); ++it) {
        auto after = std::next(it);
        const std::string& next = after == groupList.end() ? kNone : *after;
        LOG_INFO(kGroupElement, "Next[%s] Current[%s]\n", next.c_str(), it->c_str());
    }
    text = GroupFragment(groupList);
    LOG_INFO(kGroupDone, "INFO :%s\n", text.c_str());
    return true;
}

bool CJsonPacker::m_IndentlevelFlag(std::string value)
{
    return IsIndentLevel(value);
}
