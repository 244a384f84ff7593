// Definition, references and rename of the identifier at a position.
#include "Diagnostics.h"
#include "Features.h"
#include "Identifiers.h"
#include "Json.h"
#include "Profiles.h"

namespace lsp {

using namespace velkin;

namespace {

// The identifier between the quotes of an occurrence.
Range Inside(const Request& request, const Occurrence& o)
{
    return RangeOf(request, o.begin + 1, o.end > o.begin + 1 ? o.end - 1 : o.end);
}

bool Declares(const Occurrence& o)
{
    return o.role == Role::ItemDefinition || o.role == Role::MenuNode;
}

JsonNode* Locations(const Request& request, const std::vector<const Occurrence*>& found)
{
    if (found.empty())
        return NullNode();
    JsonArray* out = json_array_new();
    for (const Occurrence* o : found)
        json_array_add_element(out, LocationNode(request.document.uri, Inside(request, *o)));
    return ArrayNode(out);
}

// Why `name` cannot replace the identifier `id`; empty when it can.
std::string Refusal(const Model& model, const std::string& id, const std::string& name)
{
    if (!IsPlainIdentifier(name))
        return Show(name) +
               " is not a plain identifier: it needs no escape, holds no '.' or "
               "'[' and does not begin with '*'";
    const bool menu = model.First(id, Role::MenuNode) != nullptr;
    if (menu && IsUnsafeMenuFileName(name))
        return Show(name) + " cannot name a menu: its file would leave the profile directory";
    if (menu && IsReservedMenuName(name))
        return Show(name) + " cannot name a menu: its file is one of the profile's own files";
    if (name != id && !model.Named(name).empty())
        return Show(name) + " is already in use in this definition";
    return {};
}

}  // namespace

JsonNode* FindDefinition(const Request& request)
{
    const Occurrence* at = request.model.At(request.offset);
    if (at == nullptr)
        return NullNode();
    std::vector<const Occurrence*> found;
    for (Role role : {Role::ItemDefinition, Role::MenuNode})
        if (const Occurrence* o = request.model.First(at->id, role))
            found.push_back(o);
    return Locations(request, found);
}

JsonNode* FindReferences(const Request& request)
{
    const Occurrence* at = request.model.At(request.offset);
    if (at == nullptr)
        return NullNode();
    const bool declarations =
        BoolMember(ObjectMember(request.params, "context"), "includeDeclaration").value_or(true);
    std::vector<const Occurrence*> found;
    for (const Occurrence* o : request.model.Named(at->id))
        if (declarations || !Declares(*o))
            found.push_back(o);
    return Locations(request, found);
}

JsonNode* PrepareRename(const Request& request, Failure& failure)
{
    const Occurrence* at = request.model.At(request.offset);
    if (at == nullptr)
        return NullNode();
    if (!IsPlainIdentifier(at->id) ||
        request.model.Text().compare(at->begin + 1, at->id.size(), at->id) != 0) {
        failure = Failure{kRequestFailed, Show(at->id) +
                                              " is written with escapes: rename it "
                                              "by hand"};
        return nullptr;
    }
    JsonObject* out = json_object_new();
    Set(out, "range", RangeNode(Inside(request, *at)));
    Set(out, "placeholder", at->id);
    return ObjectNode(out);
}

JsonNode* Rename(const Request& request, Failure& failure)
{
    const std::optional<std::string> name = StringMember(request.params, "newName");
    JsonNode* prepared = PrepareRename(request, failure);
    if (failure.code != 0 || JSON_NODE_HOLDS_NULL(prepared))
        return prepared;
    json_node_unref(prepared);
    const Occurrence& at = *request.model.At(request.offset);
    const std::string why = Refusal(request.model, at.id, name.value_or(""));
    if (!why.empty()) {
        failure = Failure{kRequestFailed, why};
        return nullptr;
    }
    JsonArray* edits = json_array_new();
    for (const Occurrence* o : request.model.Named(at.id)) {
        JsonObject* edit = json_object_new();
        Set(edit, "range", RangeNode(Inside(request, *o)));
        Set(edit, "newText", *name);
        json_array_add_element(edits, ObjectNode(edit));
    }
    JsonObject* changes = json_object_new();
    Set(changes, request.document.uri.c_str(), ArrayNode(edits));
    JsonObject* out = json_object_new();
    Set(out, "changes", ObjectNode(changes));
    return ObjectNode(out);
}

}  // namespace lsp
