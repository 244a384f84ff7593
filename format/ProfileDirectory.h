// Reading back a profile directory the splitter wrote (a device image, say)
// into the effective menu it holds: the per-menu files and helper.json.
//
// What the files tell: each menu's item entries (their exact text), its
// entries and groups as the written node lists them, and its parent link.
// What they do not: whether an entry was added, which menus were deleted,
// the edit lists, and the order of "menutree". So every entry counts as
// listed, the edit lists stay empty, and the menus come in the order
// helper.json first names them, then the others by name. An item entry
// counts as amended when its text ends with the modify marker and its
// closing brace, and as a placeholder when its text is the placeholder
// definition. Files of menus no longer in the definition are read like the
// others, as the device would read them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "EffectiveMenu.h"

namespace velkin {

struct DirectoryRead {
    EffectiveMenu model;
    // Files that are not menu files the splitter writes, each as
    // "<file>: <reason>", left out of the model.
    std::vector<std::string> leftOut;
};

// Reads `dir`. False, with `error` set, when it cannot be listed or no menu
// file in it can be read, unless it holds none and its helper.json is an
// empty object: the directory of a run whose menus were all deleted, which
// reads as an empty menu.
bool ReadProfileDirectory(const std::string& dir, DirectoryRead& out, std::string& error);

// The menu `id` read back from the text of its file "<id>.json". False, with
// the reason, when the text is not such a file.
bool ReadMenuFile(std::string_view id, std::string_view text, Menu& menu, std::string& reason);

// The menus the text of helper.json names, in the order it first names them;
// none when the text is not the helper file's JSON object of strings.
std::vector<std::string> HelperOrder(std::string_view text);

// The profile whose directory name `dir` ends with; null if none.
const Profile* ProfileOfDirectory(std::string_view dir);

}  // namespace velkin
