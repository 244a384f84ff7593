// The files and standard output the effective menu says the splitter writes.
#include "ModelFiles.h"

#include <fstream>

#include "Document.h"
#include "Facts.h"
#include "Fragments.h"
#include "Identifiers.h"
#include "OutputFiles.h"

using namespace velkin;

namespace {

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

bool RenderMenu(const Menu& menu, const std::string& root, const Profile* profile,
                EntryList& helper, std::string& out)
{
    const std::string path = MenuFilePath(root, profile, menu.id);
    std::ofstream file(path);
    Write(file, kMenuFileOpening);
    EntryList items(file, kMenuTreeOpening);
    for (const ItemEntry& item : menu.items) {
        if (item.origin == Origin::Listed) {
            Write(helper.Next(), HelperEntry(item.id, menu.id));
            if (item.placeholder)
                out += "Devel Rpm is missing,Please confirm!!!:sid [" + item.id + "] \n";
        }
        Write(items.Next(), MemberStart(item.id) + item.definition);
        if (item.origin == Origin::Added)
            Write(helper.Next(), HelperEntry(item.id, menu.id));
    }
    items.Close();
    Write(file, MemberStart(menu.id) + menu.node);
    if (menu.parent)
        Write(file, ParentLink(*menu.parent, menu.nodeHasMember));
    Write(file, kMenuFileClosing);
    file.close();
    return EntriesAgree(menu, path);
}

}  // namespace

bool RenderModelFiles(const EffectiveMenu& model, const std::string& root, std::string& out)
{
    bool agree = true;
    {
        std::ofstream providers(ProvidersFilePath(root, model.profile));
        Write(providers, kProvidersOpening);
        Write(providers, model.providers);
        Write(providers, kProvidersClosing);
    }
    std::ofstream helperFile(HelperFilePath(root, model.profile));
    Write(helperFile, kHelperOpening);
    EntryList helper(helperFile, kHelperClosing);
    size_t next = 0;
    for (const std::string& id : model.menuTree) {
        if (next < model.menus.size() && model.menus[next].id == id)
            agree = RenderMenu(model.menus[next++], root, model.profile, helper, out) && agree;
        else
            out += "No needs to create json files [" + id + "] \n";
    }
    helper.Close();
    return agree;
}
