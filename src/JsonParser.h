// Queries into the loaded menu definition: JSONPath look-ups, trimming of their
// results and conversion into identifier lists.
#pragma once

#include <json-glib/json-glib.h>

#include <list>
#include <string>

class CJsonParser {
public:
    static CJsonParser* GetInstance();
    static void ReleaseInstance();

    bool Create();
    bool Destory();

    // Compact text of the match array of `path` ("[]" for no match), released by
    // the caller with g_free; null when the parser or the generator is missing.
    char* FindJsonPathResult(JsonParser* parser, JsonGenerator* generator, char* path);
    // `text` without its last `count` characters; false when nothing would be kept.
    bool RemoveLastChar(const char* text, int count, std::string& out);
    // `text` without its first and last character; false when shorter than 3.
    bool RemoveFirstLastChar(const char* text, std::string& out);
    // Appends the contents of every quoted string of a match array text.
    bool m_ConvertToListNode(char* text, std::list<std::string>& list);
    // Merges the identifiers to add into a menu's item list, keeping both orders.
    bool MergeList(std::list<std::string>& addedItems, std::list<std::string>& items);

    // Reads root member `key`'s "submenuitems" strings into `list`; the reader
    // ends where it started.
    bool PaserMenuJsonFile(const char* key, std::list<std::string>& list);
    // The complete "menuitems" entry of an item: "id":definition (or the placeholder).
    bool PaserMenuItems(const char* itemId, std::string& text);
    // The members of the item's "menumodifyinfo" object, without its braces.
    bool PaserModifyItem(const char* itemId, std::string& text);
    // The identifiers of "menuaddinfo.<m_pMenuId>.list"; false when none.
    bool PaserMenuAddItem(std::list<std::string>& list);
    // The current menu node's "group" array as a group list; the reader ends on the node.
    bool PaserMenuTreeGroupFile(std::list<std::string>& groupList);

    // Borrowed from the driver for the length of a run; never released here.
    const char* m_pMenuId = nullptr;
    JsonReader* m_pReader = nullptr;
    JsonParser* m_pParser = nullptr;
    JsonGenerator* m_pGenerator = nullptr;

private:
    CJsonParser() = default;
    ~CJsonParser() = default;
    CJsonParser(const CJsonParser&) = delete;
    CJsonParser& operator=(const CJsonParser&) = delete;

    static CJsonParser* m_pInstance;
};
