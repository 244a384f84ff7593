#include "JsonTool.h"

#include <cstdio>
#include <cstring>

#include "JsonPacker.h"
#include "JsonParser.h"
#include "JsonPathText.h"
#include "Log.h"
#include "NestingCheck.h"
#include "OutputFiles.h"
#include "ReaderCursor.h"

using namespace logpoint;

namespace {

// The driver formats its JSONPath expressions into 1024 bytes; longer ones are cut.
constexpr size_t kQuerySize = 1024;

const char kModifyMarker[] = ",\"modify\":\"true\"";

// Writes "id":"menu" to the helper file, after a comma unless it is the first entry.
void WriteHelperEntry(std::ofstream& helper, bool& firstEntry, const char* item, const char* menu)
{
    if (!firstEntry)
        Write(helper, ",");
    firstEntry = false;
    Write(helper, "\"");
    Write(helper, item);
    Write(helper, "\":\"");
    Write(helper, menu);
    Write(helper, "\"");
}

}  // namespace

JsonTool::JsonTool()
    : m_pParser(nullptr), m_pReader(nullptr), m_pGenerator(nullptr), m_ResourceRoot(kResourceRoot)
{
}

JsonTool::~JsonTool()
{
    m_ListIndex.clear();
    m_MenuModifyList.clear();
    m_MenuAddList.clear();
    m_MenuDeleteList.clear();
}

int JsonTool::InitReader(const char* path)
{
    m_pParser = json_parser_new();
    m_pReader = json_reader_new(nullptr);
    m_pGenerator = json_generator_new();

    std::printf("Initial Json[%s] \n", path);

    // The file is read once, so a pipe is read like a regular file.
    g_autofree gchar* text = nullptr;
    gsize length = 0;
    GError* error = nullptr;
    if (!g_file_get_contents(path, &text, &length, &error)) {
        g_error_free(error);
        return -1;
    }
    // Refused like a malformed file, before json-glib's recursion can overflow.
    if (NestsTooDeep(std::string_view(text, length)))
        return -1;
    if (!json_parser_load_from_data(m_pParser, text, static_cast<gssize>(length), &error)) {
        g_error_free(error);
        return -1;
    }
    // An empty or blank file parses without error but holds no document.
    JsonNode* root = json_parser_get_root(m_pParser);
    if (root == nullptr)
        return -1;
    json_reader_set_root(m_pReader, root);
    return 0;
}

char* JsonTool::GetJsonPathResult(const char* expression)
{
    if (m_pParser == nullptr || m_pGenerator == nullptr)
        return nullptr;
    return JsonPathMatchText(json_parser_get_root(m_pParser), m_pGenerator, expression);
}

void JsonTool::DestroyReader()
{
    CJsonParser::ReleaseInstance();
    CJsonPacker::ReleaseInstance();
    if (m_pParser != nullptr) {
        g_object_unref(m_pParser);
        m_pParser = nullptr;
    }
    if (m_pReader != nullptr) {
        g_object_unref(m_pReader);
        m_pReader = nullptr;
    }
    if (m_pGenerator != nullptr) {
        g_object_unref(m_pGenerator);
        m_pGenerator = nullptr;
    }
}

std::string JsonTool::GetJsonProviderFilePath(const char* path)
{
    const std::string result = ProvidersFilePath(m_ResourceRoot, FindProfile(path));
    LOG_INFO(kProviderPath, "path:%s , json_provider_file:%s\n", path, result.c_str());
    return result;
}

void JsonTool::SelectProfile(const char* path, std::string& profileDir, std::string& helperPath)
{
    if (const Profile* profile = FindProfile(path)) {
        profileDir = profile->dir;
        helperPath = HelperFilePath(m_ResourceRoot, profile);
    }
}

