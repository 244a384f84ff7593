// The facts of the menu definition format and of the files the splitter writes
// from it, each stated once. Every program, test and fuzz target takes them
// from here; the few copies outside C++ (build rules, scripts, schema, manual
// pages, README) are compared with these by the facts test.
#pragma once

#include <cstddef>
#include <string_view>

namespace velkin {

// Members of the definition's root object that the splitter reads.
inline constexpr char kMenuTree[] = "menutree";
inline constexpr char kMenuItems[] = "menuitems";
inline constexpr char kMenuDelete[] = "menudelete";
inline constexpr char kMenuAdd[] = "menuadd";
inline constexpr char kMenuModify[] = "menumodify";
inline constexpr char kMenuAddInfo[] = "menuaddinfo";
inline constexpr char kMenuModifyInfo[] = "menumodifyinfo";
inline constexpr char kProviders[] = "providers";

// Members of a menu node, of a group object, of an edit list and of an add entry.
inline constexpr char kSubmenuItems[] = "submenuitems";
inline constexpr char kGroup[] = "group";
inline constexpr char kIndentLevel[] = "indent-level";
inline constexpr char kGroupItems[] = "group-items";
inline constexpr char kAddList[] = "list";

// The members each place holds that the splitter reads, for the checks on
// misspelt members. An edit list is "menudelete", "menuadd" or "menumodify".
inline constexpr std::string_view kRootMembers[] = {kMenuTree,       kMenuItems,  kMenuDelete,
                                                    kMenuAdd,        kMenuModify, kMenuAddInfo,
                                                    kMenuModifyInfo, kProviders};
inline constexpr std::string_view kNodeMembers[] = {kSubmenuItems, kGroup};
inline constexpr std::string_view kGroupMembers[] = {kIndentLevel, kGroupItems};
inline constexpr std::string_view kEditListMembers[] = {kSubmenuItems};
inline constexpr std::string_view kAddEntryMembers[] = {kAddList};
inline constexpr std::string_view kEditLists[] = {kMenuDelete, kMenuAdd, kMenuModify};

// A menu node's groups: at most this many are read; a node with more has none.
inline constexpr int kMaxGroups = 2;
// The level texts of a group; any other text in a group list is an item.
inline constexpr std::string_view kIndentLevels[] = {"0", "1", "2"};

// Written for an item that has no definition, and the display name it shows.
inline constexpr char kPlaceholderDefinition[] =
    "{\"display-name\":\"Json Syntax Error\",\"style\":\"title\"}";
inline constexpr std::string_view kPlaceholderDisplayName = "Json Syntax Error";
// True when `part` stands in `text` at `at`; compared character by character
// because std::string_view::find is not a constant expression on every GCC.
constexpr bool StandsAt(std::string_view text, std::size_t at, std::string_view part) {
    if (at > text.size() || part.size() > text.size() - at) return false;
    for (std::size_t i = 0; i < part.size(); ++i)
        if (text[at + i] != part[i]) return false;
    return true;
}
static_assert(StandsAt(kPlaceholderDefinition, 0, "{\"display-name\":\"") &&
              StandsAt(kPlaceholderDefinition, 17, kPlaceholderDisplayName) &&
              StandsAt(kPlaceholderDefinition, 17 + kPlaceholderDisplayName.size(), "\","));
// Appended to the members of an amended definition.
inline constexpr char kModifyMarker[] = ",\"modify\":\"true\"";
// The member of a written menu node that names its parent menu.
inline constexpr char kParentItem[] = "parentitem";

// JSONPath lookups, and the sizes of the buffers they are formatted into,
// terminator included: a longer expression is cut at the buffer's end.
inline constexpr char kProvidersQuery[] = "$.providers";
inline constexpr char kItemQuery[] = "$.menuitems.%s";
inline constexpr char kMenuQuery[] = "$.menutree.%s";
inline constexpr char kGroupQuery[] = "$.menutree.%s.%s[%d].%s";
inline constexpr char kAmendmentQuery[] = "$.menumodifyinfo.%s";
inline constexpr char kAddListQuery[] = "$.menuaddinfo.%s.list";
// The driver's item and node lookups.
inline constexpr size_t kDriverQuerySize = 1024;
// The lookups of added items, amendments and added-item lists.
inline constexpr size_t kLookupQuerySize = 2048;
// The group lookups.
inline constexpr size_t kGroupQuerySize = 1024;

// Deepest nesting of arrays and objects accepted in a definition. json-glib 1.10
// refuses anything deeper itself; 1.6 parses on until its recursion overflows
// the stack. One bound keeps both the same.
inline constexpr long kMaxNesting = 1024;

// Where the installed splitter writes, and the files of a profile directory
// besides the per-menu files "<menu>.json".
inline constexpr char kSystemResourceRoot[] = "/usr/apps/tessaly/res/jsons";
inline constexpr char kHelperFile[] = "helper.json";
inline constexpr char kProvidersFile[] = "providers.json";
inline constexpr char kMenuFileSuffix[] = ".json";

}  // namespace velkin
