// What the views show of an entry: its marks, its display name, and texts
// made safe for one line of UTF-8 output.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "EffectiveMenu.h"

namespace tree {

// The member of an item definition that the device shows as its label.
inline constexpr char kDisplayName[] = "display-name";

// The marks of an entry, and their meaning for legends.
struct Marks {
    bool added = false;        // put there by a "menuaddinfo" list
    bool amended = false;      // its definition carries a "menumodifyinfo" amendment
    bool placeholder = false;  // written with the placeholder definition
    bool Any() const { return added || amended || placeholder; }
};
inline constexpr char kAddedMark = '+';
inline constexpr char kAmendedMark = '~';
inline constexpr char kPlaceholderMark = '!';
inline constexpr char kAddedMeaning[] = "added";
inline constexpr char kAmendedMeaning[] = "amended";
inline constexpr char kPlaceholderMeaning[] = "no definition (placeholder)";

Marks MarksOf(const velkin::Menu& menu, const velkin::Entry& entry);

// For each entry of `menu`, the index of the first group of its written node
// that names it, or kNoGroup: the section of the page it is shown in.
inline constexpr int kNoGroup = -1;
std::vector<int> GroupOfEntries(const velkin::Menu& menu);
// "group N, indent level L" (N from 1; "no indent level" when the group's
// level is not a string): the heading of a section.
std::string GroupHeading(const velkin::Menu& menu, int group);
// "+~!" for the marks that are set, in that order.
std::string MarkText(const Marks& marks);

// The last "display-name" string of a definition object (the one a reader of
// the file keeps); none when the text is not an object or has no such string.
std::optional<std::string> DisplayName(std::string_view definition);

// `text` as valid UTF-8 (each invalid byte as U+FFFD).
std::string ValidUtf8(std::string_view text);
// `text` on one line of valid UTF-8: control characters as \xNN.
std::string Printable(std::string_view text);

}  // namespace tree
