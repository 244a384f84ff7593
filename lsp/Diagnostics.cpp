#include "Diagnostics.h"

#include <glib.h>

#include <algorithm>
#include <cctype>

#include "Check.h"
#include "Config.h"
#include "Json.h"

namespace lsp {

namespace {

constexpr gint64 kError = 1, kWarning = 2;
constexpr gint64 kUnnecessary = 1;

// Rules about parts of a definition that have no effect.
bool WithoutEffect(check::RuleId rule)
{
    return rule == check::RuleId::UnusedDefinition || rule == check::RuleId::IgnoredEditInfo ||
           rule == check::RuleId::DanglingEdit;
}

// The end of the token at `begin`: a whole string, or a word, or one byte.
size_t TokenEnd(const std::string& text, size_t begin)
{
    if (begin >= text.size())
        return begin;
    size_t end = begin + 1;
    if (text[begin] == '"') {
        while (end < text.size() && text[end] != '"' && text[end] != '\n')
            end += text[end] == '\\' ? 2 : 1;
        return std::min(end + 1, text.size());
    }
    while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) ||
                                 text[end] == '.' || text[end] == '-' || text[end] == '+'))
        ++end;
    return end;
}

Range RangeAt(const Text& text, long line, long column, Encoding encoding)
{
    const size_t begin = text.OffsetOfColumn(line, column);
    return text.Span(begin, TokenEnd(text.Bytes(), begin), encoding);
}

// Reads a decimal number at `at`, moving past it; 0 when there is none.
long Number(const std::string& text, size_t& at)
{
    long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
           value < 1000000000;
         ++at)
        value = value * 10 + (text[at] - '0');
    return value;
}

// The other places a message names ("line L, column C").
JsonNode* Related(const Document& document, const std::string& message, Encoding encoding)
{
    static constexpr std::string_view kLine = "line ", kColumn = ", column ";
    JsonArray* related = json_array_new();
    for (size_t at = message.find(kLine); at != std::string::npos; at = message.find(kLine, at)) {
        at += kLine.size();
        const long line = Number(message, at);
        if (line == 0 || message.compare(at, kColumn.size(), kColumn) != 0)
            continue;
        at += kColumn.size();
        const long column = Number(message, at);
        if (column == 0)
            continue;
        JsonObject* info = json_object_new();
        Set(info, "location",
            LocationNode(document.uri, RangeAt(document.text, line, column, encoding)));
        Set(info, "message", "named here");
        json_array_add_element(related, ObjectNode(info));
    }
    return ArrayNode(related);
}

JsonNode* DiagnosticNode(const Document& document, const check::Diagnostic& found,
                         Encoding encoding)
{
    const check::Rule& rule = check::RuleOf(found.rule);
    JsonObject* d = json_object_new();
    Set(d, "range", RangeNode(FindingRange(document, found, encoding)));
    SetInt(d, "severity", found.severity == check::Severity::Error ? kError : kWarning);
    Set(d, "code", rule.name);
    Set(d, "source", kSource);
    Set(d, "message", found.message);
    JsonNode* related = Related(document, found.message, encoding);
    if (json_array_get_length(json_node_get_array(related)) > 0)
        Set(d, "relatedInformation", related);
    else
        json_node_unref(related);
    if (WithoutEffect(found.rule)) {
        JsonArray* tags = json_array_new();
        json_array_add_int_element(tags, kUnnecessary);
        Set(d, "tags", ArrayNode(tags));
    }
    return ObjectNode(d);
}

// A project file that cannot be read or understood, at the top of the text.
JsonNode* ConfigProblem(const std::string& problem)
{
    JsonObject* d = json_object_new();
    Set(d, "range", RangeNode(Range{}));
    SetInt(d, "severity", kError);
    Set(d, "source", kSource);
    Set(d, "message", problem);
    return ObjectNode(d);
}

JsonArray* Check(Document& document, Encoding encoding)
{
    JsonArray* out = json_array_new();
    std::string problem;
    const std::vector<check::Diagnostic>& found = Findings(document, &problem);
    if (!problem.empty())
        json_array_add_element(out, ConfigProblem(problem));
    for (const check::Diagnostic& d : found)
        json_array_add_element(out, DiagnosticNode(document, d, encoding));
    return out;
}

JsonNode* Params(const std::string& uri, JsonArray* diagnostics)
{
    JsonObject* params = json_object_new();
    Set(params, "uri", uri);
    Set(params, "diagnostics", ArrayNode(diagnostics));
    return ObjectNode(params);
}

}  // namespace

const std::vector<check::Diagnostic>& Findings(Document& document, std::string* problem)
{
    if (document.findings && problem == nullptr)
        return *document.findings;
    g_autofree gchar* cwd = g_get_current_dir();
    g_autofree gchar* directory = g_path_get_dirname(document.path.c_str());
    check::ConfigFinder finder(cwd);  // a new one each time: the file is read afresh
    check::Settings settings;
    std::string unread;
    if (!finder.Find(directory, settings, unread) && problem != nullptr)
        *problem = unread;
    auto found = std::make_shared<std::vector<check::Diagnostic>>(
        check::CheckDefinition(document.path.c_str(), document.text.Bytes()));
    settings.Apply(*found);
    document.findings = found;
    return *found;
}

Range FindingRange(const Document& document, const check::Diagnostic& found, Encoding encoding)
{
    return RangeAt(document.text, found.position.line, found.position.column, encoding);
}

JsonNode* PublishParams(Document& document, Encoding encoding)
{
    document.stale = false;
    return Params(document.uri, document.definition ? Check(document, encoding) : json_array_new());
}

JsonNode* ClearParams(const std::string& uri)
{
    return Params(uri, json_array_new());
}

JsonNode* RangeNode(const Range& range)
{
    JsonObject* object = json_object_new();
    for (const auto& [name, p] : {std::pair{"start", range.start}, std::pair{"end", range.end}}) {
        JsonObject* position = json_object_new();
        SetInt(position, "line", static_cast<gint64>(p.line));
        SetInt(position, "character", static_cast<gint64>(p.character));
        Set(object, name, ObjectNode(position));
    }
    return ObjectNode(object);
}

JsonNode* LocationNode(const std::string& uri, const Range& range)
{
    JsonObject* location = json_object_new();
    Set(location, "uri", uri);
    Set(location, "range", RangeNode(range));
    return ObjectNode(location);
}

}  // namespace lsp
