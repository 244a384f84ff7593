#include "JsonParser.h"

#include <cstdio>
#include <cstring>

#include "Decisions.h"
#include "Facts.h"
#include "Fragments.h"
#include "JsonPathText.h"
#include "Log.h"
#include "ReaderCursor.h"

using namespace logpoint;
using namespace velkin;

namespace {

// Appends group `i` of the current menu to a group list: its level, then its
// items, each looked up by JSONPath.
void ReadGroup(CJsonParser& parser, int i, std::list<std::string>& groupList)
{
    char query[kGroupQuerySize] = {};
    std::snprintf(query, sizeof query, kGroupQuery, parser.m_pMenuId, kGroup, i, kIndentLevel);
    QueryText level(parser.FindJsonPathResult(parser.m_pParser, parser.m_pGenerator, query));
    if (level.text == nullptr) {
        LOG_INFO(kGroupLevelInvalid, "invaild indent-level\n");
        return;
    }
    LOG_INFO(kGroupLevel, "Indent-level Add: %s\n", level.text);
    parser.m_ConvertToListNode(level.text, groupList);

    std::snprintf(query, sizeof query, kGroupQuery, parser.m_pMenuId, kGroup, i, kGroupItems);
    QueryText items(parser.FindJsonPathResult(parser.m_pParser, parser.m_pGenerator, query));
    if (items.text == nullptr) {
        LOG_INFO(kGroupItemsInvalid, "invaild\n");
        return;
    }
    LOG_INFO(kGroupItemsResult, "Groupitems Add :%s\n", items.text);
    parser.m_ConvertToListNode(items.text, groupList);
}

}  // namespace

CJsonParser* CJsonParser::m_pInstance = nullptr;

CJsonParser* CJsonParser::GetInstance()
{
    if (m_pInstance == nullptr)
        m_pInstance = new CJsonParser();
    return m_pInstance;
}

void CJsonParser::ReleaseInstance()
{
    delete m_pInstance;
    m_pInstance = nullptr;
}

bool CJsonParser::Create()
{
    return true;
}

bool CJsonParser::Destory()
{
    return true;
}

char* CJsonParser::FindJsonPathResult(JsonParser* parser, JsonGenerator* generator, char* path)
{
    if (parser == nullptr || generator == nullptr) {
        LOG_INFO(kFindNull, "Null\n");
        return nullptr;
    }
    return JsonPathMatchText(json_parser_get_root(parser), generator, path);
}

bool CJsonParser::RemoveLastChar(const char* text, int count, std::string& out)
{
    if (text == nullptr) {
        LOG_INFO(kLastNull, "Null\n");
        return false;
    }
    const size_t n = std::strlen(text);
    // A negative count, taken as unsigned, is never below the length.
    if (static_cast<size_t>(static_cast<unsigned>(count)) >= n) {
        LOG_INFO(kLastLenError, "len error[%d]\n", static_cast<int>(n));
        return false;
    }
    std::string kept(text, n - static_cast<unsigned>(count));
    LOG_INFO(kLastString, "String :%s\n", kept.c_str());
    out = std::move(kept);
    return true;
}

bool CJsonParser::RemoveFirstLastChar(const char* text, std::string& out)
{
    if (text == nullptr) {
        LOG_INFO(kFirstLastNull, "Null\n");
        return false;
    }
    const size_t n = std::strlen(text);
    if (n <= 2) {
        LOG_INFO(kFirstLastLenError, "len error[%d]\n", static_cast<int>(n));
        return false;
    }
    std::string kept(text + 1, n - 2);
    LOG_INFO(kFirstLastString, "String :%s\n", kept.c_str());
    out = std::move(kept);
    return true;
}

bool CJsonParser::m_ConvertToListNode(char* text, std::list<std::string>& list)
{
    if (text == nullptr) {
        LOG_INFO(kConvertFailed, "failed\n");
        return false;
    }
    if (std::strcmp(text, "[]") == 0 || std::strcmp(text, "[\n]") == 0) {
        LOG_INFO(kConvertEmpty, "invaild array\n");
        return false;
    }
    for (std::string& entry : QuotedStrings(text)) {
        LOG_INFO(kConvertAdd, "Groupitems Add: %s\n", entry.c_str());
        list.push_back(std::move(entry));
    }
    return true;
}

bool CJsonParser::MergeList(std::list<std::string>& addedItems, std::list<std::string>& items)
{
    std::vector<Merged> merged = MergeAdded(addedItems, items);
    LOG_INFO(kMergeAfter, "After\n");
    items.clear();
    for (Merged& element : merged) {
        LOG_INFO(kMergeElement, "%s\n", element.id.c_str());
        items.push_back(std::move(element.id));
    }
    return true;
}

