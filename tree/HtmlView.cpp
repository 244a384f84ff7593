#include "HtmlView.h"

#include "JsonWriter.h"
#include "Labels.h"
#include "PageAssets.h"
#include "Walk.h"

namespace tree {

namespace {

const char kHead[] = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'">
<meta name="viewport" content="width=device-width, initial-scale=1">
)";

// A JSON string inside a <script> element: every '<' escaped, so that no
// text of the definition can close the element or open a comment in it.
void AppendScriptString(std::string& out, std::string_view text)
{
    std::string escaped;
    cli::AppendJsonEscaped(escaped, text);
    out += '"';
    for (char c : escaped) {
        if (c == '<')
            out += "\\u003c";
        else
            out += c;
    }
    out += '"';
}

// The marks of each entry counted, and the entries of unreachable menus.
struct Counts {
    size_t added = 0, amended = 0, placeholder = 0, unreachable = 0;
};

Counts CountMarks(const velkin::EffectiveMenu& model)
{
    Counts counts;
    for (const velkin::Menu& menu : model.menus)
        for (const velkin::Entry& entry : menu.entries) {
            const Marks marks = MarksOf(menu, entry);
            counts.added += marks.added;
            counts.amended += marks.amended;
            counts.placeholder += marks.placeholder;
        }
    for (size_t menu : model.unreachable)
        counts.unreachable += model.menus[menu].entries.size();
    return counts;
}

void Filter(std::string& out, const char* name, char mark, const char* meaning, size_t count)
{
    out += "<label><input type=\"checkbox\" data-filter=\"" + std::string(name) + "\"> ";
    if (mark != '\0')
        out += "<span class=\"mark " + std::string(name) + "\">" + mark + "</span>";
    out += std::string(meaning) + " (" + std::to_string(count) + ")</label>";
}

void Header(std::string& out, const velkin::EffectiveMenu& model, std::string_view title)
{
    out += "<title>velkin-tree: " + HtmlEscaped(title) + "</title>\n</head>\n<body>\n<header>\n";
    out += "<h1>" + HtmlEscaped(title) + " <small>profile " +
           (model.profile != nullptr ? model.profile->dir : "none") + "</small></h1>\n";
    out += "<div class=\"controls\"><label>Search <input type=\"search\" id=\"q\" "
           "autocomplete=\"off\" placeholder=\"identifier, display name, definition\"></label>"
           "<button id=\"expand\">Expand all</button><button id=\"collapse\">Collapse all</button>"
           "<span id=\"count\"></span></div>\n<div class=\"filters\">Show only: ";
    const Counts counts = CountMarks(model);
    Filter(out, "added", kAddedMark, kAddedMeaning, counts.added);
    Filter(out, "amended", kAmendedMark, kAmendedMeaning, counts.amended);
    Filter(out, "placeholder", kPlaceholderMark, kPlaceholderMeaning, counts.placeholder);
    Filter(out, "unreachable", '\0', "in menus no top menu reaches", counts.unreachable);
    out += "</div>\n</header>\n";
}

// "[i,j,...]".
std::string Indexes(const std::vector<size_t>& indexes)
{
    std::string out = "[";
    for (size_t k = 0; k < indexes.size(); ++k)
        out += (k == 0 ? "" : ",") + std::to_string(indexes[k]);
    return out + "]";
}

// The menus' structure, names and marks, read by the page's script at once.
void MenuData(std::string& out, const velkin::EffectiveMenu& model)
{
    out += "<script type=\"application/json\" id=\"menu-data\">{\"menus\":[";
    for (size_t m = 0; m < model.menus.size(); ++m) {
        const velkin::Menu& menu = model.menus[m];
        out += m == 0 ? "{\"id\":" : ",\n{\"id\":";
        AppendScriptString(out, menu.id);
        out += ",\"sections\":[";
        for (size_t g = 0; g < menu.groups.size(); ++g) {
            out += g == 0 ? "" : ",";
            AppendScriptString(out, GroupHeading(menu, static_cast<int>(g)));
        }
        out += "],\"entries\":[";
        const std::vector<int> groups = GroupOfEntries(menu);
        for (size_t i = 0; i < menu.entries.size(); ++i) {
            const velkin::Entry& entry = menu.entries[i];
            const velkin::ItemEntry* item = menu.DefinitionOf(entry);
            const std::optional<std::string> name =
                item != nullptr ? DisplayName(item->definition) : std::nullopt;
            out += i == 0 ? "[" : ",[";
            AppendScriptString(out, entry.id);
            out += ',';
            if (name)
                AppendScriptString(out, *name);
            else
                out += "null";
            out += ",\"" + MarkText(MarksOf(menu, entry)) + "\",";
            out += entry.opensMenu ? std::to_string(MenuIndex(model, entry)) : "-1";
            out += ',' + std::to_string(groups[i]) + ']';
        }
        out += "]}";
    }
    out += "],\n\"top\":" + Indexes(model.top) + ",\"unreachable\":" + Indexes(model.unreachable);
    out += "}</script>\n";
}

// The definitions, parsed by the script only when a search or an entry
// needs them: a large definition's page paints without them.
void Definitions(std::string& out, const velkin::EffectiveMenu& model)
{
    out += "<script type=\"application/json\" id=\"menu-defs\">[";
    for (size_t m = 0; m < model.menus.size(); ++m) {
        const velkin::Menu& menu = model.menus[m];
        out += m == 0 ? "[" : ",\n[";
        for (size_t i = 0; i < menu.entries.size(); ++i) {
            const velkin::ItemEntry* item = menu.DefinitionOf(menu.entries[i]);
            if (i != 0)
                out += ',';
            if (item != nullptr)
                AppendScriptString(out, item->definition);
            else
                out += "null";
        }
        out += ']';
    }
    out += "]</script>\n";
}

}  // namespace

std::string HtmlEscaped(std::string_view text)
{
    std::string out;
    for (char c : Printable(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string RenderHtml(const velkin::EffectiveMenu& model, std::string_view title)
{
    std::string out = kHead;
    out += std::string("<style>\n") + kPageCss + "</style>\n";
    Header(out, model, title);
    out += "<div id=\"results\" hidden></div>\n<main id=\"tree\"></main>\n";
    out += "<noscript><p>This page draws the menu with its script: turn script on, or use "
           "velkin-tree --format=text.</p></noscript>\n";
    MenuData(out, model);
    Definitions(out, model);
    out += std::string("<script>\n") + kPageScript + "</script>\n";
    return out + "</body>\n</html>\n";
}

}  // namespace tree
