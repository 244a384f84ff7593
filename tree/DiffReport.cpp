#include "DiffReport.h"

#include "JsonWriter.h"
#include "Labels.h"

namespace tree {

namespace {

const char kRed[] = "\033[31m";
const char kGreen[] = "\033[32m";
const char kYellow[] = "\033[33m";

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
        m_out += m_color ? color + text + "\033[0m" : text;
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
    json.Key(key);
    json.BeginArray();
    for (const EntryChange& c : changes) {
        const Place& place = c.from ? *c.from : *c.to;
        json.BeginObject(true);
        json.Key("id");
        json.String(c.id);
        json.Key("menu");
        json.String(place.menu);
        json.Key("position");
        json.Number(place.position);
        json.EndObject();
    }
    json.EndArray();
}

void WriteMoves(JsonWriter& json, const std::vector<EntryChange>& moves)
{
    json.Key("entries-moved");
    json.BeginArray();
    for (const EntryChange& c : moves) {
        json.BeginObject(true);
        json.Key("id");
        json.String(c.id);
        json.Key("from");
        WritePlace(json, *c.from);
        json.Key("to");
        WritePlace(json, *c.to);
        json.EndObject();
    }
    json.EndArray();
}

void WriteDefinitions(JsonWriter& json, const std::vector<DefinitionChange>& changes)
{
    json.Key("definitions-changed");
    json.BeginArray();
    for (const DefinitionChange& c : changes) {
        json.BeginObject(true);
        json.Key("menu");
        json.String(c.menu);
        json.Key("id");
        json.String(c.id);
        json.Key("old");
        json.OptionalString(c.before);
        json.Key("new");
        json.OptionalString(c.after);
        json.EndObject();
    }
    json.EndArray();
}

void WriteGroupList(JsonWriter& json, const std::vector<velkin::Group>& groups)
{
    json.BeginArray(true);
    for (const velkin::Group& g : groups) {
        json.BeginObject();
        json.Key("indent-level");
        json.OptionalString(g.level);
        json.Key("items");
        json.Strings(g.items);
        json.EndObject();
    }
    json.EndArray();
}

void WriteGroups(JsonWriter& json, const std::vector<GroupsChange>& changes)
{
    json.Key("groups-changed");
    json.BeginArray();
    for (const GroupsChange& c : changes) {
        json.BeginObject(true);
        json.Key("menu");
        json.String(c.menu);
        json.Key("old");
        WriteGroupList(json, c.before);
        json.Key("new");
        WriteGroupList(json, c.after);
        json.EndObject();
    }
    json.EndArray();
}

void WriteParents(JsonWriter& json, const std::vector<ParentChange>& changes)
{
    json.Key("parents-changed");
    json.BeginArray();
    for (const ParentChange& c : changes) {
        json.BeginObject(true);
        json.Key("menu");
        json.String(c.menu);
        json.Key("old");
        json.OptionalString(c.before);
        json.Key("new");
        json.OptionalString(c.after);
        json.EndObject();
    }
    json.EndArray();
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
    WriteEntries(json, "entries-removed", diff.removed);
    WriteEntries(json, "entries-added", diff.added);
    WriteMoves(json, diff.moved);
    WriteDefinitions(json, diff.definitions);
    WriteGroups(json, diff.groups);
    WriteParents(json, diff.parents);
    json.EndObject();
    return out;
}

}  // namespace tree
