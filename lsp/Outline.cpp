// The outline of a definition (document symbols) and completion.
#include <map>
#include <set>

#include "Diagnostics.h"
#include "Document.h"
#include "Facts.h"
#include "Features.h"
#include "Json.h"

namespace lsp {

using namespace velkin;

namespace {

// The protocol's SymbolKind and CompletionItemKind values used here.
constexpr gint64 kNamespace = 3, kField = 8, kArray = 18, kKey = 20;
constexpr gint64 kModuleItem = 9, kPropertyItem = 10, kValueItem = 12;

struct Symbol {
    std::string name, detail;
    gint64 kind;
    size_t begin, end;  // the whole symbol: the name and its children
    size_t nameBegin, nameEnd;
    std::vector<Symbol> children;
};

Symbol Leaf(const Occurrence& o, gint64 kind, std::string detail = {})
{
    return Symbol{o.id, std::move(detail), kind, o.begin, o.end, o.begin, o.end, {}};
}

void Adopt(Symbol& parent, Symbol child)
{
    parent.begin = std::min(parent.begin, child.begin);
    parent.end = std::max(parent.end, child.end);
    parent.children.push_back(std::move(child));
}

JsonNode* SymbolNode(const Request& request, const Symbol& s)
{
    JsonObject* out = json_object_new();
    Set(out, "name", s.name.empty() ? std::string("\"\"") : s.name);
    if (!s.detail.empty())
        Set(out, "detail", s.detail);
    SetInt(out, "kind", s.kind);
    Set(out, "range", RangeNode(RangeOf(request, s.begin, s.end)));
    Set(out, "selectionRange", RangeNode(RangeOf(request, s.nameBegin, s.nameEnd)));
    JsonArray* children = json_array_new();
    for (const Symbol& child : s.children)
        json_array_add_element(children, SymbolNode(request, child));
    Set(out, "children", ArrayNode(children));
    return ObjectNode(out);
}

// The display name a definition under "menuitems" gives; empty if none.
std::string DisplayNameOf(const Model& model, const std::string& id)
{
    const char* name = AsString(
        MemberOf(MemberOf(MemberOf(model.Root(), kMenuItems), id.c_str()), "display-name"));
    return name != nullptr ? name : "";
}

// A container per menu node, per add entry and per edit list, and one for
// the item definitions, in file order of their first name.
std::vector<Symbol> Outline(const Model& model)
{
    std::vector<Symbol> top;
    std::map<std::pair<Role, std::string>, size_t> containers;
    auto container = [&](Role role, const Occurrence& o, const std::string& name) -> Symbol& {
        const auto [it, added] = containers.emplace(std::pair{role, name}, top.size());
        if (added)
            top.push_back(Symbol{name,
                                 {},
                                 role == Role::ItemDefinition ? kNamespace : kArray,
                                 o.begin,
                                 o.end,
                                 o.begin,
                                 o.end,
                                 {}});
        return top[it->second];
    };
    for (const Occurrence& o : model.Occurrences()) {
        switch (o.role) {
        case Role::MenuNode: container(Role::MenuNode, o, o.id).detail = "menu"; break;
        case Role::AddMenu: container(Role::AddMenu, o, o.id).detail = kMenuAddInfo; break;
        case Role::Listed: Adopt(container(Role::MenuNode, o, o.owner), Leaf(o, kKey)); break;
        case Role::AddList: Adopt(container(Role::AddMenu, o, o.owner), Leaf(o, kKey)); break;
        case Role::EditList: Adopt(container(Role::EditList, o, o.owner), Leaf(o, kKey)); break;
        case Role::ItemDefinition:
            Adopt(container(Role::ItemDefinition, o, kMenuItems),
                  Leaf(o, kField, DisplayNameOf(model, o.id)));
            break;
        case Role::GroupItem:
        case Role::Amendment: break;
        }
    }
    return top;
}

JsonNode* Item(const std::string& label, gint64 kind, const std::string& detail)
{
    JsonObject* item = json_object_new();
    Set(item, "label", label);
    SetInt(item, "kind", kind);
    if (!detail.empty())
        Set(item, "detail", detail);
    return ObjectNode(item);
}

// The member names read in the object at `offset`.
void MemberNames(const Model& model, size_t offset, JsonArray* items)
{
    const Place* place = model.PlaceAt(offset);
    using K = Place::Kind;
    std::vector<std::string_view> names;
    if (place == nullptr || place->kind == K::Other)
        return;
    if (place->kind == K::Root)
        names.assign(std::begin(kRootMembers), std::end(kRootMembers));
    else if (place->kind == K::Node)
        names.assign(std::begin(kNodeMembers), std::end(kNodeMembers));
    else if (place->kind == K::Group)
        names.assign(std::begin(kGroupMembers), std::end(kGroupMembers));
    else if (place->kind == K::EditList)
        names.assign(std::begin(kEditListMembers), std::end(kEditListMembers));
    else
        names.assign(std::begin(kAddEntryMembers), std::end(kAddEntryMembers));
    for (std::string_view name : names)
        json_array_add_element(items, Item(std::string(name), kPropertyItem, {}));
}

void Identifiers(const Model& model, JsonArray* items)
{
    std::set<std::string> seen;
    for (const Occurrence& o : model.Occurrences())
        if ((o.role == Role::ItemDefinition || o.role == Role::MenuNode) &&
            seen.insert(o.id).second) {
            const std::string name = DisplayNameOf(model, o.id);
            json_array_add_element(
                items, o.role == Role::MenuNode
                           ? Item(o.id, kModuleItem, name.empty() ? "menu" : "menu: " + name)
                           : Item(o.id, kValueItem, name));
        }
}

}  // namespace

JsonNode* DocumentSymbols(const Request& request)
{
    JsonArray* out = json_array_new();
    for (const Symbol& s : Outline(request.model))
        json_array_add_element(out, SymbolNode(request, s));
    return ArrayNode(out);
}

JsonNode* Complete(const Request& request)
{
    const Model& model = request.document.LastRead();
    JsonArray* items = json_array_new();
    const Occurrence* at = model.At(request.offset);
    if (at != nullptr && at->begin < request.offset)
        Identifiers(model, items);
    else if (at == nullptr)
        MemberNames(model, request.offset, items);
    JsonObject* list = json_object_new();
    SetBool(list, "isIncomplete", false);
    Set(list, "items", ArrayNode(items));
    return ObjectNode(list);
}

}  // namespace lsp
