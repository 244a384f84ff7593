#include "DotView.h"

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

std::string DotQuoted(std::string_view text)
{
    return '"' + DotEscaped(text) + '"';
}

// The marks and the identifier, and the display name on a second line.
std::string EntryLabel(const velkin::Menu& menu, const velkin::Entry& entry, const Marks& marks)
{
    std::string label = marks.Any() ? MarkText(marks) + " " : "";
    label = '"' + DotEscaped(label + entry.id);
    if (const velkin::ItemEntry* item = menu.DefinitionOf(entry))
        if (std::optional<std::string> name = DisplayName(item->definition))
            label += "\\n" + DotEscaped(*name);
    return label + '"';
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

void WriteMenu(std::string& out, const velkin::EffectiveMenu& model, size_t m)
{
    const velkin::Menu& menu = model.menus[m];
    const std::string node = "m" + std::to_string(m);
    out += "  " + node + " [label=" + DotQuoted(menu.id) + ", shape=folder, style=bold];\n";
    for (size_t e = 0; e < menu.entries.size(); ++e) {
        const velkin::Entry& entry = menu.entries[e];
        const Marks marks = MarksOf(menu, entry);
        if (entry.opensMenu) {
            out += "  " + node + " -> m" + std::to_string(MenuIndex(model, entry)) + ";\n";
            continue;
        }
        const std::string leaf = node + "e" + std::to_string(e);
        out +=
            "  " + leaf + " [label=" + EntryLabel(menu, entry, marks) + EntryStyle(marks) + "];\n";
        out += "  " + node + " -> " + leaf + ";\n";
    }
}

}  // namespace

std::string RenderDot(const velkin::EffectiveMenu& model)
{
    std::string out =
        "digraph \"velkin-tree\" {\n"
        "  graph [rankdir=LR, fontname=\"sans-serif\"];\n"
        "  node [shape=box, fontname=\"sans-serif\", fontsize=10];\n";
    for (size_t m = 0; m < model.menus.size(); ++m)
        WriteMenu(out, model, m);
    if (!model.unreachable.empty()) {
        out += "  subgraph cluster_unreachable {\n    label=\"not reached from a top menu\";\n";
        for (size_t m : model.unreachable)
            out += "    m" + std::to_string(m) + ";\n";
        out += "  }\n";
    }
    return out + "}\n";
}

}  // namespace tree
