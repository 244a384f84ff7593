// What the splitter did with each part of a definition: every member and
// every array element outside the contents of item definitions, amendments,
// providers and members it never reads (which go whole with their part), and
// outside a deleted menu's node (which goes with the node). Each part is
// written into a file, is an edit applied to a file, is read for what it holds
// (a container), is read and passed over, is overridden by another part, or is
// never read. Computed from the effective menu and the parsed document in one
// walk; a part is named by the member names and element indexes leading to it.
#pragma once

#include <json-glib/json-glib.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "EffectiveMenu.h"

namespace velkin {

inline constexpr size_t kNoPart = static_cast<size_t>(-1);

enum class Fate : uint8_t {
    Written,     // the part, or what it names, is written into `file`
    Applied,     // an edit that changes `file` (or keeps a menu's file from being written)
    Read,        // a container: what it holds decides
    PassedOver,  // read, and passed over: `why`
    Overridden,  // read, and undone by the part `by`
    NeverRead,   // the splitter never reads it
};

// Why a part has no effect of its own.
enum class Why : uint8_t {
    None,
    Harmless,              // "$schema", a comment ("_comment", "//"): for people and editors
    MenuDeleted,           // the node of a menu "menudelete" removes
    EntryDeleted,          // an entry "menudelete" removes: the deletion's effect
    FollowsFrom,           // the part `by`, which steers it, has no effect
    NotString,             // an element of an identifier list that is not a string
    WrongForm,             // a member of a form the splitter passes over
    NotReadHere,           // a member the splitter does not read at this place
    DroppedByRebuild,      // a member of a rebuilt node (or of its groups) that is not rebuilt
    TooManyGroups,         // a group of a node with more groups than are read
    Repeated,              // an edit list string given before (`by`)
    NamesNothing,          // an edit naming no menu or item of the document
    RemovesNothing,        // a deletion of what no written file holds
    UndoneByAddition,      // a deletion every removal of which an addition writes again
    TargetDeleted,         // an addition to, or amendment of, what "menudelete" removes (`by`)
    NotInEditList,         // edit information of a menu or item its edit list does not name
    NoInfo,                // an edit list entry without its edit information
    NoIdentifiers,         // an add entry giving no identifier to add
    NotObjectWithMembers,  // an amendment that is not an object with members
    DefinitionNotObject,   // an amendment of an item whose definition is not an object (`by`)
    OnlyAdded,             // an amendment of an item written only as an addition
    NotWritten,            // an item (or its amendment) no written menu writes
    NoValue,               // "providers" giving no value
};

// The file a part reaches: a written menu's (index in EffectiveMenu::menus),
// the helper file, the providers file, or none.
inline constexpr long kNoFile = -1;
inline constexpr long kProvidersFileRef = -2;

// A part's number (or an element's index) in 32 bits: a definition the
// checker reads (under 2 GiB) holds fewer parts than that. Reads as a size_t,
// kNoPart for none.
class PartRef {
public:
    PartRef(size_t i = kNoPart) : m_i(i == kNoPart ? kNone : static_cast<uint32_t>(i)) {}
    operator size_t() const { return m_i == kNone ? kNoPart : m_i; }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    uint32_t m_i;
};

struct Part {
    const char* key = "";    // a member's name, held by the Effects; "" for an element
    PartRef parent;          // the part holding it; kNoPart for a member of the root
    PartRef index;           // an element's index; kNoPart for a member
    PartRef by;              // the part that overrides or steers it
    int32_t file = kNoFile;  // Written, Applied: the file it reaches
    Fate fate = Fate::Read;
    Why why = Why::None;

    bool IsMember() const { return index == kNoPart; }
};

// The member names of the parts, copied into blocks that never move.
class KeyStore {
public:
    const char* Keep(std::string_view key);

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_used = 0;
    size_t m_size = 0;
};

// A menu that an addition makes list itself or a menu above it: the device
// goes round in a loop there.
struct AddedLoop {
    size_t menu = 0;             // the menu receiving the addition (index in EffectiveMenu::menus)
    size_t entry = 0;            // the added entry (index in that menu's entries)
    std::vector<size_t> around;  // the menus from the entry's menu up to `menu`, by parent links
};

struct Effects {
    std::deque<Part> parts;  // parents before what they hold (no copy as it grows)
    // Per edit list ("menudelete", "menuadd", "menumodify"): the part of its
    // k-th string, k being the index DeletedMenu, DeletedEntry and Amendment give.
    std::vector<size_t> editStrings[3];
    std::vector<AddedLoop> loops;
    KeyStore keys;  // what the parts' keys point into

    // The path of keys and indexes from the root to part `i`.
    std::vector<const Part*> PathOf(size_t i) const;
};

// A member named as a comment or for editors ("$schema", "_note", "//", "comment").
bool IsComment(std::string_view name);

// The file name a part reaches ("<menu>.json", "providers.json"); empty for none.
std::string FileOf(const EffectiveMenu& model, const Part& part);

// The record for the definition whose parsed root is `root` and whose
// effective menu is `model`.
Effects ComputeEffects(JsonNode* root, const EffectiveMenu& model);

// Additions that make a menu list itself or one of the menus above it.
std::vector<AddedLoop> FindAddedLoops(const EffectiveMenu& model);

}  // namespace velkin