bool CJsonParser::PaserMenuJsonFile(const char* key, std::list<std::string>& list)
{
    if (key == nullptr || m_pReader == nullptr) {
        LOG_INFO(kListKeyNull, "Null\n");
        return false;
    }
    LOG_INFO(kListKey, "m_PaserMenuJsonFile key: %s\n", key);

    if (!json_reader_read_member(m_pReader, key)) {
        LOG_ERROR(kListReadErr, "Read ERR [%s] \n", key);
        ClearFailedStep(m_pReader);
        return false;
    }
    if (!json_reader_read_member(m_pReader, kSubmenuItems)) {
        LOG_INFO(kListNoSubmenu, "Read ERR submenuitems\n");
        ClearFailedStep(m_pReader);
        LeaveMember(m_pReader);
        return false;
    }
    if (!json_reader_is_array(m_pReader)) {
        LOG_INFO(kListNotArray, "Not Array\n");
        LeaveMember(m_pReader);
        LeaveMember(m_pReader);
        return false;
    }
    ForEachStringElement(m_pReader, [&](const char* value) {
        LOG_INFO(kListAdd, "Add to List: %s\n", value);
        list.emplace_back(value);
    });
    LeaveMember(m_pReader);
    LeaveMember(m_pReader);
    return true;
}

bool CJsonParser::PaserMenuItems(const char* itemId, std::string& text)
{
    if (itemId == nullptr) {
        LOG_INFO(kItemsNull, "Null\n");
        return false;
    }
    char query[kLookupQuerySize] = {};
    std::snprintf(query, sizeof query, kItemQuery, itemId);
    QueryText result(FindJsonPathResult(m_pParser, m_pGenerator, query));
    if (result.text == nullptr) {
        LOG_INFO(kItemsFailed, "Failed\n");
        return false;
    }
    std::string entry = MemberStart(itemId);
    std::string definition;
    if (RemoveFirstLastChar(result.text, definition))
        entry += definition;
    else
        entry += kPlaceholderDefinition;
    text = std::move(entry);
    LOG_INFO(kItemsEntry, "INFO: %s\n", text.c_str());
    return true;
}

bool CJsonParser::PaserModifyItem(const char* itemId, std::string& text)
{
    if (itemId == nullptr) {
        LOG_INFO(kModifyNull, "Null\n");
        return false;
    }
    char query[kLookupQuerySize] = {};
    std::snprintf(query, sizeof query, kAmendmentQuery, itemId);
    QueryText result(FindJsonPathResult(m_pParser, m_pGenerator, query));
    if (result.text == nullptr) {
        LOG_INFO(kModifyFailed, "Failed\n");
        return false;
    }
    std::string kept;
    switch (ReadAmendment(result.text, kept)) {
    case AmendmentStatus::TooShort:
        LOG_INFO(kModifyLenError, "len error[%d]\n", static_cast<int>(std::strlen(result.text)));
        return false;
    case AmendmentStatus::NotObject: return false;
    case AmendmentStatus::Found: break;
    }
    LOG_INFO(kModifyString, "String :%s\n", kept.c_str());
    text = std::move(kept);
    return true;
}

bool CJsonParser::PaserMenuAddItem(std::list<std::string>& list)
{
    char query[kLookupQuerySize] = {};
    std::snprintf(query, sizeof query, kAddListQuery, m_pMenuId ? m_pMenuId : "(null)");
    QueryText result(FindJsonPathResult(m_pParser, m_pGenerator, query));
    if (result.text == nullptr) {
        LOG_INFO(kAddFailed, "Failed\n");
        return false;
    }
    LOG_INFO(kAddResult, "MenuAddItem :%s\n", result.text);
    m_ConvertToListNode(result.text, list);
    if (list.empty()) {
        LOG_INFO(kAddEmpty, "Empty New\n");
        return false;
    }
    return true;
}

bool CJsonParser::PaserMenuTreeGroupFile(std::list<std::string>& groupList)
{
    if (!json_reader_read_member(m_pReader, kGroup)) {
        LOG_INFO(kGroupMissing, "Group Missing\n");
        ClearFailedStep(m_pReader);
        return false;
    }
    LOG_INFO(kGroupChecking, "Group Checking\n");
    if (!json_reader_is_array(m_pReader)) {
        LOG_INFO(kGroupNotArray, "Not Array\n");
        LeaveMember(m_pReader);
        return false;
    }
    const int n = json_reader_count_elements(m_pReader);
    LOG_INFO(kGroupNumber, "Number[%d]\n", n);
    if (m_pMenuId == nullptr) {
        LOG_INFO(kGroupMenuNull, "MenuID Null\n");
        LeaveMember(m_pReader);
        return false;
    }
    if (!GroupsAreRead(static_cast<size_t>(n))) {
        LOG_INFO(kGroupTooMany, "Failed No Suppport No.3 case\n");
        LeaveMember(m_pReader);
        return false;
    }
    groupList.clear();
    for (int i = 0; i < n; ++i)
        ReadGroup(*this, i, groupList);
    LeaveMember(m_pReader);
    LOG_INFO(kGroupEnd, "Group End\n");
    return true;
}
