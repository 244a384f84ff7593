// The requests on an open definition. Each answers with the result's JSON
// (a new node; JSON null when there is nothing to answer).
#pragma once

#include <json-glib/json-glib.h>

#include <string>

#include "Workspace.h"

namespace lsp {

// The forms of workspace edit the client declared it applies; every client
// applies the plain "changes" map.
struct EditForms {
    bool documentChanges = false;
    bool createFiles = false;  // a "create" operation among document changes
};

// A request on a position of a document.
struct Request {
    Document& document;
    const Model& model;  // of the current text
    size_t offset;       // the position's byte offset
    Encoding encoding;
    JsonObject* params;
    EditForms forms = {};
};

// Why a request could not be done, as the protocol's error.
struct Failure {
    int code = 0;
    std::string message;
};

inline constexpr int kRequestFailed = -32803;

JsonNode* NullNode();
Range RangeOf(const Request& request, size_t begin, size_t end);

// Navigation.cpp
JsonNode* FindDefinition(const Request& request);
JsonNode* FindReferences(const Request& request);
JsonNode* PrepareRename(const Request& request, Failure& failure);
JsonNode* Rename(const Request& request, Failure& failure);
// Hover.cpp
JsonNode* Hover(const Request& request);
// Outline.cpp
JsonNode* Complete(const Request& request);
JsonNode* DocumentSymbols(const Request& request);
// Actions.cpp
JsonNode* CodeActions(const Request& request);

}  // namespace lsp
