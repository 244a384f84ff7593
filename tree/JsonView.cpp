#include "JsonView.h"

#include "Deletions.h"
#include "JsonWriter.h"
#include "Labels.h"

namespace tree {

namespace {

void WriteEntry(JsonWriter& json, const velkin::Menu& menu, const velkin::Entry& entry)
{
    const Marks marks = MarksOf(menu, entry);
    const velkin::ItemEntry* item = menu.DefinitionOf(entry);
    json.BeginObject(true);
    json.Key("id");
    json.String(entry.id);
    json.Key("definition");
    if (item != nullptr)
        json.String(item->definition);
    else
        json.Null();
    json.Key("menu");
    json.Bool(entry.opensMenu);
    json.Key("added");
    json.Bool(marks.added);
    json.Key("amended");
    json.Bool(marks.amended);
    json.Key("placeholder");
    json.Bool(marks.placeholder);
    json.EndObject();
}

void IdAndEdit(JsonWriter& json, const std::string& id, size_t edit)
{
    json.Key("id");
    json.String(id);
    json.Key("edit");
    json.Number(edit + 1);
}

// A menu's deleted entries: each with its edit and where it stood.
void WriteDeleted(JsonWriter& json, const velkin::EffectiveMenu& model,
                  const std::vector<DeletedPlace>& places)
{
    json.BeginArray();
    for (const DeletedPlace& place : places) {
        const velkin::DeletedEntry& deleted = model.deletedEntries[place.record];
        json.BeginObject(true);
        IdAndEdit(json, deleted.id, deleted.edit);
        json.Key("after");
        json.Number(place.after);
        json.EndObject();
    }
    json.EndArray();
}

void WriteMenu(JsonWriter& json, const velkin::EffectiveMenu& model, size_t m,
               const std::vector<DeletedPlace>& deleted)
{
    const velkin::Menu& menu = model.menus[m];
    json.BeginObject();
    json.Key("id");
    json.String(menu.id);
    json.Key("parent");
    json.OptionalString(menu.parent);
    json.Key("entries");
    json.BeginArray();
    for (const velkin::Entry& entry : menu.entries)
        WriteEntry(json, menu, entry);
    json.EndArray();
    json.Key("groups");
    WriteGroups(json, menu.groups);
    json.Key("deleted");
    WriteDeleted(json, model, deleted);
    json.EndObject();
}

void WriteIds(JsonWriter& json, const velkin::EffectiveMenu& model, const std::vector<size_t>& at)
{
    json.BeginArray(true);
    for (size_t i : at)
        json.String(model.menus[i].id);
    json.EndArray();
}

// About the size of the JSON text, so that it is built without copying.
size_t EstimatedSize(const velkin::EffectiveMenu& model)
{
    size_t size = 1024;
    for (const velkin::Menu& menu : model.menus) {
        size += 256 + 160 * menu.entries.size();
        for (const velkin::Entry& entry : menu.entries)
            if (const velkin::ItemEntry* item = menu.DefinitionOf(entry))
                size += item->definition.size() + item->definition.size() / 4;
    }
    return size;
}

}  // namespace

void WriteGroups(JsonWriter& json, const std::vector<velkin::Group>& groups)
{
    json.BeginArray();
    for (const velkin::Group& group : groups) {
        json.BeginObject(true);
        json.Key("indent-level");
        json.OptionalString(group.level);
        json.Key("items");
        json.Strings(group.items);
        json.EndObject();
    }
    json.EndArray();
}

void WriteDeletedMenu(JsonWriter& json, const velkin::DeletedMenu& menu)
{
    IdAndEdit(json, menu.id, menu.edit);
    json.Key("entries");
    json.Strings(menu.entries);
}

std::string RenderJson(const velkin::EffectiveMenu& model)
{
    std::string out;
    out.reserve(EstimatedSize(model));
    JsonWriter json(out);
    json.BeginObject();
    json.Key("profile");
    if (model.profile != nullptr)
        json.String(model.profile->dir);
    else
        json.Null();
    json.Key("menus");
    json.BeginArray();
    const std::vector<std::vector<DeletedPlace>> deleted = DeletedPlaces(model);
    for (size_t m = 0; m < model.menus.size(); ++m)
        WriteMenu(json, model, m, deleted[m]);
    json.EndArray();
    json.Key("top");
    WriteIds(json, model, model.top);
    json.Key("unreachable");
    WriteIds(json, model, model.unreachable);
    json.Key("deleted");
    json.BeginArray();
    for (const velkin::DeletedMenu& menu : model.deletedMenus) {
        json.BeginObject(true);
        WriteDeletedMenu(json, menu);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return out;
}

}  // namespace tree
