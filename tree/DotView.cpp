#include "DotView.h"

#include <vector>

#include "Deletions.h"
#include "HtmlView.h"
#include "Labels.h"
#include "Walk.h"

namespace tree {

namespace {

// `text` inside a double-quoted DOT string, shown literally on one line.
std::string DotEscaped(std::string_view text)
{
    std::string out;
    for (char c : Printable(text)) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

// The display name of an entry, on a second line of a label; nothing without one.
std::string NameLine(const velkin::Menu& menu, const velkin::Entry& entry)
{
    const velkin::ItemEntry* item = menu.DefinitionOf(entry);
    const std::optional<std::string> name = item ? DisplayName(item->definition) : std::nullopt;
    return name ? "\\n" + DotEscaped(*name) : "";
}

// The marks and the identifier, and the display name on a second line.
std::string EntryLabel(const velkin::Menu& menu, const velkin::Entry& entry, const Marks& marks)
{
    const std::string marked = marks.Any() ? MarkText(marks) + " " : "";
    return '"' + DotEscaped(marked + entry.id) + NameLine(menu, entry) + '"';
}

// Each menu's label: its identifier, and the display name of the first entry
// that opens it.
std::vector<std::string> MenuLabels(const velkin::EffectiveMenu& model)
{
    std::vector<std::string> labels;
    for (const velkin::Menu& menu : model.menus)
        labels.push_back(DotEscaped(menu.id));
    std::vector<bool> named(model.menus.size(), false);
    for (const velkin::Menu& menu : model.menus)
        for (const velkin::Entry& entry : menu.entries) {
            if (!entry.opensMenu || named[MenuIndex(model, entry)])
                continue;
            named[MenuIndex(model, entry)] = true;
            labels[MenuIndex(model, entry)] += NameLine(menu, entry);
        }
    return labels;
}

const char* EntryStyle(const Marks& marks)
{
    if (marks.placeholder)
        return ", color=red, fontcolor=red, style=dashed";
    if (marks.amended)
        return ", color=darkorange, fontcolor=darkorange";
    if (marks.added)
        return ", color=darkgreen, fontcolor=darkgreen";
    return "";
}

// The arrow to an entry's box, in the entry's colour.
std::string EdgeStyle(const Marks& marks)
{
    const std::string style = EntryStyle(marks);
    return style.empty() ? "" : " [" + style.substr(2) + "]";
}

const char kDeletedStyle[] = ", color=gray50, fontcolor=gray50, style=dashed";

// An HTML-like label: `text` struck through, and the edit that removed it
// below in small type.
std::string StruckLabel(const std::string& text, size_t edit)
{
    return "<<S>" + HtmlEscaped(text) + "</S><BR/><FONT POINT-SIZE=\"8\">" + EditNote(edit) +
           "</FONT>>";
}

// A deleted entry's box, where it stood in its menu, and the arrow to it.
void WriteDeleted(std::string& out, const std::string& node, const velkin::DeletedEntry& deleted,
                  size_t row)
{
    const std::string leaf = node + "d" + std::to_string(row);
    out += "  " + leaf + " [label=" + StruckLabel(std::string(1, kDeletedMark) + " " + deleted.id,
                                                  deleted.edit) +
           kDeletedStyle + "];\n";
    out += "  " + node + " -> " + leaf + " [" + (kDeletedStyle + 2) + "];\n";
}

// The menus "menudelete" removes, in a cluster of their own, each with the
// strings it listed.
void WriteDeletedMenus(std::string& out, const velkin::EffectiveMenu& model)
{
    if (model.deletedMenus.empty())
        return;
    out += "  subgraph cluster_deleted {\n    label=\"deleted by menudelete\"; style=dotted;\n";
    for (size_t k = 0; k < model.deletedMenus.size(); ++k) {
        const velkin::DeletedMenu& menu = model.deletedMenus[k];
        const std::string node = "dm" + std::to_string(k);
        out += "    " + node + " [label=" + StruckLabel(menu.id, menu.edit) + ", shape=folder" +
               kDeletedStyle + "];\n";
        for (size_t e = 0; e < menu.entries.size(); ++e) {
            const std::string leaf = node + "e" + std::to_string(e);
            out += "    " + leaf + " [label=<<S>" +
                   HtmlEscaped(std::string(1, kDeletedMark) + " " + menu.entries[e]) + "</S>>" +
                   kDeletedStyle + "];\n";
            out += "    " + node + " -> " + leaf + " [" + (kDeletedStyle + 2) + "];\n";
        }
    }
    out += "  }\n";
}

// The entries of each group not opening a menu, in a cluster of the group.
void WriteGroups(std::string& out, const velkin::Menu& menu, const std::string& node,
                 const std::vector<int>& groups)
{
    for (size_t g = 0; g < menu.groups.size(); ++g) {
        std::string members;
        for (size_t e = 0; e < menu.entries.size(); ++e)
            if (groups[e] == static_cast<int>(g) && !menu.entries[e].opensMenu)
                members += " " + node + "e" + std::to_string(e) + ";";
        if (members.empty())
            continue;
        out += "  subgraph cluster_" + node + "g" + std::to_string(g) + " { label=\"" +
               DotEscaped(GroupHeading(menu, static_cast<int>(g))) +
               "\"; style=dashed; color=gray;" + members + " }\n";
    }
}

void WriteMenu(std::string& out, const velkin::EffectiveMenu& model, size_t m,
               const std::string& label, const std::vector<DeletedPlace>& deleted)
{
    const velkin::Menu& menu = model.menus[m];
    const std::string node = "m" + std::to_string(m);
    const std::vector<int> groups = GroupOfEntries(menu);
    out += "  " + node + " [label=\"" + label + "\", shape=folder, style=bold];\n";
    const std::vector<Row> rows = RowsOf(menu, deleted);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].deleted) {
            WriteDeleted(out, node, model.deletedEntries[rows[r].index], r);
            continue;
        }
        const size_t e = rows[r].index;
        const velkin::Entry& entry = menu.entries[e];
        const Marks marks = MarksOf(menu, entry);
        if (entry.opensMenu) {
            // The arrow to a sub-menu carries the entry's marks and its group.
            std::string style = EntryStyle(marks);
            if (groups[e] != kNoGroup)
                style += ", label=\"group " + std::to_string(groups[e] + 1) + "\", fontsize=8";
            out += "  " + node + " -> m" + std::to_string(MenuIndex(model, entry)) +
                   (style.empty() ? "" : " [" + style.substr(2) + "]") + ";\n";
            continue;
        }
        const std::string leaf = node + "e" + std::to_string(e);
        out +=
            "  " + leaf + " [label=" + EntryLabel(menu, entry, marks) + EntryStyle(marks) + "];\n";
        out += "  " + node + " -> " + leaf + EdgeStyle(marks) + ";\n";
    }
    WriteGroups(out, menu, node, groups);
}

