// Files: every menu file the splitter writes can be created, is UTF-8 JSON
// and reads back as the menu meant. The files are rendered from the
// effective menu in memory, one at a time.
#include <cstring>
#include <string>

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

// The place most likely responsible for a file that is not JSON: the first
// item whose written definition is not one JSON value (an identifier looked
// up as a JSONPath path finding several values, or a definition written back
// with a raw byte), else the menu's own key.
void ReportBroken(const Context& c, const Menu& menu, size_t key, const std::string& what)
{
    const std::string file = "the file of menu " + Show(menu.id) + " " + what;
    g_autoptr(JsonParser) parser = json_parser_new();
    for (const ItemEntry& item : menu.items) {
        if (ParsesAsJson(item.definition, parser))
            continue;
        if (!PlainForJsonPath(item.id)) {
            const Listings at = c.names.ListingsOf(item.id);
            c.found.Report(RuleId::UnreadableFile, !at.empty() ? at.front().offset : key,
                           file + ": item " + Show(item.id) +
                               " is looked up by JSONPath as a path, and all it finds is "
                               "written as its definition");
        } else {
            c.found.Report(RuleId::UnreadableFile, c.places.Member(c.names.Items(), item.id).key,
                           file + ": the definition of item " + Show(item.id) +
                               " is written as text that is not UTF-8 JSON (an escape json-glib "
                               "writes back as a raw byte?)");
        }
        return;
    }
    c.found.Report(RuleId::UnreadableFile, key, file);
}

// A file can only fail to read back when an identifier in it is looked up as
// a JSONPath path, or its text holds a byte JSON refuses in a string (a raw
// control character, a byte that is not UTF-8): the rest is json-glib's own
// serialisation and nodes the model has read back already.
bool MayNotReadBack(const Menu& menu, const std::string& text)
{
    if (!PlainForJsonPath(menu.id))
        return true;
    for (const ItemEntry& item : menu.items)
        if (!PlainForJsonPath(item.id))
            return true;
    for (const char ch : text)
        if (static_cast<unsigned char>(ch) < 0x20 && ch != '\n' && ch != '\t' && ch != '\r')
            return true;
    return !g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

}  // namespace

void CheckFiles(const Context& c)
{
    g_autoptr(JsonParser) parser = json_parser_new();
    for (const Menu& menu : c.menu.menus) {
        const size_t key = c.places.Member(c.names.Tree(), menu.id).key;
        if (!MenuFileNameFits(menu.id)) {
            c.found.Report(RuleId::UnreadableFile, key,
                           "the file of menu " + Show(menu.id) +
                               " is never written: its name is " +
                               std::to_string(menu.id.size() + std::strlen(kMenuFileSuffix)) +
                               " bytes, more than a file name may be (" +
                               std::to_string(kMaxFileNameBytes) + ")");
            continue;
        }
        // unescaped-identifier reports the identifiers that need escapes.
        if (NamesNeedEscape(menu))
            continue;
        const std::string text = MenuFileText(menu);
        if (!MayNotReadBack(menu, text))
            continue;
        if (!ParsesAsJson(text, parser))
            ReportBroken(c, menu, key, "is not UTF-8 JSON");
        else if (!ReadsBack(menu, parser))
            ReportBroken(c, menu, key, "reads back with other entries than it is written with");
    }
}

}  // namespace check
