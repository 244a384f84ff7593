#include "DiffReport.h"

#include "Color.h"
#include "JsonView.h"
#include "JsonWriter.h"
#include "Labels.h"

namespace tree {

namespace {

using cli::sgr::kGreen;
using cli::sgr::kRed;
using cli::sgr::kYellow;

class TextReport {
public:
    explicit TextReport(bool color) : m_color(color) {}

    std::string Write(const MenuDiff& d)
    {
        for (const std::string& menu : d.menusRemoved)
            Line(kRed, "menu removed", Printable(menu));
        for (const std::string& menu : d.menusAdded)
            Line(kGreen, "menu added", Printable(menu));
        for (const EntryChange& c : d.removed)
            Line(kRed, "entry removed", Printable(c.id) + " from " + At(*c.from));
        for (const EntryChange& c : d.added)
            Line(kGreen, "entry added", Printable(c.id) + " to " + At(*c.to));
        for (const EntryChange& c : d.moved)
            Line(kYellow, "entry moved", Printable(c.id) + Move(*c.from, *c.to));
        for (const DefinitionChange& c : d.definitions) {
            Line(kYellow, "definition", Printable(c.id) + " in " + Printable(c.menu));
            OldNew(Text(c.before), Text(c.after));
        }
        for (const GroupsChange& c : d.groups) {
            Line(kYellow, "groups", Printable(c.menu));
            OldNew(Groups(c.before), Groups(c.after));
        }
        for (const ParentChange& c : d.parents)
            Line(kYellow, "parent",
                 Printable(c.menu) + ": " + Text(c.before) + " -> " + Text(c.after));
        return std::move(m_out);
    }

private:
    const bool m_color;
    std::string m_out;

    void Styled(const char* color, const std::string& text)
    {
        m_out += cli::Styled(m_color, color, text);
    }
    // "KIND" padded to a column, then the details.
    void Line(const char* color, const std::string& kind, const std::string& details)
    {
        Styled(color, kind);
        m_out += std::string(kind.size() < 15 ? 15 - kind.size() : 1, ' ') + details + '\n';
    }
    void OldNew(const std::string& before, const std::string& after)
    {
        Styled(kRed, "  - " + before);
        m_out += '\n';
        Styled(kGreen, "  + " + after);
        m_out += '\n';
    }

    static std::string At(const Place& p)
    {
        return Printable(p.menu) + " at " + std::to_string(p.position);
    }
    static std::string Move(const Place& from, const Place& to)
    {
        if (from.menu == to.menu)
            return " in " + Printable(to.menu) + " from " + std::to_string(from.position) + " to " +
                   std::to_string(to.position);
        return " from " + At(from) + " to " + At(to);
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

void WriteChanges(JsonWriter& json, const MenuDiff& diff)
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

std::string DiffText(const MenuDiff& diff, bool color)
{
    return TextReport(color).Write(diff);
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
    WriteChanges(json, diff);
    json.EndObject();
    return out;
}

}  // namespace tree
