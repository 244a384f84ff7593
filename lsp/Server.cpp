#include "Server.h"

#include <malloc.h>

#include <map>

#include "Diagnostics.h"
#include "Json.h"

#ifndef VELKIN_VERSION
#define VELKIN_VERSION "0"
#endif

namespace lsp {

namespace {

// JSON-RPC's and the protocol's error codes.
constexpr int kParseError = -32700, kInvalidRequest = -32600, kMethodNotFound = -32601;
constexpr int kServerNotInitialized = -32002;

// An id is a string or an integer.
bool ValidId(JsonNode* id)
{
    if (id == nullptr || !JSON_NODE_HOLDS_VALUE(id))
        return false;
    const GType type = json_node_get_value_type(id);
    return type == G_TYPE_STRING || type == G_TYPE_INT64;
}

// "params", when given, is an object or an array.
bool ValidParams(JsonObject* message)
{
    JsonNode* params = json_object_get_member(message, "params");
    return params == nullptr || JSON_NODE_HOLDS_OBJECT(params) || JSON_NODE_HOLDS_ARRAY(params) ||
           JSON_NODE_HOLDS_NULL(params);
}

// The entry of `method` in a table of methods; null if none.
template <typename Member>
Member Lookup(const std::map<std::string, Member>& table, const std::string& method)
{
    const auto it = table.find(method);
    return it != table.end() ? it->second : nullptr;
}

}  // namespace

void Server::Receive(std::string_view body)
{
    g_autoptr(JsonParser) parser = json_parser_new();
    if (!json_parser_load_from_data(parser, body.data(), static_cast<gssize>(body.size()),
                                    nullptr) ||
        json_parser_get_root(parser) == nullptr)
        return Refuse(nullptr, kParseError, "the message is not JSON");
    JsonNode* root = json_parser_get_root(parser);
    if (!JSON_NODE_HOLDS_OBJECT(root))
        return Refuse(nullptr, kInvalidRequest, "a message is a JSON object");
    JsonObject* message = json_node_get_object(root);
    JsonNode* id = json_object_get_member(message, "id");
    if (id != nullptr && !ValidId(id))
        return Refuse(nullptr, kInvalidRequest, "an id is a string or an integer");
    const bool response =
        !json_object_has_member(message, "method") &&
        (json_object_has_member(message, "result") || json_object_has_member(message, "error"));
    if (response)
        return;  // the server sends no requests: nothing waits for an answer
    if (StringMember(message, "jsonrpc").value_or("") != "2.0" ||
        !StringMember(message, "method") || !ValidParams(message))
        return Refuse(id, kInvalidRequest,
                      "a request holds \"jsonrpc\": \"2.0\", a \"method\" string and object "
                      "or array \"params\"");
    Dispatch(message, id);
}

void Server::ReceiveMalformed()
{
    Refuse(nullptr, kParseError, "a message header without a valid Content-Length");
}

void Server::Dispatch(JsonObject* message, JsonNode* id)
{
    const std::string method = *StringMember(message, "method");
    JsonObject* params = ObjectMember(message, "params");
    if (id == nullptr) {
        const Notified notified = NotifiedOf(method);
        if (notified != nullptr && (m_initialized || method == "exit"))
            (this->*notified)(params);
        return;  // other notifications, and any before initialize, are dropped
    }
    if (!m_initialized && method != "initialize")
        return Refuse(id, kServerNotInitialized, "the server is not initialized");
    if (m_shutdown)
        return Refuse(id, kInvalidRequest, "the server is shut down");
    if (m_initialized && method == "initialize")
        return Refuse(id, kInvalidRequest, "the server is already initialized");
    const Handler handler = HandlerOf(method);
    if (handler == nullptr)
        return Refuse(id, kMethodNotFound, "no method " + method);
    Idle();  // a request sees the diagnostics of every change before it
    Failure failure;
    JsonNode* result = (this->*handler)(params, failure);
    if (failure.code != 0)
        return Refuse(id, failure.code, failure.message);
    Answer(id, result);
}

Server::Handler Server::HandlerOf(const std::string& method) const
{
    static const std::map<std::string, Handler> handlers = {
        {"initialize", &Server::Initialize},
        {"shutdown", &Server::Shutdown},
        {"textDocument/definition", &Server::Definition},
        {"textDocument/references", &Server::References},
        {"textDocument/hover", &Server::Hovering},
        {"textDocument/prepareRename", &Server::Preparing},
        {"textDocument/rename", &Server::Renaming},
        {"textDocument/completion", &Server::Completion},
        {"textDocument/documentSymbol", &Server::Symbols},
        {"textDocument/codeAction", &Server::Actions},
    };
    return Lookup(handlers, method);
}

Server::Notified Server::NotifiedOf(const std::string& method) const
{
    // $/cancelRequest is not listed: every request is answered before the
    // next message is read, so there is never one to cancel.
    static const std::map<std::string, Notified> notified = {
        {"initialized", &Server::Initialized},
        {"exit", &Server::Exit},
        {"textDocument/didOpen", &Server::Opened},
        {"textDocument/didChange", &Server::Changed},
        {"textDocument/didClose", &Server::Closed},
        {"workspace/didChangeWatchedFiles", &Server::FilesChanged},
    };
    return Lookup(notified, method);
}

void Server::Answer(JsonNode* id, JsonNode* result)
{
    JsonObject* message = json_object_new();
    Set(message, "jsonrpc", "2.0");
    Set(message, "id", json_node_copy(id));
    Set(message, "result", result != nullptr ? result : NullNode());
    g_autoptr(JsonNode) node = ObjectNode(message);
    m_sink(Serialise(node));
}

void Server::Refuse(JsonNode* id, int code, const std::string& text)
{
    JsonObject* error = json_object_new();
    SetInt(error, "code", code);
    Set(error, "message", text);
    JsonObject* message = json_object_new();
    Set(message, "jsonrpc", "2.0");
    Set(message, "id", id != nullptr ? json_node_copy(id) : NullNode());
    Set(message, "error", ObjectNode(error));
    g_autoptr(JsonNode) node = ObjectNode(message);
    m_sink(Serialise(node));
}

void Server::Notify(const char* method, JsonNode* params)
{
    JsonObject* message = json_object_new();
    Set(message, "jsonrpc", "2.0");
    Set(message, "method", method);
    Set(message, "params", params);
    g_autoptr(JsonNode) node = ObjectNode(message);
    m_sink(Serialise(node));
}

void Server::Idle()
{
    for (auto& [uri, document] : m_workspace.All()) {
        if (!document.stale)
            continue;
        if (document.definition)
            Notify("textDocument/publishDiagnostics", PublishParams(document, m_encoding));
        document.stale = false;
    }
}

void Server::Opened(JsonObject* params)
{
    m_workspace.Open(params);
}

void Server::Changed(JsonObject* params)
{
    m_workspace.Change(params, m_encoding);
}

void Server::Closed(JsonObject* params)
{
    Document* document = m_workspace.Find(params);
    if (document == nullptr)
        return;
    const std::string uri = document->uri;
    const bool definition = document->definition;
    m_workspace.Close(params);
    malloc_trim(0);  // a large definition's memory goes back to the system
    if (definition)
        Notify("textDocument/publishDiagnostics", ClearParams(uri));
}

// A project file may have changed: every definition is checked again.
void Server::FilesChanged(JsonObject*)
{
    for (auto& [uri, document] : m_workspace.All()) {
        document.stale = true;
        document.findings.reset();
    }
}

JsonNode* Server::Shutdown(JsonObject*, Failure&)
{
    m_shutdown = true;
    return NullNode();
}

}  // namespace lsp
