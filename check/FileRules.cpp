// Files: every menu file the splitter writes can be created, is UTF-8 JSON
// and reads back as the menu meant. Each file is rendered in memory from its
// menu as the effective menu is computed, while the menu holds its texts.
#include <cstring>
#include <string>
#include <string_view>

#include "Families.h"
#include "Facts.h"
#include "Identifiers.h"
#include "JsonPathText.h"
#include "MenuFile.h"

namespace check {

using namespace velkin;

namespace {

bool ParsesAsJson(const std::string& text, JsonParser* parser)
{
    return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr) &&
           json_parser_load_from_data(parser, text.data(), static_cast<gssize>(text.size()),
                                      nullptr);
}

// Where the file's text reads back as the menu: its node lists the entries.
bool ReadsBack(const Menu& menu, JsonParser* parser)
{
    JsonNode* root = json_parser_get_root(parser);
    const std::vector<std::string> listed =
        StringElements(MemberOf(MemberOf(MemberOf(root, kMenuTree), menu.id.c_str()), kSubmenuItems));
    if (listed.size() != menu.entries.size())
        return false;
    for (size_t i = 0; i < listed.size(); ++i)
        if (listed[i] != menu.entries[i].id)
            return false;
    return true;
}

// The first item whose written definition is not one JSON value (an
// identifier looked up as a JSONPath path finding several values, or a
// definition written back with a raw byte): the likeliest cause of a file
// that is not JSON.
size_t BrokenItem(const Menu& menu, JsonParser* parser)
{
    for (size_t i = 0; i < menu.items.size(); ++i)
        if (!ParsesAsJson(menu.items[i].definition, parser))
            return i;
    return kNoItem;
}

// Whether a piece of a file's text holds a byte JSON refuses in a string: a
// raw control character, or a byte that is not UTF-8.
bool RefusedByte(std::string_view text)
{
    for (const char ch : text)
        if (static_cast<unsigned char>(ch) < 0x20 && ch != '\n' && ch != '\t' && ch != '\r')
            return true;
    return !g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

// A file can only fail to read back when an identifier in it is looked up as
// a JSONPath path, or its text holds a refused byte: the rest is json-glib's
// own serialisation and nodes the model has read back already. The pieces
// are looked at one by one (what joins them is plain ASCII), so that the
// text is only made for a file that may not read back.
bool MayNotReadBack(const Menu& menu)
{
    if (!PlainForJsonPath(menu.id) || RefusedByte(menu.id) || RefusedByte(menu.node) ||
        (menu.parent && RefusedByte(*menu.parent)))
        return true;
    for (const ItemEntry& item : menu.items)
        if (!PlainForJsonPath(item.id) || RefusedByte(item.id) || RefusedByte(item.definition))
            return true;
    return false;
}

// Where the menu's file is not JSON or reads back otherwise: at the item
// found responsible, else at the menu's own key.
void ReportBroken(const Context& c, const Menu& menu, size_t key, const FileVerdict& verdict)
{
    const std::string file =
        "the file of menu " + Show(menu.id) + " " +
        (verdict.kind == FileVerdict::Kind::NotJson
             ? "is not UTF-8 JSON"
             : "reads back with other entries than it is written with");
    if (verdict.brokenItem == kNoItem) {
        c.found.Report(RuleId::UnreadableFile, key, file);
        return;
    }
    const std::string& id = menu.items[verdict.brokenItem].id;
    if (!PlainForJsonPath(id)) {
        const Listings at = c.names.ListingsOf(id);
        c.found.Report(RuleId::UnreadableFile, !at.empty() ? at.front().offset : key,
                       file + ": item " + Show(id) +
                           " is looked up by JSONPath as a path, and all it finds is "
                           "written as its definition");
    } else {
        c.found.Report(RuleId::UnreadableFile, c.places.Member(c.names.Items(), id).key,
                       file + ": the definition of item " + Show(id) +
                           " is written as text that is not UTF-8 JSON (an escape json-glib "
                           "writes back as a raw byte?)");
    }
}

}  // namespace

void FileJudge::Judge(const Menu& menu)
{
    FileVerdict verdict;
    if (!MenuFileNameFits(menu.id)) {
        verdict.kind = FileVerdict::Kind::NameTooLong;
    } else if (!NamesNeedEscape(menu)) {  // else unescaped-identifier reports them
        if (MayNotReadBack(menu)) {
            const std::string text = MenuFileText(menu);
            if (!ParsesAsJson(text, m_parser.get()))
                verdict.kind = FileVerdict::Kind::NotJson;
            else if (!ReadsBack(menu, m_parser.get()))
                verdict.kind = FileVerdict::Kind::OtherEntries;
        }
    }
    if (verdict.kind == FileVerdict::Kind::NotJson || verdict.kind == FileVerdict::Kind::OtherEntries)
        verdict.brokenItem = BrokenItem(menu, m_parser.get());
    m_verdicts.push_back(verdict);
}

void CheckFiles(const Context& c)
{
    for (size_t i = 0; i < c.menu.menus.size(); ++i) {
        const Menu& menu = c.menu.menus[i];
        const FileVerdict& verdict = c.files[i];
        if (verdict.kind == FileVerdict::Kind::Fine)
            continue;
        const size_t key = c.places.Member(c.names.Tree(), menu.id).key;
        if (verdict.kind == FileVerdict::Kind::NameTooLong)
            c.found.Report(RuleId::UnreadableFile, key,
                           "the file of menu " + Show(menu.id) +
                               " is never written: its name is " +
                               std::to_string(menu.id.size() + std::strlen(kMenuFileSuffix)) +
                               " bytes, more than a file name may be (" +
                               std::to_string(kMaxFileNameBytes) + ")");
        else
            ReportBroken(c, menu, key, verdict);
    }
}

}  // namespace check
