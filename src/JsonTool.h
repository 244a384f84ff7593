// Separation driver: loads one menu definition and writes its per-menu files,
// the helper file and the providers file under the profile's resource directory.
#pragma once

#include <json-glib/json-glib.h>

#include <fstream>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "GObjectPtr.h"

class JsonTool {
public:
    JsonTool();
    ~JsonTool();
    JsonTool(const JsonTool&) = delete;
    JsonTool& operator=(const JsonTool&) = delete;

    int InitReader(const char* path);
    // Compact text of the match array of `expression`, released with g_free;
    // null when no document is loaded.
    char* GetJsonPathResult(const char* expression);
    // Releases the query and writer singletons, then the document's objects.
    void DestroyReader();
    void SeparateJsonFile(const char* path);

    std::string GetJsonProviderFilePath(const char* path);
    void WriteProviderJsonFile(const char* path);
    // Appends ,"parentitem":"<parent>" for the menu that lists `menuid` first in
    // "menutree" order; nothing for a root menu. Without `afterMember` (the node
    // holds no member yet) the leading comma is left out.
    void WriteParentMenuid(const char* file, char* menuid, std::ofstream& out,
                           bool afterMember = true);
    bool m_FlagCheckItemInList(const char* item, std::list<std::string>& list);
    void m_ModifyGroupItemsList(std::list<std::string>& groups, std::list<std::string>& result);

protected:
    // The directory output paths are formed under: the program's kResourceRoot;
    // tests derive from JsonTool to point it at a scratch directory.
    std::string m_ResourceRoot;

private:
    class Document;
    struct Run;
    struct Menu;

    // The steps of a run, in the order SeparateJsonFile takes them.
    void ReadEditLists();
    bool SeparateMenu(Run& run, char* id);
    bool ReadItemList(Menu& menu);
    bool WriteItemEntries(Run& run, Menu& menu);
    void WriteDefinition(Run& run, const std::string& item, std::string_view definition,
                         std::ofstream& out);
    void WriteAddedEntries(Run& run, Menu& menu);
    void WriteRebuiltNode(Run& run, Menu& menu);
    bool WriteCopiedNode(Menu& menu);
    void LeaveMenuNode(bool inItems);
    void IndexParents(JsonNode* root);

    GObjectPtr<JsonParser> m_pParser;
    GObjectPtr<JsonReader> m_pReader;
    GObjectPtr<JsonGenerator> m_pGenerator;
    std::list<std::string> m_MenuDeleteList;
    std::list<std::string> m_MenuAddList;
    std::list<std::string> m_MenuModifyList;

    // Hash indexes of the three edit lists (which do not change once read), so a
    // membership test costs the same however long the lists are.
    std::unordered_map<const std::list<std::string>*, std::unordered_set<std::string_view>>
        m_ListIndex;
    // Parent of every menu listed in some node's "submenuitems": the first
    // listing node in "menutree" order. Built once per run.
    std::unordered_map<std::string, std::string> m_Parents;
    bool m_ParentsIndexed = false;
};
