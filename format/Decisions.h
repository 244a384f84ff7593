// The splitter's decisions, each one pure function of what it has read: the
// splitter asks them for every outcome, and the effective menu, the checker
// and the facts program ask the same functions, so no rule is written twice.
#pragma once

#include <glib.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace velkin {

// A node's "group" array of `n` elements is read only when it holds at most
// kMaxGroups elements; a node with more groups has none.
bool GroupsAreRead(size_t n);

// A JSONPath expression as formatted into a buffer of fixed size.
struct FormattedQuery {
    std::string text;  // what the buffer holds: the expression, cut at size - 1 bytes
    bool cut = false;  // the expression did not fit and was cut
};
// Formats `format` with its arguments as snprintf does into a buffer of
// `size` bytes, terminator included.
FormattedQuery FormatQuery(size_t size, const char* format, ...) G_GNUC_PRINTF(2, 3);
// Whether the query of `format`, whose one conversion is "%s", is cut for
// `id` (as FormatQuery says), without formatting it: identifiers are looked
// up by the hundred thousand.
bool QueryIsCut(size_t size, const char* format, std::string_view id);
// Whether the query of `format` (one "%s") finds the member named `id` and
// nothing else: a plain identifier, its query not cut.
bool QueryFindsMember(size_t size, const char* format, std::string_view id);
// The longest identifier whose query of `format` (one "%s") fits `size` bytes.
size_t LongestUncutIdentifier(size_t size, const char* format);

// A menu node as written before its parent link: its text without the closing
// brace, and whether it holds a member (the parent link then needs a comma).
struct OpenedNode {
    std::string text;
    bool hasMember = false;
};
// A rebuilt node: "{", the "submenuitems" fragment, a comma when both
// fragments are there, the "group" fragment (either may be empty).
OpenedNode JoinRebuiltNode(std::string_view submenuItems, std::string_view group);
// A copied node from the match text of its lookup ("[<node>]"); "{" for a
// node that is not an object or that was not found.
OpenedNode CopiedNode(const char* match);
// Whether a node written as `open` (without its closing brace) holds a member.
bool NodeHoldsMember(std::string_view open);

// An item's definition is amended when the item is in the modify list, its
// amendment (an object with members) was found, and the definition is an
// object, which alone can take further members.
bool IsAmended(bool inModifyList, bool amendmentFound, std::string_view definition);

}  // namespace velkin
