#include "HtmlView.h"

#include "Deletions.h"
#include "JsonWriter.h"
#include "Labels.h"
#include "Members.h"
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
    size_t added = 0, amended = 0, placeholder = 0, unreachable = 0, deleted = 0;
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
    counts.deleted = model.deletedEntries.size();
    for (const velkin::DeletedMenu& menu : model.deletedMenus)
        counts.deleted += menu.entries.size();
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
    Filter(out, kDeletedMeaning, kDeletedMark, kDeletedMeaning, counts.deleted);
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

void ScriptStringOrNull(std::string& out, const std::optional<std::string>& text)
{
    if (text)
        AppendScriptString(out, *text);
    else
        out += "null";
}

// [id, display name | null, marks, the menu it opens | -1, group | -1, edit | null]
void EntryData(std::string& out, const velkin::EffectiveMenu& model, const velkin::Menu& menu,
               size_t e, int group)
{
    const velkin::Entry& entry = menu.entries[e];
    const velkin::ItemEntry* item = menu.DefinitionOf(entry);
    out += '[';
    AppendScriptString(out, entry.id);
    out += ',';
    ScriptStringOrNull(out, item != nullptr ? DisplayName(item->definition) : std::nullopt);
    out += ",\"" + MarkText(MarksOf(menu, entry)) + "\",";
    out += entry.opensMenu ? std::to_string(MenuIndex(model, entry)) : "-1";
    out += ',' + std::to_string(group) + ",null]";
}

// A deleted entry's data: marked, with the edit that removed it (null for
// the strings a deleted menu takes along).
void DeletedData(std::string& out, const std::string& id, const std::optional<std::string>& edit)
{
    out += '[';
    AppendScriptString(out, id);
    out += ",null,\"";
    out += kDeletedMark;
    out += "\",-1,-1,";
    ScriptStringOrNull(out, edit);
    out += ']';
}

// One menu's data: its sections and its rows, deleted entries in their places.
void MenuObject(std::string& out, const velkin::EffectiveMenu& model, size_t m,
                const std::vector<DeletedPlace>& places)
{
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
    const std::vector<Row> rows = RowsOf(menu, places);
    for (size_t r = 0; r < rows.size(); ++r) {
        out += r == 0 ? "" : ",";
        const velkin::DeletedEntry* deleted =
            rows[r].deleted ? &model.deletedEntries[rows[r].index] : nullptr;
        if (deleted != nullptr)
            DeletedData(out, deleted->id, EditNote(deleted->edit));
        else
            EntryData(out, model, menu, rows[r].index, groups[rows[r].index]);
    }
    out += "]}";
}

// The deleted menus, after the written ones: each with its edit and the
// strings it listed.
void DeletedMenus(std::string& out, const velkin::EffectiveMenu& model)
{
    for (const velkin::DeletedMenu& menu : model.deletedMenus) {
        out += &menu == &model.deletedMenus[0] && model.menus.empty() ? "{\"id\":" : ",\n{\"id\":";
        AppendScriptString(out, menu.id);
        out += ",\"deleted\":";
        AppendScriptString(out, EditNote(menu.edit));
        out += ",\"sections\":[],\"entries\":[";
        for (size_t e = 0; e < menu.entries.size(); ++e) {
            out += e == 0 ? "" : ",";
            DeletedData(out, menu.entries[e], std::nullopt);
        }
        out += "]}";
    }
}

// The menus' structure, names and marks, read by the page's script at once.
void MenuData(std::string& out, const velkin::EffectiveMenu& model,
              const std::vector<std::vector<DeletedPlace>>& places)
{
    out += "<script type=\"application/json\" id=\"menu-data\">{\"menus\":[";
    for (size_t m = 0; m < model.menus.size(); ++m)
        MenuObject(out, model, m, places[m]);
    DeletedMenus(out, model);
    std::vector<size_t> deleted;
    for (size_t k = 0; k < model.deletedMenus.size(); ++k)
        deleted.push_back(model.menus.size() + k);
    out += "],\n\"top\":" + Indexes(model.top) + ",\"unreachable\":" + Indexes(model.unreachable);
    out += ",\"deleted\":" + Indexes(deleted) + "}</script>\n";
}

// An entry's definition, or [definition, [member changed...]] for an amended one.
void DefinitionData(std::string& out, const velkin::ItemEntry* item, const Amendments& amendments)
{
    if (item == nullptr) {
        out += "null";
        return;
    }
    auto amendment = item->amended ? amendments.find(item->id) : amendments.end();
    const std::vector<std::string> lines =
        amendment != amendments.end() ? AmendedMembers(item->definition, *amendment->second)
                                      : std::vector<std::string>();
    if (lines.empty()) {
        AppendScriptString(out, item->definition);
        return;
    }
    out += '[';
    AppendScriptString(out, item->definition);
    out += ",[";
    for (size_t k = 0; k < lines.size(); ++k) {
        out += k == 0 ? "" : ",";
        AppendScriptString(out, lines[k]);
    }
    out += "]]";
}

// The definitions, parsed by the script only when a search or an entry
// needs them: a large definition's page paints without them. One array a
// menu (the deleted menus' after the written ones), a value a row.
void Definitions(std::string& out, const velkin::EffectiveMenu& model,
                 const std::vector<std::vector<DeletedPlace>>& places)
{
    const Amendments amendments = AppliedAmendments(model);
    out += "<script type=\"application/json\" id=\"menu-defs\">[";
    for (size_t m = 0; m < model.menus.size(); ++m) {
        const velkin::Menu& menu = model.menus[m];
        out += m == 0 ? "[" : ",\n[";
        const std::vector<Row> rows = RowsOf(menu, places[m]);
        for (size_t r = 0; r < rows.size(); ++r) {
            out += r == 0 ? "" : ",";
            if (rows[r].deleted)
                out += "null";
            else
                DefinitionData(out, menu.DefinitionOf(menu.entries[rows[r].index]), amendments);
        }
        out += ']';
    }
    for (const velkin::DeletedMenu& menu : model.deletedMenus) {
        out += &menu == &model.deletedMenus[0] && model.menus.empty() ? "[" : ",\n[";
        for (size_t e = 0; e < menu.entries.size(); ++e)
            out += e == 0 ? "null" : ",null";
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
    const std::vector<std::vector<DeletedPlace>> places = DeletedPlaces(model);
    MenuData(out, model, places);
    Definitions(out, model, places);
    out += std::string("<script>\n") + kPageScript + "</script>\n";
    return out + "</body>\n</html>\n";
}

}  // namespace tree
