#include "Workspace.h"

#include <glib.h>

#include "Json.h"

namespace lsp {

namespace {

// languageId values that clients configured for these files send.
constexpr const char* kLanguageIds[] = {"velkin", "velkin-definition"};

Position PositionOf(JsonObject* object)
{
    const gint64 line = IntMember(object, "line").value_or(0);
    const gint64 character = IntMember(object, "character").value_or(0);
    return Position{static_cast<size_t>(std::max<gint64>(line, 0)),
                    static_cast<size_t>(std::max<gint64>(character, 0))};
}

// One element of "contentChanges": the whole text, or a range replaced.
bool Apply(Text& text, JsonNode* change, Encoding encoding)
{
    JsonObject* object = JSON_NODE_HOLDS_OBJECT(change) ? json_node_get_object(change) : nullptr;
    const std::optional<std::string> with = StringMember(object, "text");
    if (!with)
        return false;
    JsonObject* range = ObjectMember(object, "range");
    if (range == nullptr) {
        text.Assign(*with);
        return true;
    }
    JsonObject* start = ObjectMember(range, "start");
    JsonObject* end = ObjectMember(range, "end");
    if (start == nullptr || end == nullptr)
        return false;
    text.Replace(PositionOf(start), PositionOf(end), *with, encoding);
    return true;
}

}  // namespace

const Model& Document::Current()
{
    if (!m_model) {
        m_model = std::make_shared<const Model>(path, text.Bytes());
        if (m_model->Read())
            m_lastRead = m_model;
    }
    return *m_model;
}

const Model& Document::LastRead()
{
    const Model& current = Current();
    return m_lastRead ? *m_lastRead : current;
}

bool IsDefinition(const std::string& path, const std::string& languageId)
{
    for (const char* id : kLanguageIds)
        if (languageId == id)
            return true;
    g_autofree gchar* base = g_path_get_basename(path.c_str());
    return g_str_has_prefix(base, "menu-") && g_str_has_suffix(base, ".json");
}

std::string PathOfUri(const std::string& uri)
{
    g_autofree gchar* path = g_filename_from_uri(uri.c_str(), nullptr, nullptr);
    if (path != nullptr)
        return path;
    const size_t colon = uri.find(':');
    return colon == std::string::npos ? uri : uri.substr(colon + 1);
}

std::string UriOfPath(const std::string& path)
{
    g_autofree gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    return uri != nullptr ? uri : path;
}

bool Workspace::Open(JsonObject* params)
{
    JsonObject* item = ObjectMember(params, "textDocument");
    const std::optional<std::string> uri = StringMember(item, "uri");
    const std::optional<std::string> text = StringMember(item, "text");
    if (!uri || !text)
        return false;
    Document& document = m_documents[*uri];
    document = Document();
    document.uri = *uri;
    document.path = PathOfUri(*uri);
    document.definition =
        IsDefinition(document.path, StringMember(item, "languageId").value_or(""));
    document.text.Assign(*text);
    return true;
}

bool Workspace::Change(JsonObject* params, Encoding encoding)
{
    Document* document = Find(params);
    JsonArray* changes = ArrayMember(params, "contentChanges");
    if (document == nullptr || changes == nullptr)
        return false;
    bool understood = true;
    for (guint i = 0; i < json_array_get_length(changes); ++i)
        understood =
            Apply(document->text, json_array_get_element(changes, i), encoding) && understood;
    document->stale = true;
    document->m_model.reset();
    document->findings.reset();
    return understood;
}

bool Workspace::Close(JsonObject* params)
{
    const std::optional<std::string> uri =
        StringMember(ObjectMember(params, "textDocument"), "uri");
    return uri && m_documents.erase(*uri) != 0;
}

Document* Workspace::Find(JsonObject* params)
{
    const std::optional<std::string> uri =
        StringMember(ObjectMember(params, "textDocument"), "uri");
    return uri ? FindUri(*uri) : nullptr;
}

Document* Workspace::FindUri(const std::string& uri)
{
    const auto it = m_documents.find(uri);
    return it != m_documents.end() ? &it->second : nullptr;
}

}  // namespace lsp
