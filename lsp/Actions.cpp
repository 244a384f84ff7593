// Code actions on the diagnostics a client sends back. Each provider turns one
// diagnostic into the actions it offers: the repair its finding carries, and
// lines of the project file that disable its rule or accept the finding.
#include <glib.h>

#include <set>

#include "Check.h"
#include "Config.h"
#include "Diagnostics.h"
#include "Features.h"
#include "Identifiers.h"
#include "Json.h"
#include "JsonWriter.h"

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

// The edits of one file as the client applies them: among document changes
// (after a "create" of a file that does not exist, where the client can), or
// in the plain map.
JsonNode* FileEdit(const Request& request, const std::string& uri, JsonArray* edits, bool exists)
{
    JsonObject* edit = json_object_new();
    if (!request.forms.documentChanges) {
        JsonObject* changes = json_object_new();
        Set(changes, uri.c_str(), ArrayNode(edits));
        Set(edit, "changes", ObjectNode(changes));
        return ObjectNode(edit);
    }
    JsonArray* changes = json_array_new();
    if (!exists && request.forms.createFiles) {
        JsonObject* create = json_object_new();
        Set(create, "kind", "create");
        Set(create, "uri", uri);
        JsonObject* options = json_object_new();
        SetBool(options, "ignoreIfExists", true);
        Set(create, "options", ObjectNode(options));
        json_array_add_element(changes, ObjectNode(create));
    }
    JsonObject* document = json_object_new();
    Set(document, "uri", uri);
    Set(document, "version", NullNode());
    JsonObject* change = json_object_new();
    Set(change, "textDocument", ObjectNode(document));
    Set(change, "edits", ArrayNode(edits));
    json_array_add_element(changes, ObjectNode(change));
    Set(edit, "documentChanges", ArrayNode(changes));
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
    return FileEdit(request, UriOfPath(path), edits, exists);
}

// A quick fix for `diagnostic` doing `edit`; null when one of that title was
// offered already.
JsonObject* QuickFix(ActionContext& context, JsonNode* diagnostic, const std::string& title,
                     JsonNode* edit)
{
    if (!context.offered.insert(title).second) {
        json_node_unref(edit);
        return nullptr;
    }
    JsonObject* action = json_object_new();
    Set(action, "title", title);
    Set(action, "kind", "quickfix");
    JsonArray* diagnostics = json_array_new();
    json_array_add_element(diagnostics, json_node_copy(diagnostic));
    Set(action, "diagnostics", ArrayNode(diagnostics));
    Set(action, "edit", edit);
    return action;
}

// The checker's finding a client's diagnostic stands for: the same rule at
// the same start; null for one of an older text or another tool.
const check::Diagnostic* FindingOf(ActionContext& context, JsonNode* diagnostic)
{
    JsonObject* d = json_node_get_object(diagnostic);
    const std::optional<std::string> code = StringMember(d, "code");
    JsonObject* start = ObjectPath(d, {"range", "start"});
    const std::optional<gint64> line = IntMember(start, "line");
    const std::optional<gint64> character = IntMember(start, "character");
    if (!code || !line || !character)
        return nullptr;
    const Request& request = context.request;
    for (const check::Diagnostic& found : Findings(request.document)) {
        const Position at = FindingRange(request.document, found, request.encoding).start;
        if (*code == check::RuleOf(found.rule).name && static_cast<gint64>(at.line) == *line &&
            static_cast<gint64>(at.character) == *character)
            return &found;
    }
    return nullptr;
}

// The repair the finding carries, as edits of the open document.
void Repair(ActionContext& context, JsonNode* diagnostic, JsonArray* out)
{
    const check::Diagnostic* found = FindingOf(context, diagnostic);
    if (found == nullptr || !found->fix)
        return;
    const Request& request = context.request;
    JsonArray* edits = json_array_new();
    for (const check::TextEdit& e : found->fix->edits)
        json_array_add_element(edits, TextEdit(request.document.text.Span(
                                                   e.offset, e.offset + e.length, request.encoding),
                                               e.replacement));
    JsonObject* changes = json_object_new();
    Set(changes, request.document.uri.c_str(), ArrayNode(edits));
    JsonObject* edit = json_object_new();
    Set(edit, "changes", ObjectNode(changes));
    std::string title = found->fix->title;
    title[0] = static_cast<char>(g_ascii_toupper(title[0]));
    if (JsonObject* action = QuickFix(context, diagnostic, title, ObjectNode(edit))) {
        SetBool(action, "isPreferred", true);
        json_array_add_element(out, ObjectNode(action));
    }
}

void DisableRule(ActionContext& context, JsonNode* diagnostic, JsonArray* out)
{
    const std::optional<std::string> code = StringMember(json_node_get_object(diagnostic), "code");
    if (!code || check::FindRule(*code) == nullptr)
        return;
    const std::string title = "Disable " + *code + " in " + check::kConfigName;
    if (JsonObject* action =
            QuickFix(context, diagnostic, title, AddLine(context.request, "disable=" + *code)))
        json_array_add_element(out, ObjectNode(action));
}

// Accepts this one finding: "ignore=RULE:IDENTIFIER", the identifier quoted
// as a JSON string when blanks at its ends would be lost (or a quote read as
// one). None for an
// identifier the project file cannot hold (a '#', a line break).
void IgnoreIdentifier(ActionContext& context, JsonNode* diagnostic, JsonArray* out)
{
    const check::Diagnostic* found = FindingOf(context, diagnostic);
    if (found == nullptr || found->identifier.empty() ||
        found->identifier.find_first_of("#\n\r") != std::string::npos)
        return;
    const std::string& id = found->identifier;
    const bool quoted =
        g_ascii_isspace(id.front()) || g_ascii_isspace(id.back()) || id.front() == '"';
    const std::string rule = check::RuleOf(found->rule).name;
    const std::string title =
        "Disable " + rule + " for " + velkin::Show(id) + " in " + check::kConfigName;
    const std::string line = "ignore=" + rule + ":" + (quoted ? cli::JsonQuoted(id) : id);
    if (JsonObject* action = QuickFix(context, diagnostic, title, AddLine(context.request, line)))
        json_array_add_element(out, ObjectNode(action));
}

constexpr Provider kProviders[] = {Repair, DisableRule, IgnoreIdentifier};

}  // namespace

JsonNode* CodeActions(const Request& request)
{
    JsonArray* out = json_array_new();
    JsonArray* diagnostics = ArrayMember(ObjectMember(request.params, "context"), "diagnostics");
    ActionContext context{request, {}};
    for (guint i = 0; diagnostics != nullptr && i < json_array_get_length(diagnostics); ++i) {
        JsonNode* node = json_array_get_element(diagnostics, i);
        if (!JSON_NODE_HOLDS_OBJECT(node))
            continue;
        // Some clients (vim's ALE) send a diagnostic back without its source:
        // it is taken as ours when it stands where one of the findings does.
        const std::optional<std::string> source = StringMember(json_node_get_object(node), "source");
        if (source ? *source != kSource : FindingOf(context, node) == nullptr)
            continue;
        for (Provider provider : kProviders)
            provider(context, node, out);
    }
    return ArrayNode(out);
}

}  // namespace lsp
