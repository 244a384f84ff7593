#include "JsonTool.h"

#include <cstdio>
#include <cstring>

#include "Decisions.h"
#include "Document.h"
#include "Facts.h"
#include "Fragments.h"
#include "JsonPacker.h"
#include "JsonParser.h"
#include "JsonPathText.h"
#include "JsonToolRun.h"
#include "Log.h"
#include "OutputFiles.h"
#include "Profiles.h"
#include "ReaderCursor.h"

using namespace logpoint;
using namespace velkin;

JsonTool::JsonTool() : m_ResourceRoot(kResourceRoot) {}

JsonTool::~JsonTool()
{
    m_ListIndex.clear();
    m_MenuModifyList.clear();
    m_MenuAddList.clear();
    m_MenuDeleteList.clear();
}

int JsonTool::InitReader(const char* path)
{
    m_pParser.reset(json_parser_new());
    m_pReader.reset(json_reader_new(nullptr));
    m_pGenerator.reset(json_generator_new());

    std::printf("Initial Json[%s] \n", path);

    // The file is read once, so a pipe is read like a regular file. A
    // definition nested too deep, or holding no value, is refused like a
    // malformed one.
    g_autofree gchar* text = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path, &text, &length, nullptr))
        return -1;
    if (ParseDefinition(m_pParser.get(), std::string_view(text, length)).status !=
        LoadStatus::Loaded)
        return -1;
    json_reader_set_root(m_pReader.get(), json_parser_get_root(m_pParser.get()));
    return 0;
}

char* JsonTool::GetJsonPathResult(const char* expression)
{
    if (m_pParser == nullptr || m_pGenerator == nullptr)
        return nullptr;
    return JsonPathMatchText(json_parser_get_root(m_pParser.get()), m_pGenerator.get(), expression);
}

void JsonTool::DestroyReader()
{
    CJsonParser::ReleaseInstance();
    CJsonPacker::ReleaseInstance();
    m_pParser.reset();
    m_pReader.reset();
    m_pGenerator.reset();
}

std::string JsonTool::GetJsonProviderFilePath(const char* path)
{
    const std::string result = ProvidersFilePath(m_ResourceRoot, FindProfile(path));
    LOG_INFO(kProviderPath, "path:%s , json_provider_file:%s\n", path, result.c_str());
    return result;
}

void JsonTool::WriteProviderJsonFile(const char* path)
{
    std::ofstream out(GetJsonProviderFilePath(path));
    // The opening goes out before the query: an opened file always starts with it.
    Write(out, kProvidersOpening);
    QueryText result(GetJsonPathResult(kProvidersQuery));
    const std::string_view providers = UnwrapMatch(result.text);
    // Without a "providers" member the file still holds valid JSON.
    Write(out, providers.empty() ? kNoProviders : providers);
    Write(out, kProvidersClosing);
}

void JsonTool::IndexParents(JsonNode* root)
{
    m_Parents = ParentIndex(root);
    m_ParentsIndexed = true;
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
    Write(out, ParentLink(parent->second, afterMember));
}

