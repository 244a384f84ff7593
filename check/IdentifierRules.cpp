// Identifiers and paths: what the splitter does with the names it writes and
// looks up (file names, JSONPath queries, unescaped output), and the items it
// writes without a definition.
#include <string>
#include <string_view>

#include "Families.h"
#include "Facts.h"
#include "Identifiers.h"
#include "Profiles.h"

namespace check {

using namespace velkin;

namespace {

// The fixed starts of the item and menu lookups.
constexpr std::string_view kItemQueryStart = "$.menuitems.";
constexpr std::string_view kMenuQueryStart = "$.menutree.";

// Rules on one identifier that the splitter writes and looks up with
// `query` followed by the identifier, in a buffer of `size` bytes.
void CheckIdentifier(const Context& c, const std::string& id, size_t offset, std::string_view query,
                     size_t size, const char* what)
{
    if (NeedsEscape(id))
        c.found.Report(RuleId::UnescapedIdentifier, offset,
                       std::string(what) + " " + Show(id) +
                           " holds a double quote, backslash or control character: the files "
                           "naming it would not be JSON");
    if (query.size() + id.size() >= size)
        c.found.Report(RuleId::QueryTooLong, offset,
                       std::string(what) + " " + Show(id) + " is " + std::to_string(id.size()) +
                           " bytes long: its lookup is cut at " + std::to_string(size) + " bytes");
    if (!PlainForJsonPath(id))
        c.found.Report(
            RuleId::JsonPathIdentifier, offset,
            std::string(what) + " " + Show(id) + " is read by JSONPath as more than a member name");
}

void CheckMenuName(const Context& c, const std::string& menu, size_t offset)
{
    if (IsUnsafeMenuFileName(menu))
        c.found.Report(
            RuleId::UnsafeMenuName, offset,
            "menu " + Show(menu) + " would be written outside its profile directory or not at all");
    if (IsReservedMenuName(menu))
        c.found.Report(
            RuleId::ReservedMenuName, offset,
            "menu " + Show(menu) + " would overwrite the profile's " + menu + kMenuFileSuffix);
    CheckIdentifier(c, menu, offset, kMenuQueryStart, kDriverQuerySize, "menu");
}

// The groups of a menu are looked up with "$.menutree.<menu>.group[<i>].indent-level"
// (at most two groups are read, so <i> is one digit) in the group query buffer.
void CheckGroupQuery(const Context& c, const Located& node, const std::string& menu, size_t offset)
{
    JsonArray* groups = AsArray(c.places.Member(node, kGroup).node);
    if (groups == nullptr || json_array_get_length(groups) == 0 ||
        json_array_get_length(groups) > kMaxGroups)
        return;
    const size_t longest = std::string(".").append(kGroup).append("[0].").size() +
                           std::string_view(kIndentLevel).size();
    const size_t start = kMenuQueryStart.size() + menu.size();
    if (start < kDriverQuerySize && start + longest >= kGroupQuerySize)
        c.found.Report(RuleId::QueryTooLong, offset,
                       "menu " + Show(menu) + " is " + std::to_string(menu.size()) +
                           " bytes long: its group lookup is cut at " +
                           std::to_string(kGroupQuerySize) + " bytes");
}

// Where an item entry of the menu's file was read: its element of the node's
// "submenuitems", or its quoted string in the menu's add list.
class ItemPlaces {
public:
    ItemPlaces(const Context& c, const Located& node, const std::string& menu)
        : m_c(c), m_menu(menu), m_listed(c.places.Member(node, kSubmenuItems))
    {
    }
    size_t Of(const ItemEntry& item)
    {
        if (item.origin == Origin::Listed)
            return m_c.places.Element(m_listed, item.source).Offset();
        if (!m_addedRead) {
            const Located info = m_c.places.Member(m_c.places.Root(), kMenuAddInfo);
            const Located list = m_c.places.Member(m_c.places.Member(info, m_menu), kAddList);
            m_added = m_c.places.QuotedStringOffsets(list);
            m_addedRead = true;
        }
        return item.source < m_added.size() ? m_added[item.source] : kNoOffset;
    }

private:
    const Context& m_c;
    const std::string& m_menu;
    Located m_listed;
    std::vector<size_t> m_added;
    bool m_addedRead = false;
};

// The item entries of one written menu's file, listed and added.
void CheckItems(const Context& c, const Menu& menu, const Located& node)
{
    ItemPlaces places(c, node, menu.id);
    for (const ItemEntry& item : menu.items) {
        const size_t offset = places.Of(item);
        const bool listed = item.origin == Origin::Listed;
        CheckIdentifier(c, item.id, offset, kItemQueryStart,
                        listed ? kDriverQuerySize : kLookupQuerySize, "item");
        if (item.placeholder)
            c.found.Report(RuleId::MissingDefinition, offset,
                           "item " + Show(item.id) + " of menu " + Show(menu.id) +
                               " has no definition under \"menuitems\": it is written as "
                               "\"Json Syntax Error\"");
    }
}

}  // namespace

void CheckIdentifiers(const Context& c)
{
    for (const Menu& menu : c.menu.menus) {
        const Located node = c.places.Member(c.names.Tree(), menu.id);
        CheckMenuName(c, menu.id, node.key);
        CheckGroupQuery(c, node, menu.id, node.key);
        CheckItems(c, menu, node);
    }
}

}  // namespace check
