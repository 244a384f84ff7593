// The server's requests: initialize, and those on a document, which read the
// position asked about and hand the document's model to the feature.
#include <algorithm>

#include "Json.h"
#include "Server.h"

#ifndef VELKIN_VERSION
#define VELKIN_VERSION "0"
#endif

namespace lsp {

namespace {

constexpr int kInvalidParams = -32602;

// UTF-8 when the client offers it, else UTF-16, which every client supports.
Encoding Negotiate(JsonObject* params)
{
    JsonArray* offered =
        ArrayMember(ObjectPath(params, {"capabilities", "general"}), "positionEncodings");
    for (guint i = 0; offered != nullptr && i < json_array_get_length(offered); ++i) {
        JsonNode* element = json_array_get_element(offered, i);
        if (json_node_get_value_type(element) == G_TYPE_STRING &&
            g_strcmp0(json_node_get_string(element), "utf-8") == 0)
            return Encoding::Utf8;
    }
    return Encoding::Utf16;
}

EditForms Forms(JsonObject* params)
{
    JsonObject* edit = ObjectPath(params, {"capabilities", "workspace", "workspaceEdit"});
    EditForms forms;
    forms.documentChanges = BoolMember(edit, "documentChanges").value_or(false);
    JsonArray* operations = ArrayMember(edit, "resourceOperations");
    for (guint i = 0; forms.documentChanges && operations != nullptr &&
                      i < json_array_get_length(operations); ++i) {
        JsonNode* element = json_array_get_element(operations, i);
        if (json_node_get_value_type(element) == G_TYPE_STRING &&
            g_strcmp0(json_node_get_string(element), "create") == 0)
            forms.createFiles = true;
    }
    return forms;
}

JsonObject* Capabilities(Encoding encoding)
{
    JsonObject* c = json_object_new();
    Set(c, "positionEncoding", encoding == Encoding::Utf8 ? "utf-8" : "utf-16");
    JsonObject* sync = json_object_new();
    SetBool(sync, "openClose", true);
    SetInt(sync, "change", 2);  // incremental
    Set(c, "textDocumentSync", ObjectNode(sync));
    for (const char* provider :
         {"definitionProvider", "referencesProvider", "hoverProvider", "documentSymbolProvider"})
        SetBool(c, provider, true);
    JsonObject* rename = json_object_new();
    SetBool(rename, "prepareProvider", true);
    Set(c, "renameProvider", ObjectNode(rename));
    JsonObject* completion = json_object_new();
    JsonArray* triggers = json_array_new();
    json_array_add_string_element(triggers, "\"");
    Set(completion, "triggerCharacters", ArrayNode(triggers));
    Set(c, "completionProvider", ObjectNode(completion));
    JsonObject* actions = json_object_new();
    JsonArray* kinds = json_array_new();
    json_array_add_string_element(kinds, "quickfix");
    Set(actions, "codeActionKinds", ArrayNode(kinds));
    Set(c, "codeActionProvider", ObjectNode(actions));
    return c;
}

}  // namespace

JsonNode* NullNode()
{
    return json_node_init_null(json_node_alloc());
}

Range RangeOf(const Request& request, size_t begin, size_t end)
{
    return request.document.text.Span(begin, end, request.encoding);
}

JsonNode* Server::Initialize(JsonObject* params, Failure&)
{
    m_initialized = true;
    m_encoding = Negotiate(params);
    m_forms = Forms(params);
    JsonObject* info = json_object_new();
    Set(info, "name", "velkin-lsp");
    Set(info, "version", VELKIN_VERSION);
    JsonObject* result = json_object_new();
    Set(result, "capabilities", ObjectNode(Capabilities(m_encoding)));
    Set(result, "serverInfo", ObjectNode(info));
    return ObjectNode(result);
}

// A request on a position: null for a document not open or not a definition.
JsonNode* Server::OnPosition(JsonObject* params, Failure& failure,
                             JsonNode* (*feature)(const Request&, Failure&))
{
    JsonObject* position = ObjectMember(params, "position");
    const std::optional<gint64> line = IntMember(position, "line");
    const std::optional<gint64> character = IntMember(position, "character");
    if (!line || !character || *line < 0 || *character < 0) {
        failure = Failure{kInvalidParams, "a request on a position names it"};
        return nullptr;
    }
    Document* document = m_workspace.Find(params);
    if (document == nullptr || !document->definition)
        return NullNode();
    const size_t offset = document->text.Offset(
        Position{static_cast<size_t>(*line), static_cast<size_t>(*character)}, m_encoding);
    return feature(Request{*document, document->Current(), offset, m_encoding, params}, failure);
}

JsonNode* Server::OnDocument(JsonObject* params, Failure&, JsonNode* (*feature)(const Request&))
{
    Document* document = m_workspace.Find(params);
    if (document == nullptr || !document->definition)
        return NullNode();
    return feature(Request{*document, document->Current(), 0, m_encoding, params, m_forms});
}

template <JsonNode* (*feature)(const Request&)>
static JsonNode* NoFailure(const Request& request, Failure&)
{
    return feature(request);
}

JsonNode* Server::Definition(JsonObject* p, Failure& f)
{
    return OnPosition(p, f, NoFailure<FindDefinition>);
}

JsonNode* Server::References(JsonObject* p, Failure& f)
{
    return OnPosition(p, f, NoFailure<FindReferences>);
}

JsonNode* Server::Hovering(JsonObject* p, Failure& f)
{
    return OnPosition(p, f, NoFailure<Hover>);
}

JsonNode* Server::Preparing(JsonObject* p, Failure& f)
{
    return OnPosition(p, f, PrepareRename);
}

JsonNode* Server::Renaming(JsonObject* p, Failure& f)
{
    return OnPosition(p, f, Rename);
}

JsonNode* Server::Completion(JsonObject* p, Failure& f)
{
    return OnPosition(p, f, NoFailure<Complete>);
}

JsonNode* Server::Symbols(JsonObject* p, Failure& f)
{
    return OnDocument(p, f, DocumentSymbols);
}

JsonNode* Server::Actions(JsonObject* p, Failure& f)
{
    return OnDocument(p, f, CodeActions);
}

}  // namespace lsp