void JsonTool::WriteProviderJsonFile(const char* path)
{
    std::ofstream out(GetJsonProviderFilePath(path));
    // The opening goes out before the query: an opened file always starts with it.
    Write(out, "{\"providers\":");
    QueryText result(GetJsonPathResult("$.providers"));
    const size_t n = result.text != nullptr ? std::strlen(result.text) : 0;
    if (n >= 3)
        Write(out, std::string_view(result.text + 1, n - 2));
    else
        Write(out, "null");  // no "providers" member: keep the file valid JSON
    Write(out, "}");
}

void JsonTool::IndexParents(JsonNode* root)
{
    m_Parents.clear();
    m_ParentsIndexed = true;
    if (root == nullptr || !JSON_NODE_HOLDS_OBJECT(root))
        return;
    JsonObject* document = json_node_get_object(root);
    JsonNode* tree = json_object_get_member(document, "menutree");
    if (tree == nullptr || !JSON_NODE_HOLDS_OBJECT(tree))
        return;
    JsonObject* menus = json_node_get_object(tree);
    GList* names = json_object_get_members(menus);
    for (GList* l = names; l != nullptr; l = l->next) {
        const char* menu = static_cast<const char*>(l->data);
        JsonNode* node = json_object_get_member(menus, menu);
        if (!JSON_NODE_HOLDS_OBJECT(node))
            continue;
        JsonNode* children = json_object_get_member(json_node_get_object(node), "submenuitems");
        if (children == nullptr || !JSON_NODE_HOLDS_ARRAY(children))
            continue;
        JsonArray* array = json_node_get_array(children);
        const guint length = json_array_get_length(array);
        for (guint i = 0; i < length; ++i) {
            JsonNode* element = json_array_get_element(array, i);
            if (json_node_get_value_type(element) != G_TYPE_STRING)
                continue;
            // The first listing menu wins; later ones leave the entry alone.
            m_Parents.emplace(json_node_get_string(element), menu);
        }
    }
    g_list_free(names);
}

void JsonTool::WriteParentMenuid(const char* file, char* menuid, std::ofstream& out,
                                 bool afterMember)
{
    if (!m_ParentsIndexed) {
        // Called on its own: read the definition from the file.
        g_autoptr(JsonParser) parser = json_parser_new();
        if (!json_parser_load_from_file(parser, file, nullptr))
            return;
        IndexParents(json_parser_get_root(parser));
    }
    if (menuid == nullptr)
        return;
    auto parent = m_Parents.find(menuid);
    if (parent == m_Parents.end())
        return;
    if (afterMember)
        Write(out, ",");
    Write(out, "\"parentitem\":\"");
    Write(out, parent->second);
    Write(out, "\"");
}

bool JsonTool::m_FlagCheckItemInList(const char* item, std::list<std::string>& list)
{
    if (item == nullptr)
        return false;
    bool found;
    auto index = m_ListIndex.find(&list);
    if (index != m_ListIndex.end()) {
        found = index->second.count(item) != 0;
    } else {
        const std::string_view wanted(item);
        found = false;
        for (const std::string& element : list)
            if (element == wanted) {
                found = true;
                break;
            }
    }
    if (found)
        LOG_INFO(kFound, "found [%s]\n", item);
    return found;
}

void JsonTool::m_ModifyGroupItemsList(std::list<std::string>& groups,
                                      std::list<std::string>& result)
{
    if (groups.empty()) {
        LOG_INFO(kGroupsEmpty, "Empty case\n");
        return;
    }
    for (const std::string& entry : groups) {
        if (m_FlagCheckItemInList(entry.c_str(), m_MenuDeleteList)) {
            LOG_INFO(kGroupRemove, "remove[%s]\n", entry.c_str());
        } else {
            LOG_INFO(kGroupKeep, "add [%s]\n", entry.c_str());
            result.push_back(entry);
        }
    }
}

void JsonTool::IndexEditLists()
{
    for (std::list<std::string>* list : {&m_MenuDeleteList, &m_MenuAddList, &m_MenuModifyList}) {
        auto& index = m_ListIndex[list];
        index.clear();
        for (const std::string& id : *list)
            index.insert(id);
    }
}