bool JsonTool::m_FlagCheckItemInList(const char* item, std::list<std::string>& list)
{
    if (item == nullptr)
        return false;
    bool found = false;
    auto index = m_ListIndex.find(&list);
    if (index != m_ListIndex.end()) {
        found = index->second.count(item) != 0;
    } else {
        const std::string_view wanted(item);
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

// The delete, add and modify lists, each hash-indexed once read.
void JsonTool::ReadEditLists()
{
    CJsonParser* query = CJsonParser::GetInstance();
    query->PaserMenuJsonFile(kMenuDelete, m_MenuDeleteList);
    query->PaserMenuJsonFile(kMenuAdd, m_MenuAddList);
    query->PaserMenuJsonFile(kMenuModify, m_MenuModifyList);
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
    Document document(*this, path);
    if (!document.Loaded())
        return;
    WriteProviderJsonFile(path);

    document.Lend();
    ReadEditLists();

    // A missing "menutree" leaves the reader on the root with an error pending,
    // and json-glib would then count the root's members: take no menu instead.
    MenuNames menus;
    menus.entered = json_reader_read_member(m_pReader.get(), kMenuTree);
    if (menus.entered) {
        menus.count = json_reader_count_members(m_pReader.get());
        menus.names = json_reader_list_members(m_pReader.get());
        if (menus.names == nullptr)
            menus.count = 0;
    }

    Run run(path, m_ResourceRoot);
    IndexParents(json_parser_get_root(m_pParser.get()));
    run.packer = CJsonPacker::GetInstance();
    for (int i = 0; i < menus.count; ++i) {
        // Without a query result the run stops where it stands: the open files
        // are closed as they are, without their closing text.
        if (!SeparateMenu(run, menus.names[i]))
            return;
    }

    if (menus.entered)
        LeaveMember(m_pReader.get());
    else
        ClearFailedStep(m_pReader.get());
    run.helperEntries.Close();
    run.helper.close();
}

// One menu of "menutree": its file, its items' helper entries. False when the
// run has to stop.
bool JsonTool::SeparateMenu(Run& run, char* id)
{
    if (m_FlagCheckItemInList(id, m_MenuDeleteList)) {
        std::printf("No needs to create json files [%s] \n", id);
        return true;
    }
    Menu menu(id, MenuFilePath(m_ResourceRoot, run.profile, id));
    json_reader_read_member(m_pReader.get(), id);
    LOG_INFO(kPrepare, "###Prepare [%s]###\n", id);
    run.query->m_pMenuId = id;
    run.query->PaserMenuTreeGroupFile(menu.groups);
    const bool inItems = ReadItemList(menu);

    if (!WriteItemEntries(run, menu))
        return false;
    WriteAddedEntries(run, menu);
    menu.entries.Close();
    if (menu.rebuild)
        WriteRebuiltNode(run, menu);
    else if (!WriteCopiedNode(menu))
        return false;
    WriteParentMenuid(run.path, id, menu.file, menu.nodeHasMember);
    Write(menu.file, kMenuFileClosing);
    menu.file.close();

    LeaveMenuNode(inItems);
    LOG_INFO(kPrepareEnd, "####Prepare [%s] End###\n", id);
    return true;
}

// The node's "submenuitems" strings, without deleted items. True when the
// reader stepped into "submenuitems".
bool JsonTool::ReadItemList(Menu& menu)
{
    JsonReader* reader = m_pReader.get();
    const bool inItems = json_reader_read_member(reader, kSubmenuItems);
    if (!inItems || !json_reader_is_array(reader))
        return inItems;
    ForEachStringElement(reader, [&](const char* item) {
        if (m_FlagCheckItemInList(item, m_MenuDeleteList)) {
            LOG_INFO(kDontCopy, "Don't Copy MenuItem[%s]\n", item);
            menu.rebuild = true;
        } else {
            menu.items.emplace_back(item);
        }
    });
    return inItems;
}

// "item":definition for every listed item, with its helper entry first.
bool JsonTool::WriteItemEntries(Run& run, Menu& menu)
{
    char query[kDriverQuerySize];
    for (const std::string& item : menu.items) {
        run.WriteHelperEntry(item, menu.id);
        std::snprintf(query, sizeof query, kItemQuery, item.c_str());
        QueryText result(GetJsonPathResult(query));
        if (result.text == nullptr)
            return false;
        std::ofstream& out = menu.entries.Next();
        Write(out, MemberStart(item));
        const std::string_view definition = UnwrapMatch(result.text);
        if (definition.empty()) {
            std::printf("Devel Rpm is missing,Please confirm!!!:sid [%s] \n", item.c_str());
            Write(out, kPlaceholderDefinition);
        } else {
            WriteDefinition(run, item, definition, out);
        }
    }
    return true;
}

// The definition as it is or, for an item to amend, with the amendment's
// members and the modify marker before its closing brace. Only an object
// definition can take further members.
void JsonTool::WriteDefinition(Run& run, const std::string& item, std::string_view definition,
                               std::ofstream& out)
{
    std::string amendment;
    const bool listed = m_FlagCheckItemInList(item.c_str(), m_MenuModifyList);
    const bool found = listed && run.query->PaserModifyItem(item.c_str(), amendment);
    if (!IsAmended(listed, found, definition)) {
        Write(out, definition);
        return;
    }
    std::string open;
    run.query->RemoveLastChar(std::string(definition).c_str(), 1, open);
    Write(out, AmendDefinition(open, amendment));
}

// The entries of the items "menuaddinfo" adds to this menu, merged into its
// item list.
void JsonTool::WriteAddedEntries(Run& run, Menu& menu)
{
    std::list<std::string> added;
    if (!(m_FlagCheckItemInList(menu.id, m_MenuAddList) && run.query->PaserMenuAddItem(added)))
        return;
    for (const std::string& id : added) {
        if (m_FlagCheckItemInList(id.c_str(), menu.items))
            continue;
        std::string entry;
        if (!run.query->PaserMenuItems(id.c_str(), entry))
            continue;
        Write(menu.entries.Next(), entry);
        run.WriteHelperEntry(id, menu.id);
    }
    run.query->MergeList(added, menu.items);
    menu.rebuild = true;
}

// "menu":{"submenuitems":[...],"group":[...] from the item list and the groups
// that keep their place, left open for the parent link.
void JsonTool::WriteRebuiltNode(Run& run, Menu& menu)
{
    std::string submenu;
    run.packer->PrintSubMenuItemInfo(menu.items, submenu);
    std::list<std::string> kept;
    m_ModifyGroupItemsList(menu.groups, kept);
    std::string group;
    run.packer->PrintGroupInfo(kept, group);
    const OpenedNode node = JoinRebuiltNode(submenu, group);
    Write(menu.file, MemberStart(menu.id));
    Write(menu.file, node.text);
    menu.nodeHasMember = node.hasMember;
}

// "menu":{<the node's members> copied from the definition, left open for the
// parent link. A node that is not an object becomes one without members.
bool JsonTool::WriteCopiedNode(Menu& menu)
{
    char query[kDriverQuerySize];
    std::snprintf(query, sizeof query, kMenuQuery, menu.id);
    QueryText result(GetJsonPathResult(query));
    if (result.text == nullptr)
        return false;
    const OpenedNode node = CopiedNode(result.text);
    Write(menu.file, MemberStart(menu.id));
    Write(menu.file, node.text);
    menu.nodeHasMember = node.hasMember;
    return true;
}

// Back out of "submenuitems" (clearing the error of a failed step into it)
// and out of the menu node.
void JsonTool::LeaveMenuNode(bool inItems)
{
    if (inItems)
        LeaveMember(m_pReader.get());
    else
        ClearFailedStep(m_pReader.get());
    LeaveMember(m_pReader.get());
}
