// The rule families. Each reads the document through the position layer and
// what the splitter will write through the effective menu, and reports to
// the findings. The driver (Check.cpp) runs them in this order, which is also
// the order of findings that share one position.
#pragma once

#include <cstdint>
#include <vector>

#include "Definition.h"
#include "EffectiveMenu.h"
#include "Effects.h"
#include "Findings.h"
#include "GObjectPtr.h"
#include "Document.h"
#include "Names.h"
#include "Places.h"

namespace check {

// What reading one menu's file back finds.
struct FileVerdict {
    enum class Kind : uint8_t {
        Fine,            // created, UTF-8 JSON, reads back as the menu
        NameTooLong,     // never created: its name does not fit a file name
        NotJson,         // not UTF-8 JSON
        OtherEntries,    // reads back with other entries than it is written with
    };
    Kind kind = Kind::Fine;
    size_t brokenItem = velkin::kNoItem;  // the first item whose definition is not JSON
};

// Reads back the file of each menu as the effective menu is computed, while
// the menu's texts are there (FileRules.cpp); CheckFiles reports what it found.
class FileJudge {
public:
    void Judge(const velkin::Menu& menu);
    // One per menu judged, in the effective menu's order.
    const std::vector<FileVerdict>& Verdicts() const { return m_verdicts; }

private:
    GObjectPtr<JsonParser> m_parser{json_parser_new()};
    std::vector<FileVerdict> m_verdicts;
};

struct Context {
    const Places& places;
    const velkin::EffectiveMenu& menu;
    const Names& names;
    const std::vector<FileVerdict>& files;  // per menu, as FileJudge found
    Findings& found;
};

// Keys and syntax (KeyRules.cpp). The first three decide whether there is
// anything more to check: false once the text or its "menutree" is refused.
bool CheckLoad(const velkin::LoadResult& loaded, const Definition& definition, Findings& found);
void CheckDuplicateKeys(const Definition& definition, Findings& found);
bool CheckMenuTree(const Places& places, Findings& found);
void CheckKeys(const Context& c);

// Identifiers and paths (IdentifierRules.cpp): names, lookups, definitions.
void CheckIdentifiers(const Context& c);
// Groups (GroupRules.cpp).
void CheckGroups(const Context& c);
// Parents and loops (ParentRules.cpp).
void CheckParents(const Context& c);
// Files (FileRules.cpp): every menu file is created, JSON and reads back, as
// FileJudge found.
void CheckFiles(const Context& c);
// Reach (ReachRules.cpp): menus no menu leads to; then identifiers alike on
// screen, which needs no effective menu (it is found while that is computed).
void CheckReach(const Context& c);
void CheckLookAlikes(const Places& places, const Names& names, Findings& found);
// Effects (EffectRules.cpp): every part of the definition that changes no
// written file, the edits among them, and the loops additions make, from the
// effects computed (ComputeEffects); what the other families report at a
// part is left to them, so it runs after them all.
void CheckEffects(const Context& c, const velkin::Effects& effects);
// An item of "menumodify" that a menu lists, with an amendment the splitter
// reads: effects reports what keeps the amendment from being applied.
bool AmendsListedItem(const Context& c, const std::string& id);

}  // namespace check
