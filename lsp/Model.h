// What the server knows of one definition's text for navigation: every place
// the document names an identifier (from the checker's positional reading)
// and the effective menu the splitter writes for it.
#pragma once

#include <json-glib/json-glib.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Definition.h"
#include "EffectiveMenu.h"
#include "GObjectPtr.h"

namespace lsp {

// Where an identifier stands.
enum class Role {
    MenuNode,        // a key of "menutree"
    ItemDefinition,  // a key of "menuitems"
    Listed,          // a string of a node's "submenuitems"
    GroupItem,       // a string of a group's "group-items"
    EditList,        // a string of an edit list's "submenuitems"
    AddMenu,         // a key of "menuaddinfo"
    AddList,         // a string of an add entry's "list"
    Amendment,       // a key of "menumodifyinfo"
};

struct Occurrence {
    std::string id;
    Role role;
    size_t begin;       // the opening quote
    size_t end;         // after the closing quote
    std::string owner;  // the menu (or edit list) the place belongs to
};

// An object of the document and the member names read there.
struct Place {
    size_t begin, end;  // the opening brace, and after the closing one
    enum class Kind { Root, Node, Group, EditList, AddEntry, Other } kind;
};

class Model {
public:
    Model(const std::string& path, std::string text);
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    bool Read() const { return m_read; }  // the text scanned as JSON
    const std::string& Text() const { return m_text; }
    const std::vector<Occurrence>& Occurrences() const { return m_occurrences; }
    // The occurrence whose quotes hold `offset` (either quote included).
    const Occurrence* At(size_t offset) const;
    std::vector<const Occurrence*> Named(std::string_view id) const;
    const Occurrence* First(std::string_view id, Role role) const;
    // The innermost object holding `offset`; null outside any.
    const Place* PlaceAt(size_t offset) const;

    // Null when json-glib does not read the text.
    const velkin::EffectiveMenu* Menu() const { return m_menu.get(); }
    JsonNode* Root() const;

private:
    void Collect(const check::Node& root);
    void Add(const std::string& id, Role role, size_t begin, const std::string& owner);
    void AddStrings(const check::Node* array, Role role, const std::string& owner);
    void CollectTree(const check::Node& tree);
    void CollectPlaces(const check::Node& node, Place::Kind kind);
    size_t TokenEnd(size_t quote) const;
    size_t SkipBlanks(size_t at) const;
    size_t ValueEnd(const check::Node& node) const;

    std::string m_text;
    bool m_read = false;
    std::vector<Occurrence> m_occurrences;  // in file order
    std::vector<Place> m_places;            // outer before inner
    GObjectPtr<JsonParser> m_parser;
    std::unique_ptr<velkin::EffectiveMenu> m_menu;
};

// A member of an object node; null when absent (the last one of a repeated name).
const check::Node* MemberNode(const check::Node& object, std::string_view name);

}  // namespace lsp