void JsonTool::SeparateJsonFile(const char* path)
{
    LOG_INFO(kRunPath, "path:%s \n", path);

    char query[kQuerySize] = {};
    std::ofstream helper;
    std::ofstream menuFile;
    std::string profileDir;
    std::string helperPath;
    std::string menuPath;

    if (InitReader(path) == -1) {
        DestroyReader();
        return;
    }

    WriteProviderJsonFile(path);

    CJsonParser* query_parser = CJsonParser::GetInstance();
    query_parser->m_pGenerator = m_pGenerator;
    query_parser->m_pParser = m_pParser;
    query_parser->m_pReader = m_pReader;
    query_parser->PaserMenuJsonFile("menudelete", m_MenuDeleteList);
    query_parser->PaserMenuJsonFile("menuadd", m_MenuAddList);
    query_parser->PaserMenuJsonFile("menumodify", m_MenuModifyList);
    IndexEditLists();

    // A missing "menutree" leaves the reader on the root with an error pending,
    // and json-glib would then count the root's members: take no menu instead.
    const bool inTree = json_reader_read_member(m_pReader, "menutree");
    int count = 0;
    gchar** menus = nullptr;
    if (inTree) {
        count = json_reader_count_members(m_pReader);
        menus = json_reader_list_members(m_pReader);
        if (menus == nullptr)
            count = 0;
    }

    SelectProfile(path, profileDir, helperPath);
    helper.open(helperPath);
    Write(helper, "{");
    bool firstHelperEntry = true;

    IndexParents(json_parser_get_root(m_pParser));
    CJsonPacker* packer = CJsonPacker::GetInstance();
    std::list<std::string> items;
    std::list<std::string> groups;
    std::list<std::string> added;

    // Without a query result the run stops where it stands: the open files are
    // closed as they are, without their closing text.
    auto abandon = [&] {
        DestroyReader();
        items.clear();
        g_strfreev(menus);
    };

    for (int i = 0; i < count; ++i) {
        char* menu = menus[i];
        bool rebuild = false;

        if (m_FlagCheckItemInList(menu, m_MenuDeleteList)) {
            std::printf("No needs to create json files [%s] \n", menu);
            continue;
        }

        menuPath = m_ResourceRoot + "/" + profileDir + "/" + menu + ".json";
        menuFile.open(menuPath);
        Write(menuFile, "{\"menuitems\": {");

        json_reader_read_member(m_pReader, menu);
        LOG_INFO(kPrepare, "###Prepare [%s]###\n", menu);

        query_parser->m_pMenuId = menu;
        query_parser->PaserMenuTreeGroupFile(groups);

        const bool inItems = json_reader_read_member(m_pReader, "submenuitems");
        items.clear();
        if (inItems && json_reader_is_array(m_pReader)) {
            const int n = json_reader_count_elements(m_pReader);
            for (int j = 0; j < n; ++j) {
                json_reader_read_element(m_pReader, static_cast<guint>(j));
                const char* item = json_reader_get_string_value(m_pReader);
                if (item != nullptr) {
                    if (m_FlagCheckItemInList(item, m_MenuDeleteList)) {
                        LOG_INFO(kDontCopy, "Don't Copy MenuItem[%s]\n", item);
                        rebuild = true;
                    } else {
                        items.emplace_back(item);
                    }
                }
                LeaveElement(m_pReader);
            }
        }

        bool firstItemEntry = true;
        for (const std::string& item : items) {
            WriteHelperEntry(helper, firstHelperEntry, item.c_str(), menu);

            std::snprintf(query, sizeof query, "$.menuitems.%s", item.c_str());
            QueryText result(GetJsonPathResult(query));
            if (result.text == nullptr)
                return abandon();
            if (!firstItemEntry)
                Write(menuFile, ",");
            firstItemEntry = false;
            Write(menuFile, "\"");
            Write(menuFile, item);
            Write(menuFile, "\":");

            const size_t n = std::strlen(result.text);
            if (n <= 2) {
                std::printf("Devel Rpm is missing,Please confirm!!!:sid [%s] \n", item.c_str());
                Write(menuFile, kPlaceholderDefinition);
                continue;
            }
            const std::string definition(result.text + 1, n - 2);
            std::string amendment;
            // Only an object definition can take further members before its brace.
            if (m_FlagCheckItemInList(item.c_str(), m_MenuModifyList) &&
                query_parser->PaserModifyItem(item.c_str(), amendment) && definition[0] == '{') {
                std::string open;
                query_parser->RemoveLastChar(definition.c_str(), 1, open);
                Write(menuFile, open);
                if (open != "{")
                    Write(menuFile, ",");
                Write(menuFile, amendment);
                Write(menuFile, kModifyMarker);
                Write(menuFile, "}");
            } else {
                Write(menuFile, definition);
            }
        }

        if (m_FlagCheckItemInList(menu, m_MenuAddList) && query_parser->PaserMenuAddItem(added)) {
            for (const std::string& id : added) {
                if (m_FlagCheckItemInList(id.c_str(), items))
                    continue;
                std::string entry;
                if (!query_parser->PaserMenuItems(id.c_str(), entry))
                    continue;
                if (!firstItemEntry)
                    Write(menuFile, ",");
                firstItemEntry = false;
                Write(menuFile, entry);
                WriteHelperEntry(helper, firstHelperEntry, id.c_str(), menu);
            }
            query_parser->MergeList(added, items);
            rebuild = true;
        }

        Write(menuFile, "},");
        Write(menuFile, "\"menutree\": {");

        bool nodeHasMember;
        if (rebuild) {
            std::string submenu;
            packer->PrintSubMenuItemInfo(items, submenu);
            Write(menuFile, "\"");
            Write(menuFile, menu);
            Write(menuFile, "\":{");
            Write(menuFile, submenu);
            nodeHasMember = !submenu.empty();

            std::list<std::string> kept;
            m_ModifyGroupItemsList(groups, kept);
            std::string group;
            if (packer->PrintGroupInfo(kept, group)) {
                if (nodeHasMember)
                    Write(menuFile, ",");
                Write(menuFile, group);
                nodeHasMember = true;
            }
        } else {
            std::snprintf(query, sizeof query, "$.menutree.%s", menu);
            QueryText result(GetJsonPathResult(query));
            if (result.text == nullptr)
                return abandon();
            Write(menuFile, "\"");
            Write(menuFile, menu);
            Write(menuFile, "\":");
            const size_t n = std::strlen(result.text);
            // The node is written open, without its closing brace. A node that is
            // not an object (or not found) becomes an object without members.
            if (n > 2 && result.text[1] == '{') {
                Write(menuFile, std::string_view(result.text + 1, n - 3));
                nodeHasMember = n - 3 > 1;
            } else {
                Write(menuFile, "{");
                nodeHasMember = false;
            }
        }

        WriteParentMenuid(path, menu, menuFile, nodeHasMember);
        Write(menuFile, "}}}");
        menuFile.close();

        // Back out of "submenuitems" (clearing the error of a failed step into
        // it) and out of the menu node.
        if (inItems)
            LeaveMember(m_pReader);
        else
            ClearFailedStep(m_pReader);
        LeaveMember(m_pReader);
        LOG_INFO(kPrepareEnd, "####Prepare [%s] End###\n", menu);

        items.clear();
        added.clear();
        groups.clear();
    }

    if (inTree)
        LeaveMember(m_pReader);
    else
        ClearFailedStep(m_pReader);
    g_strfreev(menus);

    Write(helper, "}");
    helper.close();

    query_parser->m_pReader = nullptr;
    query_parser->m_pParser = nullptr;
    query_parser->m_pGenerator = nullptr;
    DestroyReader();
}
