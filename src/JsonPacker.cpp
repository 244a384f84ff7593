#include "JsonPacker.h"

#include "Log.h"

using namespace logpoint;

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
    std::string out = "\"submenuitems\":[";
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (it != items.begin())
            out += ',';
        out += '"';
        out += *it;
        out += '"';
    }
    out += ']';
    text = std::move(out);
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
    std::string out = "\"group\":[";
    for (auto it = groupList.begin(); it != groupList.end(); ++it) {
        auto after = std::next(it);
        const bool last = after == groupList.end();
        const std::string& next = last ? kNone : *after;
        LOG_INFO(kGroupElement, "Next[%s] Current[%s]\n", next.c_str(), it->c_str());

        if (m_IndentlevelFlag(*it)) {
            out += "{\"indent-level\":\"";
            out += *it;
            out += "\",\"group-items\":[";
        } else {
            // Items before the first level element form a group without a level.
            if (it == groupList.begin())
                out += "{\"indent-level\":\"\",\"group-items\":[";
            out += '"';
            out += *it;
            out += '"';
        }
        if (last)
            out += "]}";
        else if (m_IndentlevelFlag(next))
            out += "]},";
        else if (!m_IndentlevelFlag(*it))
            out += ',';
    }
    out += ']';
    text = std::move(out);
    LOG_INFO(kGroupDone, "INFO :%s\n", text.c_str());
    return true;
}

bool CJsonPacker::m_IndentlevelFlag(std::string value)
{
    return value == "1" || value == "0" || value == "2";
}
