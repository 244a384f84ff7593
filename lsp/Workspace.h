// The open documents: their texts kept in step with the client's changes, and
// for definitions the models navigation reads, built when first asked for.
#pragma once

#include <json-glib/json-glib.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Diagnostic.h"
#include "Model.h"
#include "Text.h"

namespace lsp {

struct Document {
    std::string uri;
    std::string path;         // the local file, or the URI's path for another scheme
    bool definition = false;  // checked and navigated
    lsp::Text text;
    bool stale = true;  // changed since its diagnostics were published
    // The checker's findings on the current text, the project file applied;
    // null until checked, and again once the text or a project file changes.
    std::shared_ptr<const std::vector<check::Diagnostic>> findings;

    // The model of the current text.
    const Model& Current();
    // The model of the current text when it scans, else of the last text that did.
    const Model& LastRead();

private:
    std::shared_ptr<const Model> m_model, m_lastRead;
    friend class Workspace;
};

class Workspace {
public:
    // textDocument/didOpen, didChange and didClose; false when the
    // parameters do not name an open document or do not say what changed.
    bool Open(JsonObject* params);
    bool Change(JsonObject* params, Encoding encoding);
    bool Close(JsonObject* params);

    // The open document a request's "textDocument" names; null if none.
    Document* Find(JsonObject* params);
    Document* FindUri(const std::string& uri);
    std::map<std::string, Document>& All() { return m_documents; }

private:
    std::map<std::string, Document> m_documents;  // by URI
};

// A definition by its name: "menu-*.json", or what the client calls one.
bool IsDefinition(const std::string& path, const std::string& languageId);
// The local path of a file: URI; for another URI, its path part.
std::string PathOfUri(const std::string& uri);
std::string UriOfPath(const std::string& path);

}  // namespace lsp
