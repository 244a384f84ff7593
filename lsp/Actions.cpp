// Code actions on the diagnostics a client sends back. Each provider turns one
// diagnostic into the actions it offers; the checker's own fixes, once its
// findings carry them, become one more provider beside DisableRule.
#include <glib.h>

#include <set>

#include "Check.h"
#include "Config.h"
#include "Diagnostics.h"
#include "Features.h"
#include "Json.h"

namespace lsp {

namespace {

struct ActionContext {
    const Request& request;
    std::set<std::string> offered;  // titles, so a rule is offered once
};

using Provider = void (*)(ActionContext& context, JsonNode* diagnostic, JsonArray* out);

// The project file nearest `directory`, or empty.
std::string NearestConfig(std::string directory)
{
    for (;;) {
        g_autofree gchar* candidate =
            g_build_filename(directory.c_str(), check::kConfigName, nullptr);
        if (g_file_test(candidate, G_FILE_TEST_IS_REGULAR))
            return candidate;
        g_autofree gchar* parent = g_path_get_dirname(directory.c_str());
        if (directory == parent)
            return {};
        directory = parent;
    }
}

JsonNode* TextEdit(const Range& range, const std::string& text)
{
    JsonObject* edit = json_object_new();
    Set(edit, "range", RangeNode(range));
    Set(edit, "newText", text);
    return ObjectNode(edit);
}

// Appends a line to the project file, creating it beside the definition when
// there is none.
JsonNode* AddLine(const Request& request, const std::string& line)
{
    g_autofree gchar* directory = g_path_get_dirname(request.document.path.c_str());
    std::string path = NearestConfig(directory);
    g_autofree gchar* contents = nullptr;
    const bool exists =
        !path.empty() && g_file_get_contents(path.c_str(), &contents, nullptr, nullptr);
    if (!exists) {
        g_autofree gchar* beside = g_build_filename(directory, check::kConfigName, nullptr);
        path = beside;
    }
    const Text file(exists ? contents : "");
    const std::string& bytes = file.Bytes();
    const bool newline = bytes.empty() || bytes.back() == '\n';
    const Position end = file.At(bytes.size(), request.encoding);
    JsonArray* edits = json_array_new();
    json_array_add_element(edits, TextEdit(Range{end, end}, (newline ? "" : "\n") + line + "\n"));
    JsonObject* document = json_object_new();
    Set(document, "uri", UriOfPath(path));
    Set(document, "version", NullNode());
    JsonObject* change = json_object_new();
    Set(change, "textDocument", ObjectNode(document));
    Set(change, "edits", ArrayNode(edits));
    JsonArray* changes = json_array_new();
    if (!exists) {
        JsonObject* create = json_object_new();
        Set(create, "kind", "create");
        Set(create, "uri", UriOfPath(path));
        JsonObject* options = json_object_new();
        SetBool(options, "ignoreIfExists", true);
        Set(create, "options", ObjectNode(options));
        json_array_add_element(changes, ObjectNode(create));
    }
    json_array_add_element(changes, ObjectNode(change));
    JsonObject* edit = json_object_new();
    Set(edit, "documentChanges", ArrayNode(changes));
    return ObjectNode(edit);
}

void DisableRule(ActionContext& context, JsonNode* diagnostic, JsonArray* out)
{
    const std::optional<std::string> code = StringMember(json_node_get_object(diagnostic), "code");
    if (!code || check::FindRule(*code) == nullptr)
        return;
    const std::string title = "Disable " + *code + " in " + check::kConfigName;
    if (!context.offered.insert(title).second)
        return;
    JsonObject* action = json_object_new();
    Set(action, "title", title);
    Set(action, "kind", "quickfix");
    JsonArray* diagnostics = json_array_new();
    json_array_add_element(diagnostics, json_node_copy(diagnostic));
    Set(action, "diagnostics", ArrayNode(diagnostics));
    Set(action, "edit", AddLine(context.request, "disable=" + *code));
    json_array_add_element(out, ObjectNode(action));
}

constexpr Provider kProviders[] = {DisableRule};

}  // namespace

JsonNode* CodeActions(const Request& request)
{
    JsonArray* out = json_array_new();
    JsonArray* diagnostics = ArrayMember(ObjectMember(request.params, "context"), "diagnostics");
    ActionContext context{request, {}};
    for (guint i = 0; diagnostics != nullptr && i < json_array_get_length(diagnostics); ++i) {
        JsonNode* node = json_array_get_element(diagnostics, i);
        if (!JSON_NODE_HOLDS_OBJECT(node) ||
            StringMember(json_node_get_object(node), "source").value_or("") != kSource)
            continue;
        for (Provider provider : kProviders)
            provider(context, node, out);
    }
    return ArrayNode(out);
}

}  // namespace lsp
