// The language server's protocol state: the lifecycle (initialize, shutdown,
// exit), the answers to requests, the notifications of document changes, and
// the diagnostics of the definitions changed since they were last checked.
#pragma once

#include <json-glib/json-glib.h>

#include <functional>
#include <string>
#include <string_view>

#include "Features.h"
#include "Workspace.h"

namespace lsp {

class Server {
public:
    // Receives the body of every message the server sends.
    using Sink = std::function<void(const std::string& body)>;

    explicit Server(Sink sink) : m_sink(std::move(sink)) {}

    // One frame's body.
    void Receive(std::string_view body);
    // A frame whose header could not be read.
    void ReceiveMalformed();
    // Nothing more is waiting: the definitions changed since their last
    // check are checked now, so a burst of changes costs one check.
    void Idle();

    bool Exited() const { return m_exited; }
    // The exit status: 0 after shutdown then exit, else 1.
    int ExitStatus() const { return m_shutdown ? 0 : 1; }

private:
    using Handler = JsonNode* (Server::*)(JsonObject* params, Failure& failure);
    using Notified = void (Server::*)(JsonObject* params);

    void Dispatch(JsonObject* message, JsonNode* id);
    void Answer(JsonNode* id, JsonNode* result);
    void Refuse(JsonNode* id, int code, const std::string& message);
    void Notify(const char* method, JsonNode* params);
    Handler HandlerOf(const std::string& method) const;
    Notified NotifiedOf(const std::string& method) const;

    JsonNode* Initialize(JsonObject* params, Failure& failure);
    JsonNode* Shutdown(JsonObject* params, Failure& failure);
    JsonNode* OnPosition(JsonObject* params, Failure& failure,
                         JsonNode* (*feature)(const Request&, Failure&));
    JsonNode* OnDocument(JsonObject* params, Failure& failure,
                         JsonNode* (*feature)(const Request&));
    JsonNode* Definition(JsonObject* p, Failure& f);
    JsonNode* References(JsonObject* p, Failure& f);
    JsonNode* Hovering(JsonObject* p, Failure& f);
    JsonNode* Preparing(JsonObject* p, Failure& f);
    JsonNode* Renaming(JsonObject* p, Failure& f);
    JsonNode* Completion(JsonObject* p, Failure& f);
    JsonNode* Symbols(JsonObject* p, Failure& f);
    JsonNode* Actions(JsonObject* p, Failure& f);

    void Initialized(JsonObject*) {}
    void Exit(JsonObject*) { m_exited = true; }
    void Opened(JsonObject* params);
    void Changed(JsonObject* params);
    void Closed(JsonObject* params);
    void FilesChanged(JsonObject* params);

    Sink m_sink;
    Workspace m_workspace;
    Encoding m_encoding = Encoding::Utf16;
    EditForms m_forms;
    bool m_initialized = false;
    bool m_shutdown = false;
    bool m_exited = false;
};

}  // namespace lsp
