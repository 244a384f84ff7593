#include "ProfileDirectory.h"

#include <glib.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "Document.h"
#include "Facts.h"
#include "Fragments.h"
#include "GObjectPtr.h"
#include "Identifiers.h"
#include "RawJson.h"

namespace velkin {

namespace {

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// GLib's message without the file name it repeats: the part after the last colon.
std::string Reason(const GError* error)
{
    const char* colon = std::strrchr(error->message, ':');
    return colon != nullptr && colon[1] == ' ' ? colon + 2 : error->message;
}

ItemEntry ItemOf(const RawMember& member, size_t index)
{
    ItemEntry item;
    item.id = DecodeString(member.name);
    item.source = index;
    item.definition = std::string(member.value);
    item.placeholder = member.value == kPlaceholderDefinition;
    // The placeholder is never amended, and its text does not end with the marker.
    item.amended = EndsWith(member.value, std::string(kModifyMarker) + "}");
    return item;
}

// The node's text without its closing brace and without the parent link,
// which the splitter writes as the node's last member.
void SplitParentLink(std::string_view node, const std::vector<RawMember>& members, Menu& menu)
{
    std::string parent;
    std::string_view open = node.substr(0, node.size() - 1);
    if (!members.empty() && members.back().name == kParentItem &&
        StringValue(members.back().value, parent)) {
        menu.parent = parent;
        open = node.substr(0, static_cast<size_t>(members.back().name.data() - 1 - node.data()));
        while (!open.empty() && std::strchr(" \t\r\n", open.back()) != nullptr)
            open.remove_suffix(1);
        if (EndsWith(open, ","))
            open.remove_suffix(1);
    }
    menu.node = std::string(open);
    menu.nodeHasMember = menu.node.size() > 1;
}

// The node as a reader of the file finds it: parent link, entries, groups.
bool ReadNode(std::string_view node, Menu& menu, std::string& reason)
{
    std::vector<RawMember> members;
    if (!ScanObject(node, members)) {
        reason = "its menu node is not an object";
        return false;
    }
    SplitParentLink(node, members, menu);
    GObjectPtr<JsonParser> parser(json_parser_new());
    if (ParseDefinition(parser.get(), menu.node + "}").status != LoadStatus::Loaded) {
        reason = "its menu node cannot be read";
        return false;
    }
    NodeView view = ReadWrittenNode(json_parser_get_root(parser.get()));
    menu.groups = std::move(view.groups);
    for (std::string& id : view.entries)
        menu.entries.push_back(Entry{std::move(id), Origin::Listed, kNoItem, false});
    return true;
}

// Reads a whole file; false with the reason.
bool ReadText(const std::string& path, std::string& text, std::string& reason)
{
    g_autofree gchar* contents = nullptr;
    gsize length = 0;
    g_autoptr(GError) error = nullptr;
    if (!g_file_get_contents(path.c_str(), &contents, &length, &error)) {
        reason = Reason(error);
        return false;
    }
    text.assign(contents, length);
    return true;
}

// The names of the menu files of `dir`, sorted; false when it cannot be listed.
bool MenuFileNames(const std::string& dir, std::vector<std::string>& names, std::string& error)
{
    g_autoptr(GError) failure = nullptr;
    GDir* listing = g_dir_open(dir.c_str(), 0, &failure);
    if (listing == nullptr) {
        error = dir + ": " + Reason(failure);
        return false;
    }
    while (const char* name = g_dir_read_name(listing)) {
        const std::string file = name;
        if (!EndsWith(file, kMenuFileSuffix) || file == kHelperFile || file == kProvidersFile)
            continue;
        g_autofree gchar* path = g_build_filename(dir.c_str(), name, nullptr);
        if (g_file_test(path, G_FILE_TEST_IS_REGULAR))
            names.push_back(file);
    }
    g_dir_close(listing);
    std::sort(names.begin(), names.end());
    return true;
}

// Menus in the order helper.json first names them, then the others by name.
void OrderMenus(std::vector<Menu>& menus, const std::vector<std::string>& helperOrder)
{
    std::unordered_map<std::string_view, size_t> rank;
    for (size_t i = 0; i < helperOrder.size(); ++i)
        rank.emplace(helperOrder[i], i);
    auto rankOf = [&rank](const Menu& m) {
        auto it = rank.find(m.id);
        return it != rank.end() ? it->second : rank.size();
    };
    std::stable_sort(menus.begin(), menus.end(),
                     [&rankOf](const Menu& a, const Menu& b) { return rankOf(a) < rankOf(b); });
}

// The value providers.json holds; empty when it has none to read.
std::string ProvidersValue(const std::string& dir)
{
    std::string text, reason;
    std::vector<RawMember> members;
    g_autofree gchar* path = g_build_filename(dir.c_str(), kProvidersFile, nullptr);
    if (!ReadText(path, text, reason) || !ScanObject(text, members) || members.size() != 1 ||
        members[0].name != kProviders)
        return std::string();
    return std::string(members[0].value);
}

}  // namespace

bool ReadMenuFile(std::string_view id, std::string_view text, Menu& menu, std::string& reason)
{
    std::vector<RawMember> root, items, tree;
    if (!ScanObject(text, root)) {
        reason = "not JSON";
        return false;
    }
    if (root.size() != 2 || root[0].name != kMenuItems || root[1].name != kMenuTree ||
        !ScanObject(root[0].value, items) || !ScanObject(root[1].value, tree) || tree.size() != 1) {
        reason = "not a menu file";
        return false;
    }
    menu = Menu();
    menu.id = DecodeString(tree[0].name);
    if (menu.id != id) {
        reason = "holds the menu " + Show(menu.id);
        return false;
    }
    for (size_t k = 0; k < items.size(); ++k)
        menu.items.push_back(ItemOf(items[k], k));
    if (!ReadNode(tree[0].value, menu, reason))
        return false;
    menu.LinkDefinitions();
    return true;
}

std::vector<std::string> HelperOrder(std::string_view text)
{
    std::vector<RawMember> members;
    std::vector<std::string> order;
    if (!ScanObject(text, members))
        return order;
    std::unordered_map<std::string, bool> seen;
    for (const RawMember& m : members) {
        std::string menu;
        if (StringValue(m.value, menu) && seen.emplace(menu, true).second)
            order.push_back(std::move(menu));
    }
    return order;
}

// The helper file of a run that wrote no menu: a JSON object without members.
static bool NamesNoMenu(std::string_view helper)
{
    std::vector<RawMember> members;
    return ScanObject(helper, members) && members.empty();
}

const Profile* ProfileOfDirectory(std::string_view dir)
{
    g_autofree gchar* full = g_canonicalize_filename(std::string(dir).c_str(), nullptr);
    g_autofree gchar* base = g_path_get_basename(full);
    for (const Profile& profile : kProfiles)
        if (std::strcmp(base, profile.dir) == 0)
            return &profile;
    return nullptr;
}

bool ReadProfileDirectory(const std::string& dir, DirectoryRead& out, std::string& error)
{
    std::vector<std::string> names;
    if (!MenuFileNames(dir, names, error))
        return false;
    std::string helper, reason;
    g_autofree gchar* helperPath = g_build_filename(dir.c_str(), kHelperFile, nullptr);
    ReadText(helperPath, helper, reason);
    std::vector<Menu> menus;
    for (const std::string& name : names) {
        g_autofree gchar* path = g_build_filename(dir.c_str(), name.c_str(), nullptr);
        const std::string id = name.substr(0, name.size() - std::strlen(kMenuFileSuffix));
        std::string text;
        Menu menu;
        if (ReadText(path, text, reason) && ReadMenuFile(id, text, menu, reason))
            menus.push_back(std::move(menu));
        else
            out.leftOut.push_back(name + ": " + reason);
    }
    // A definition whose menus are all deleted gives a directory holding
    // only helper.json, an empty object, and providers.json: an empty menu.
    if (menus.empty() && !(names.empty() && NamesNoMenu(helper))) {
        error = dir + ": " +
                (names.empty() ? "no menu file (<menu>.json) in the directory"
                               : "no menu file in the directory can be read");
        return false;
    }
    OrderMenus(menus, HelperOrder(helper));
    EffectiveMenu& model = out.model;
    model.profile = ProfileOfDirectory(dir);
    model.providers = ProvidersValue(dir);
    for (const Menu& menu : menus)
        model.menuTree.push_back(menu.id);
    model.menus = std::move(menus);
    model.Link();
    return true;
}

}  // namespace velkin
