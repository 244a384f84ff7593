// Renders identifier lists as the "submenuitems" and "group" members of a menu node.
#pragma once

#include <list>
#include <string>

class CJsonPacker {
public:
    static CJsonPacker* GetInstance();
    static void ReleaseInstance();

    // "submenuitems":["a","b"]; false (text untouched) for an empty list.
    bool PrintSubMenuItemInfo(std::list<std::string>& items, std::string& text);
    // "group":[{"indent-level":"1","group-items":[...]},...] from a group list
    // (level elements "0", "1", "2" open groups); false for an empty list.
    bool PrintGroupInfo(std::list<std::string>& groupList, std::string& text);
    // True when value is a level element: exactly "0", "1" or "2".
    bool m_IndentlevelFlag(std::string value);

private:
    CJsonPacker() = default;
    ~CJsonPacker() = default;
    CJsonPacker(const CJsonPacker&) = delete;
    CJsonPacker& operator=(const CJsonPacker&) = delete;

    static CJsonPacker* m_pInstance;
};
