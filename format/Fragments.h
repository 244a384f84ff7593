// The texts the splitter writes, as pure functions of what it has read: the
// layout of a per-menu file and of the helper file, the pieces of a rebuilt or
// amended entry, and the reading of its query results. The splitter writes
// them; the effective menu composes them the same way.
#pragma once

#include <list>
#include <string>
#include <string_view>
#include <vector>

namespace velkin {

// A per-menu file: the opening, the item entries separated by commas, the
// closing of "menuitems" with the opening of "menutree", the node (left open),
// the parent link, and the closing of the node, "menutree" and the document.
inline constexpr char kMenuFileOpening[] = "{\"menuitems\": {";
inline constexpr char kMenuTreeOpening[] = "},\"menutree\": {";
inline constexpr char kMenuFileClosing[] = "}}}";
// The helper file: the opening, the entries separated by commas, the closing.
inline constexpr char kHelperOpening[] = "{";
inline constexpr char kHelperClosing[] = "}";
// The providers file: the opening, the value, the closing.
inline constexpr char kProvidersOpening[] = "{\"providers\":";
inline constexpr char kProvidersClosing[] = "}";
// The value written without a "providers" member.
inline constexpr char kNoProviders[] = "null";

// "\"<id>\":": the start of an item entry or of the menu node.
std::string MemberStart(std::string_view id);
// "\"<item>\":\"<menu>\"": one entry of the helper file.
std::string HelperEntry(std::string_view item, std::string_view menu);
// ",\"parentitem\":\"<parent>\"", without the comma when the node holds no
// member before it.
std::string ParentLink(std::string_view parent, bool afterMember);

// The value inside a match array text ("[v]" gives "v"); empty when the text
// is null or holds no match ("[]").
std::string_view UnwrapMatch(const char* text);

// A copied node as written before its parent link: the node text without its
// closing brace; "{" for a node that is not an object.
std::string_view OpenNode(std::string_view node);

// The contents of every quoted string of a match array text, in order: the
// text split at each double quote, pieces 2, 4, 6 ... (escapes not decoded).
std::vector<std::string> QuotedStrings(const char* text);

enum class AmendmentStatus { TooShort, NotObject, Found };
// The amendment in the match text of "$.menumodifyinfo.<id>": the members of
// the one object found, without the brackets and braces around them.
AmendmentStatus ReadAmendment(const char* match, std::string& members);
// An amended definition: `open` (the definition without its closing brace),
// the amendment's members, the modify marker and the closing brace.
std::string AmendDefinition(std::string_view open, std::string_view members);

// One element of a merged item list, and where it came from.
struct Merged {
    std::string id;
    bool added;  // inserted from the added-item list (not matched in the item list)
};
// The item list with the identifiers to add merged in: an added identifier
// found at or after the cursor takes that element's place, the others come
// right after the added identifier before them.
std::vector<Merged> MergeAdded(const std::list<std::string>& added,
                               const std::list<std::string>& items);

// A level element of a group list: exactly "0", "1" or "2".
bool IsIndentLevel(std::string_view value);
// "\"submenuitems\":[...]" of a rebuilt node; empty for an empty list.
std::string SubmenuItemsFragment(const std::list<std::string>& items);
// "\"group\":[...]" of a rebuilt node from a group list; empty for an empty list.
std::string GroupFragment(const std::list<std::string>& groupList);

}  // namespace velkin
