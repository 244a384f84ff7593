// The effective menu: what the splitter writes for a definition, computed in
// one pass over the parsed document and kept as plain data. It follows the
// splitter's own lookups (JSONPath with the same expressions, cut at the same
// buffer sizes, or for a plain identifier the member lookup such an expression
// amounts to; the same reading of lists, groups, additions and amendments),
// so odd identifiers and malformed members give what the splitter gives.
#pragma once

#include <json-glib/json-glib.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Profiles.h"

namespace velkin {

enum class Origin {
    Listed,  // a string of the node's "submenuitems"
    Added,   // an identifier of the menu's "menuaddinfo" list
};

// One member of a menu file's "menuitems", in the order written.
struct ItemEntry {
    std::string id;
    Origin origin = Origin::Listed;
    // Where it was read: the index of the element in "submenuitems", or the
    // index of the identifier among the quoted strings of the add list.
    size_t source = 0;
    std::string definition;    // the exact text written after "<id>":
    bool placeholder = false;  // nothing found: the placeholder definition
    bool amended = false;      // the amendment's members and the modify marker added
};

inline constexpr size_t kNoItem = static_cast<size_t>(-1);

// One entry of a menu as the device shows it: a string of the written node's
// "submenuitems" (for a rebuilt node, the item list after deletes and the merge).
struct Entry {
    std::string id;
    Origin origin = Origin::Listed;  // Added: put there by the merge of an addition
    size_t item = kNoItem;           // its definition in Menu::items; kNoItem: none written
    bool opensMenu = false;          // names a written menu
};

// One element of the "group" array a written node holds.
struct Group {
    std::optional<std::string> level;  // "indent-level" when it is a string
    std::vector<std::string> items;    // the strings of "group-items"
};

struct Menu {
    std::string id;
    std::vector<ItemEntry> items;  // "menuitems" of its file
    std::vector<Entry> entries;    // in display order
    bool rebuilt = false;          // items dropped or added: the node is rebuilt
    bool additions = false;        // its add list gave identifiers, merged into the node
    std::string node;              // the node as written, without its closing brace
    bool nodeHasMember = false;    // the node holds a member before the parent link
    std::vector<Group> groups;
    std::optional<std::string> parent;  // the "parentitem" written

    // Points each entry at the first item entry of the same name in the file
    // (kNoItem when there is none), as a reader of the file finds it.
    void LinkDefinitions();
    // The item entry that defines `entry`; null when the file holds none.
    const ItemEntry* DefinitionOf(const Entry& entry) const
    {
        return entry.item == kNoItem ? nullptr : &items[entry.item];
    }
};

// What a reader of a menu file finds in a written node: the strings of its
// "submenuitems" and its groups (none when the node is not an object).
struct NodeView {
    std::vector<Group> groups;
    std::vector<std::string> entries;
};
NodeView ReadWrittenNode(JsonNode* node);

// The edit lists as the splitter reads them: the strings of each list
// member's "submenuitems".
struct EditLists {
    std::vector<std::string> deleted, added, modified;
};

// What the edits did, as plain records for the checker and its editor
// integration. An edit is named by its index among the strings of its edit
// list's "submenuitems" (EditLists): the same index as in `edits`.

// A member of "menutree" that "menudelete" removes (no file is written), with
// the strings its node lists, which go with it unless another menu lists them.
struct DeletedMenu {
    std::string id;
    size_t edit = 0;                   // the "menudelete" string that removes it
    std::vector<std::string> entries;  // its node's "submenuitems" strings
};

// An entry that "menudelete" removes from a written menu's list, or, in
// `EffectiveMenu::undone`, a deleted identifier an addition writes again.
struct DeletedEntry {
    std::string menu;
    std::string id;
    size_t edit = 0;  // the "menudelete" string naming it
    // Where it stood: the number of the menu's listed items written before
    // it (it followed the keptBefore-th of them; 0: first in the listing).
    size_t keptBefore = 0;
};

// What became of one item of "menumodify" (its first string).
enum class AmendmentFate {
    Applied,      // written amended into at least one menu file
    NoAmendment,  // "menumodifyinfo" holds no object with members for it
    Deleted,      // "menudelete" removes the item: no file holds it
    OnlyAdded,    // written only as an addition, which is never amended
    NotObject,    // its definition is not an object and takes no member
    NotWritten,   // no menu writes the item
};
struct Amendment {
    std::string item;
    size_t edit = 0;                   // its string in "menumodify"
    std::vector<std::string> members;  // the amendment object's member names (none: no object)
    AmendmentFate fate = AmendmentFate::NotWritten;
};

struct EffectiveMenu {
    const Profile* profile = nullptr;  // null: no profile matched the path
    std::string providers;             // the value written into the providers file
    EditLists edits;
    std::vector<std::string> menuTree;  // every member of "menutree", in order
    std::vector<Menu> menus;            // the written menus, in "menutree" order
    std::vector<std::string> deleted;   // members of "menutree" that get no file
    std::vector<DeletedMenu> deletedMenus;    // the same, with what they list
    std::vector<DeletedEntry> deletedEntries;  // entries removed from written menus
    std::vector<DeletedEntry> undone;          // deleted identifiers added back by a menu
    std::vector<Amendment> amendments;         // one per distinct "menumodify" string
    std::vector<size_t> top;            // menus without a parent link (indexes)
    std::vector<size_t> unreachable;    // menus no top menu leads to (indexes)

    // The written menu named `id`; null if none.
    const Menu* Find(std::string_view id) const;
    // Indexes the menus by name and fills in what follows from their entries
    // and parent links: which entries open a menu, the top menus and the
    // unreachable ones. Call it once the menus are complete.
    void Link();

private:
    std::unordered_map<std::string, size_t> m_index;
};

// Sees each written menu as soon as it is complete, texts included.
using MenuWatcher = std::function<void(const Menu&)>;

// The effective menu of the definition at `path` (the path selects the
// profile), whose parsed root is `root`. With `watch`, each menu is shown to
// it complete and then keeps no texts (its node and its items' definitions
// are left empty): a reader that needs them once, as the checker reading
// each file back, never holds all the texts of a large definition at once.
EffectiveMenu ComputeEffectiveMenu(JsonNode* root, const char* path,
                                   const MenuWatcher& watch = nullptr);

}  // namespace velkin
