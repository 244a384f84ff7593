// Where the views draw what "menudelete" removed: each deleted entry in its
// menu's listing, after the listed entry it followed, and the deleted menus
// with the strings they listed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "EffectiveMenu.h"

namespace tree {

inline constexpr char kDeletedMark = '-';
inline constexpr char kDeletedMeaning[] = "deleted";

// One line of a menu as drawn: an entry, or a deleted entry (`index` into
// EffectiveMenu::deletedEntries).
struct Row {
    bool deleted = false;
    size_t index = 0;
};

// For each menu of `model`, its deleted entries in their order, each with the
// number of the menu's entries drawn before it.
struct DeletedPlace {
    size_t record;  // index into model.deletedEntries
    size_t after;   // it follows the menu's first `after` entries
};
std::vector<std::vector<DeletedPlace>> DeletedPlaces(const velkin::EffectiveMenu& model);

// The entries of `menu` with its deleted entries `places` interleaved.
std::vector<Row> RowsOf(const velkin::Menu& menu, const std::vector<DeletedPlace>& places);

// "menudelete #N": the edit that removed it (N from 1, among the list's strings).
std::string EditNote(size_t edit);

}  // namespace tree
