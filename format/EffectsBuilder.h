// The walk that records the effects of a definition's parts (Effects.h),
// shared by its two source files: Effects.cpp walks the root, "menutree" and
// the edit lists; EffectsEdits.cpp the definitions and edit information, and
// sets the fates of the edit lists' strings once the walk has seen what each
// of them does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Effects.h"

namespace velkin {

// One edit list's strings: the part of each, and the part of the first
// string of each identifier.
struct EditParts {
    std::vector<size_t> strings;   // part of string k
    std::vector<std::string> ids;  // string k
    // identifier (a view of the document's string) -> index k of its first string
    std::unordered_map<std::string_view, size_t> first;
    std::vector<long> applied;  // per string k: a file it changes, or kNoFile

    // The part of the first string naming `id`; kNoPart when none does.
    size_t PartOf(std::string_view id) const
    {
        auto it = first.find(id);
        return it == first.end() ? kNoPart : strings[it->second];
    }
};

// Item identifiers (views of the effective menu's) with a file each.
using FirstFiles = std::unordered_map<std::string_view, long>;

// How a written menu's node reaches its file.
enum class NodeMode {
    Copied,     // copied whole
    Elsewhere,  // copied from what its lookup finds, which is not the node
    Rebuilt,    // rebuilt from its list and groups
};

class EffectsBuilder {
public:
    EffectsBuilder(JsonNode* root, const EffectiveMenu& model) : m_root(root), m_model(model) {}
    Effects Build();

private:
    using Index = std::unordered_map<std::string, size_t>;
    // Keyed by views of strings that outlive the walk: the document's, the
    // effective menu's, or the parts' keys.
    using Views = std::unordered_set<std::string_view>;

    JsonNode* m_root;
    const EffectiveMenu& m_model;
    Effects m_out;
    EditParts m_deletes, m_adds, m_modifies;
    Index m_addEntries, m_amendments;  // identifier -> part
    // "menuitems" and the parts of its definitions, which follow each other,
    // with those parts sorted by identifier (four bytes each: there are many).
    JsonObject* m_items = nullptr;
    size_t m_firstDefinition = 0;
    size_t m_definitionCount = 0;
    std::vector<uint32_t> m_definitions;
    JsonObject* m_tree = nullptr;  // "menutree"
    std::vector<std::string_view> m_listed;  // listed by a written menu's node, once asked
    bool m_listedKnown = false;
    Views m_deletedListed;  // listed by a deleted menu
    // The parts of "menuaddinfo" and "menumodifyinfo", and whether each is an object.
    size_t m_infoPart[2] = {kNoPart, kNoPart};
    bool m_infoRead[2] = {true, true};
    FirstFiles m_amendedIn;  // item -> first file amending it
    bool m_amendedKnown = false;
    bool m_inGroup = false;                                  // walking a rebuilt node's groups
    std::unordered_map<std::string, AmendmentFate> m_fates;  // item -> its amendment's fate

    size_t Add(size_t parent, std::string_view key, size_t index, Fate fate, Why why, long file,
               size_t by);
    size_t Member(size_t parent, std::string_view key, Fate fate, Why why = Why::None,
                  long file = kNoFile, size_t by = kNoPart)
    {
        return Add(parent, key, kNoPart, fate, why, file, by);
    }
    size_t Element(size_t parent, size_t i, Fate fate, Why why = Why::None, long file = kNoFile,
                   size_t by = kNoPart)
    {
        return Add(parent, std::string_view(), i, fate, why, file, by);
    }
    void SetFate(size_t part, Fate fate, Why why, long file = kNoFile, size_t by = kNoPart);
    long MenuIndex(std::string_view id) const;
    // The member names of `object` as views of the document's own strings,
    // which end in a NUL and live as long as the document.
    static std::vector<std::string_view> OwnNames(JsonObject* object);

    // Effects.cpp
    void EditList(const char* key, EditParts& parts);
    void EditStrings(size_t at, JsonArray* array, EditParts& parts);
    void RootMember(const std::string& name, JsonNode* value);
    void MenuTree(const std::string& name, JsonNode* value);
    void Node(size_t at, JsonNode* node, long menu);
    size_t RebuiltString(size_t parent, std::string_view key, size_t index, const std::string& id,
                         long menu);
    static bool AsItIs(const std::string& id, size_t size, const char* format);
    void Listed(size_t parent, const std::string& name, JsonNode* value, long menu, NodeMode mode);
    void Groups(size_t parent, const std::string& name, JsonNode* value, long menu);
    void Group(size_t at, size_t i, JsonNode* group, long menu);
    void GroupItems(size_t parent, const std::string& name, JsonNode* value, long menu);

    // EffectsEdits.cpp
    void Definitions(const std::string& name, JsonNode* value);
    Why Unwritten(std::string_view id, size_t& by) const;
    void InfoEntries(const std::string& name, JsonNode* value, bool add);
    void AddEntry(size_t parent, const std::string& menu, JsonNode* entry);
    void Amendment(size_t parent, const std::string& item);
    long FirstAmended(const std::string& item);
    void GatherListed();
    bool Named(const std::string& id);
    void IndexDefinitions();
    void MarkWrittenDefinitions();
    size_t DefinitionOf(std::string_view item) const;
    void NoEffectFromInfo(size_t part, bool add, const std::string& id);
    void FinishDeletes();
    void FinishAdds();
    void FinishModifies();
};

}  // namespace velkin
