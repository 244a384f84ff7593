#include "DiffReport.h"

#include <glib.h>

#include "Color.h"
#include "JsonView.h"
#include "JsonWriter.h"
#include "Labels.h"
#include "RawJson.h"

#include <algorithm>
#include <map>

namespace tree {

namespace {

using cli::sgr::kGreen;
using cli::sgr::kRed;
using cli::sgr::kYellow;

// A member of a definition object, by name: its last value, as a reader keeps.
using Members = std::vector<std::pair<std::string, std::string>>;

bool LastMembers(const std::optional<std::string>& text, Members& out)
{
    std::vector<velkin::RawMember> raw;
    if (!text || !velkin::ScanObject(*text, raw))
        return false;
    for (const velkin::RawMember& m : raw) {
        auto same = std::find_if(out.begin(), out.end(),
                                 [&m](const auto& kept) { return kept.first == m.name; });
        if (same != out.end())
            out.erase(same);
        out.emplace_back(std::string(m.name), std::string(m.value));
    }
    return true;
}

// "name: old → new", "+ name: value", "- name: value": what changed, member
// by member; empty when either text is not an object or only the layout
// of its members changed.
std::vector<std::string> MemberChanges(const std::optional<std::string>& before,
                                       const std::optional<std::string>& after)
{
    Members old, now;
    std::vector<std::string> lines;
    if (!LastMembers(before, old) || !LastMembers(after, now))
        return lines;
    auto find = [](const Members& in, const std::string& name) {
        return std::find_if(in.begin(), in.end(),
                            [&name](const auto& m) { return m.first == name; });
    };
    for (const auto& [name, value] : now) {
        auto was = find(old, name);
        if (was == old.end())
            lines.push_back("+ " + Printable(name) + ": " + Printable(value));
        else if (was->second != value)
            lines.push_back(Printable(name) + ": " + Printable(was->second) + " \u2192 " +
                            Printable(value));
    }
    for (const auto& [name, value] : old)
        if (find(now, name) == now.end())
            lines.push_back("- " + Printable(name) + ": " + Printable(value));
    return lines;
}

std::string Counted(size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "1 menu added, 2 entries removed, ...": the kinds of change that occur.
std::string Summary(const MenuDiff& d)
{
    const std::pair<size_t, std::string> kKinds[] = {{d.menusAdded.size(), " added"},
                                                     {d.menusRemoved.size(), " removed"},
                                                     {d.added.size(), " added"},
                                                     {d.removed.size(), " removed"},
                                                     {d.moved.size(), " moved"},
                                                     {d.renamed.size(), " renamed"},
                                                     {d.definitions.size(), " changed"},
                                                     {d.groups.size(), " with groups changed"},
                                                     {d.parents.size(), " with parent changed"}};
    const char* kOne[] = {"menu",  "menu",       "entry", "entry", "entry",
                          "entry", "definition", "menu",  "menu"};
    const char* kMany[] = {"menus",   "menus",       "entries", "entries", "entries",
                           "entries", "definitions", "menus",   "menus"};
    std::string out;
    for (size_t k = 0; k < 9; ++k)
        if (kKinds[k].first != 0)
            out += (out.empty() ? "" : ", ") + Counted(kKinds[k].first, kOne[k], kMany[k]) +
                   kKinds[k].second;
    return out;
}

class TextReport {
public:
    TextReport(const MenuDiff& diff, bool color) : m_diff(diff), m_color(color) {}

    // The changes of each menu under its name, menus in the order drawn;
    // then the summary. With `stat`, a line per menu and the summary.
    std::string Write(bool stat)
    {
        Collect();
        for (const std::string& menu : m_diff.order) {
            auto it = m_menus.find(menu);
            if (it == m_menus.end())
                continue;
            if (stat)
                StatLine(menu, it->second);
            else
                Section(menu, it->second);
        }
        if (!m_diff.Equal())
            m_out += (stat ? "" : "\n") + Summary(m_diff) + "\n";
        return std::move(m_out);
    }

private:
    struct Line {
        size_t position;  // where in the menu; lines without one come last
        const char* color;
        std::string text;
        std::vector<std::string> below;  // further lines, indented
    };
    struct MenuLines {
        const char* status = nullptr;  // "added" or "removed"
        std::vector<Line> lines;
    };
    static constexpr size_t kLast = static_cast<size_t>(-1);
    const MenuDiff& m_diff;
    const bool m_color;
    std::string m_out;
    std::map<std::string, MenuLines> m_menus;

    void Add(const std::string& menu, Line line) { m_menus[menu].lines.push_back(std::move(line)); }

    void Collect()
    {
        for (const std::string& menu : m_diff.menusAdded)
            m_menus[menu].status = "menu added";
        for (const std::string& menu : m_diff.menusRemoved)
            m_menus[menu].status = "menu removed";
        for (const EntryChange& c : m_diff.added)
            Add(c.to->menu,
                {c.to->position, cli::sgr::kGreen, "+ " + Entry(c.id, c.name) + At(*c.to), {}});
        for (const EntryChange& c : m_diff.removed)
            Add(c.from->menu,
                {c.from->position, cli::sgr::kRed, "- " + Entry(c.id, c.name) + At(*c.from), {}});
        for (const EntryChange& c : m_diff.moved)
            Add(c.to->menu, {c.to->position,
                             cli::sgr::kYellow,
                             "> " + Entry(c.id, c.name) + Move(*c.from, *c.to),
                             {}});
        for (const Rename& r : m_diff.renamed)
            Add(r.menu, {r.position,
                         cli::sgr::kYellow,
                         "= " + Printable(r.from) + " \u2192 " + Entry(r.to, r.name) + " at " +
                             std::to_string(r.position),
                         {}});
        for (const DefinitionChange& c : m_diff.definitions)
            Add(c.menu, Definition(c));
        for (const GroupsChange& c : m_diff.groups)
            Add(c.menu, {kLast,
                         cli::sgr::kYellow,
                         "groups",
                         {"- " + Groups(c.before), "+ " + Groups(c.after)}});
        for (const ParentChange& c : m_diff.parents)
            Add(c.menu, {kLast,
                         cli::sgr::kYellow,
                         "parent " + Text(c.before) + " \u2192 " + Text(c.after),
                         {}});
    }

    static Line Definition(const DefinitionChange& c)
    {
        Line line{kLast, cli::sgr::kYellow, "~ " + Entry(c.id, c.name),
                  MemberChanges(c.before, c.after)};
        if (line.below.empty())
            line.below = {"- " + Text(c.before), "+ " + Text(c.after)};
        return line;
    }

    void Section(const std::string& menu, MenuLines& lines)
    {
        m_out += cli::Styled(m_color, cli::sgr::kBold, Printable(menu));
        if (lines.status != nullptr)
            m_out += " (" + std::string(lines.status) + ")";
        m_out += '\n';
        std::stable_sort(lines.lines.begin(), lines.lines.end(),
                         [](const Line& x, const Line& y) { return x.position < y.position; });
        for (const Line& line : lines.lines) {
            m_out += "  " + cli::Styled(m_color, line.color, line.text) + '\n';
            for (const std::string& below : line.below)
                m_out += "      " + below + '\n';
        }
    }

    void StatLine(const std::string& menu, const MenuLines& lines)
    {
        size_t width = 0;
        for (const auto& [name, unused] : m_menus)
            width = std::max(width, static_cast<size_t>(g_utf8_strlen(Printable(name).c_str(), -1)));
        const std::string shown = Printable(menu);
        const size_t pad = width - static_cast<size_t>(g_utf8_strlen(shown.c_str(), -1));
        m_out += ' ' + shown + std::string(pad, ' ') + " | " +
                 Counted(lines.lines.size(), "change", "changes");
        if (lines.status != nullptr)
            m_out += " (" + std::string(lines.status) + ")";
        m_out += '\n';
    }

    static std::string Entry(const std::string& id, const std::optional<std::string>& name)
    {
        return Printable(id) + (name ? " \"" + Printable(*name) + "\"" : "");
    }
    static std::string At(const Place& p) { return " at " + std::to_string(p.position); }
    static std::string Move(const Place& from, const Place& to)
    {
        if (from.menu == to.menu)
            return " from " + std::to_string(from.position) + " to " + std::to_string(to.position);
        return " from " + Printable(from.menu) + " at " + std::to_string(from.position) + " to " +
               std::to_string(to.position);
    }
    static std::string Text(const std::optional<std::string>& text)
    {
        return text ? Printable(*text) : "(none)";
    }
    static std::string Groups(const std::vector<velkin::Group>& groups)
    {
        std::string out;
        for (const velkin::Group& g : groups) {
            out += out.empty() ? "" : " | ";
            out += (g.level ? Printable(*g.level) : "(no level)") + ":";
            for (const std::string& item : g.items)
                out += " " + Printable(item);
        }
        return groups.empty() ? "(none)" : out;
    }
};

// `key`, then an array with one object on one line per item, its members
// written by `members`.
template <class T, class Members>
void WriteObjects(JsonWriter& json, const char* key, const std::vector<T>& items, Members members)
{
    json.Key(key);
    json.BeginArray();
    for (const T& item : items) {
        json.BeginObject(true);
        members(item);
        json.EndObject();
    }
    json.EndArray();
}

void WritePlace(JsonWriter& json, const Place& place)
{
    json.BeginObject(true);
    json.Key("menu");
    json.String(place.menu);
    json.Key("position");
    json.Number(place.position);
    json.EndObject();
}

// A removed or added entry: its identifier and where it was or is.
void WriteEntries(JsonWriter& json, const char* key, const std::vector<EntryChange>& changes)
{
    WriteObjects(json, key, changes, [&json](const EntryChange& c) {
        const Place& place = c.from ? *c.from : *c.to;
        json.Key("id");
        json.String(c.id);
        json.Key("menu");
        json.String(place.menu);
        json.Key("position");
        json.Number(place.position);
    });
}

// The changes of entries: removed, added, moved and renamed.
void WriteEntryChanges(JsonWriter& json, const MenuDiff& diff)
{
    WriteEntries(json, "entries-removed", diff.removed);
    WriteEntries(json, "entries-added", diff.added);
    WriteObjects(json, "entries-moved", diff.moved, [&json](const EntryChange& c) {
        json.Key("id");
        json.String(c.id);
        json.Key("from");
        WritePlace(json, *c.from);
        json.Key("to");
        WritePlace(json, *c.to);
    });
    WriteObjects(json, "entries-renamed", diff.renamed, [&json](const Rename& r) {
        json.Key("menu");
        json.String(r.menu);
        json.Key("from");
        json.String(r.from);
        json.Key("to");
        json.String(r.to);
        json.Key("position");
        json.Number(r.position);
    });
}

// The changes of menus' contents: definitions, groups and parents.
void WriteMenuChanges(JsonWriter& json, const MenuDiff& diff)
{
    WriteObjects(json, "definitions-changed", diff.definitions, [&json](const DefinitionChange& c) {
        json.Key("menu");
        json.String(c.menu);
        json.Key("id");
        json.String(c.id);
        json.Key("old");
        json.OptionalString(c.before);
        json.Key("new");
        json.OptionalString(c.after);
    });
    WriteObjects(json, "groups-changed", diff.groups, [&json](const GroupsChange& c) {
        json.Key("menu");
        json.String(c.menu);
        json.Key("old");
        WriteGroups(json, c.before);
        json.Key("new");
        WriteGroups(json, c.after);
    });
    WriteObjects(json, "parents-changed", diff.parents, [&json](const ParentChange& c) {
        json.Key("menu");
        json.String(c.menu);
        json.Key("old");
        json.OptionalString(c.before);
        json.Key("new");
        json.OptionalString(c.after);
    });
}

}  // namespace

std::string DiffText(const MenuDiff& diff, bool color, bool stat)
{
    return TextReport(diff, color).Write(stat);
}

std::string DiffJson(const MenuDiff& diff)
{
    std::string out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("equal");
    json.Bool(diff.Equal());
    json.Key("menus-removed");
    json.Strings(diff.menusRemoved);
    json.Key("menus-added");
    json.Strings(diff.menusAdded);
    WriteEntryChanges(json, diff);
    WriteMenuChanges(json, diff);
    json.EndObject();
    return out;
}

}  // namespace tree
