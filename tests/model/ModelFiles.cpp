// The files and standard output the effective menu says the splitter writes.
#include "ModelFiles.h"

#include <fstream>

#include "Document.h"
#include "Facts.h"
#include "Fragments.h"
#include "Identifiers.h"

using namespace velkin;

namespace {

void Put(std::ofstream& out, std::string_view text)
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Writes entries to one stream, a comma before all but the first.
struct Entries {
    std::ofstream& out;
    bool first = true;
    void Add(std::string_view entry)
    {
        if (!first)
            Put(out, ",");
        Put(out, entry);
        first = false;
    }
};

// The menu file as a reader of it sees it (where it is JSON, its identifiers
// written as they are): its node lists the model's entries, and holds a
// definition for those that have one.
bool EntriesAgree(const Menu& menu, const std::string& path)
{
    if (NeedsEscape(menu.id))
        return true;
    for (const ItemEntry& item : menu.items)
        if (NeedsEscape(item.id))
            return true;
    for (const Entry& entry : menu.entries)
        if (NeedsEscape(entry.id))
            return true;
    g_autoptr(JsonParser) parser = json_parser_new();
    if (!json_parser_load_from_file(parser, path.c_str(), nullptr))
        return true;
    JsonNode* file = json_parser_get_root(parser);
    JsonNode* node = MemberOf(MemberOf(file, kMenuTree), menu.id.c_str());
    const std::vector<std::string> listed = StringElements(MemberOf(node, kSubmenuItems));
    JsonObject* items = AsObject(MemberOf(file, kMenuItems));
    bool agree = listed.size() == menu.entries.size();
    for (size_t i = 0; agree && i < listed.size(); ++i) {
        const Entry& entry = menu.entries[i];
        const ItemEntry* item = menu.DefinitionOf(entry);
        agree = listed[i] == entry.id && (item == nullptr || item->id == entry.id) &&
                (item != nullptr) ==
                    (items != nullptr && json_object_has_member(items, entry.id.c_str()));
    }
    return agree;
}

bool RenderMenu(const Menu& menu, const std::string& root, const Profile* profile, Entries& helper,
                std::string& out)
{
    const std::string path = MenuFilePath(root, profile, menu.id);
    std::ofstream file(path);
    Put(file, kMenuFileOpening);
    Entries items{file};
    for (const ItemEntry& item : menu.items) {
        if (item.origin == Origin::Listed) {
            helper.Add(HelperEntry(item.id, menu.id));
            if (item.placeholder)
                out += "Devel Rpm is missing,Please confirm!!!:sid [" + item.id + "] \n";
        }
        items.Add(MemberStart(item.id) + item.definition);
        if (item.origin == Origin::Added)
            helper.Add(HelperEntry(item.id, menu.id));
    }
    Put(file, kMenuTreeOpening);
    Put(file, MemberStart(menu.id) + menu.node);
    if (menu.parent)
        Put(file, ParentLink(*menu.parent, menu.nodeHasMember));
    Put(file, kMenuFileClosing);
    file.close();
    return EntriesAgree(menu, path);
}

}  // namespace

bool RenderModelFiles(const EffectiveMenu& model, const std::string& root, std::string& out)
{
    bool agree = true;
    {
        std::ofstream providers(ProvidersFilePath(root, model.profile));
        Put(providers, kProvidersOpening + model.providers + kProvidersClosing);
    }
    std::ofstream helperFile(HelperFilePath(root, model.profile));
    Put(helperFile, kHelperOpening);
    Entries helper{helperFile};
    size_t next = 0;
    for (const std::string& id : model.menuTree) {
        if (next < model.menus.size() && model.menus[next].id == id)
            agree = RenderMenu(model.menus[next++], root, model.profile, helper, out) && agree;
        else
            out += "No needs to create json files [" + id + "] \n";
    }
    Put(helperFile, kHelperClosing);
    return agree;
}