void WriteLegend(std::string& out, bool deleted)
{
    out += "  subgraph cluster_legend {\n    label=\"legend\"; style=dotted;\n"
           "    legend_menu [label=\"menu\", shape=folder, style=bold];\n";
    const std::pair<Marks, const char*> kRows[] = {{Marks{true, false, false}, kAddedMeaning},
                                                   {Marks{false, true, false}, kAmendedMeaning},
                                                   {Marks{false, false, true}, kPlaceholderMeaning}};
    for (size_t k = 0; k < 3; ++k)
        out += "    legend_" + std::to_string(k) + " [label=\"" + MarkText(kRows[k].first) + " " +
               kRows[k].second + "\"" + EntryStyle(kRows[k].first) + "];\n";
    if (deleted)
        out += "    legend_3 [label=<<S>" + std::string(1, kDeletedMark) + " " + kDeletedMeaning +
               "</S>>" + kDeletedStyle + "];\n    legend_2 -> legend_3 [style=invis];\n";
    out += "    legend_menu -> legend_0 -> legend_1 -> legend_2 [style=invis];\n  }\n";
}

}  // namespace

size_t DotNodeCount(const velkin::EffectiveMenu& model)
{
    size_t nodes = model.menus.size();
    for (const velkin::Menu& menu : model.menus)
        for (const velkin::Entry& entry : menu.entries)
            nodes += entry.opensMenu ? 0 : 1;
    nodes += model.deletedEntries.size();
    for (const velkin::DeletedMenu& menu : model.deletedMenus)
        nodes += 1 + menu.entries.size();
    return nodes;
}

std::string RenderDot(const velkin::EffectiveMenu& model, std::string_view title)
{
    const std::string profile = model.profile != nullptr ? model.profile->dir : "none";
    std::string out = "digraph \"velkin-tree\" {\n"
                      "  graph [rankdir=LR, fontname=\"sans-serif\", labelloc=t, label=\"" +
                      DotEscaped(title) + " (profile " + profile + ")\"];\n"
                      "  node [shape=box, fontname=\"sans-serif\", fontsize=10];\n"
                      "  edge [fontname=\"sans-serif\"];\n";
    const std::vector<std::string> labels = MenuLabels(model);
    const std::vector<std::vector<DeletedPlace>> deleted = DeletedPlaces(model);
    for (size_t m = 0; m < model.menus.size(); ++m)
        WriteMenu(out, model, m, labels[m], deleted[m]);
    if (!model.unreachable.empty()) {
        out += "  subgraph cluster_unreachable {\n    label=\"not reached from a top menu\";\n";
        for (size_t m : model.unreachable)
            out += "    m" + std::to_string(m) + ";\n";
        out += "  }\n";
    }
    WriteDeletedMenus(out, model);
    WriteLegend(out, !model.deletedEntries.empty() || !model.deletedMenus.empty());
    return out + "}\n";
}

}  // namespace tree
