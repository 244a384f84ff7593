// The walk over the root, "menutree" and the edit lists (EffectsBuilder.h).
#include <algorithm>

#include "Decisions.h"
#include "Document.h"
#include "EffectsBuilder.h"
#include "Facts.h"
#include "Fragments.h"
#include "Identifiers.h"

namespace velkin {

// The edit lists come first, so that what they remove or add can name them;
// their own fates are set last, from what the rest of the walk found them
// doing. Parts are recorded parents first, not in document order.
Effects EffectsBuilder::Build()
{
    JsonObject* root = AsObject(m_root);
    if (root == nullptr)
        return std::move(m_out);
    EditList(kMenuDelete, m_deletes);
    EditList(kMenuAdd, m_adds);
    EditList(kMenuModify, m_modifies);
    // "menutree" and "menuitems" before the information that names them.
    std::vector<std::string> names = MemberNames(root);
    std::stable_partition(names.begin(), names.end(), [](const std::string& name) {
        return name == kMenuTree || name == kMenuItems;
    });
    std::stable_partition(names.begin(), names.end(),
                          [](const std::string& name) { return name == kMenuTree; });
    for (const std::string& name : names)
        if (name != kMenuDelete && name != kMenuAdd && name != kMenuModify)
            RootMember(name, json_object_get_member(root, name.c_str()));
    FinishDeletes();
    FinishAdds();
    FinishModifies();
    m_out.editStrings[0] = m_deletes.strings;
    m_out.editStrings[1] = m_adds.strings;
    m_out.editStrings[2] = m_modifies.strings;
    m_out.loops = FindAddedLoops(m_model);
    return std::move(m_out);
}

size_t EffectsBuilder::Add(size_t parent, std::string_view key, size_t index, Fate fate, Why why,
                           long file, size_t by)
{
    Part part;
    part.key = m_out.keys.Keep(key);
    part.parent = parent;
    part.index = index;
    part.by = by;
    part.file = static_cast<int32_t>(file);
    part.fate = fate;
    part.why = why;
    m_out.parts.push_back(part);
    return m_out.parts.size() - 1;
}

const char* KeyStore::Keep(std::string_view key)
{
    if (key.empty())
        return "";
    constexpr size_t kBlock = 64 * 1024;
    if (key.size() + 1 > m_size - m_used) {
        m_size = std::max(kBlock, key.size() + 1);
        m_blocks.push_back(std::make_unique<char[]>(m_size));
        m_used = 0;
    }
    char* kept = m_blocks.back().get() + m_used;
    key.copy(kept, key.size());
    kept[key.size()] = '\0';
    m_used += key.size() + 1;
    return kept;
}

void EffectsBuilder::SetFate(size_t part, Fate fate, Why why, long file, size_t by)
{
    Part& p = m_out.parts[part];
    p.fate = fate;
    p.why = why;
    p.file = file;
    p.by = by;
}

long EffectsBuilder::MenuIndex(std::string_view id) const
{
    const Menu* menu = m_model.Find(id);
    return menu == nullptr ? kNoFile : static_cast<long>(menu - m_model.menus.data());
}

// An edit list: its strings recorded, their fates set at the end.
void EffectsBuilder::EditList(const char* key, EditParts& parts)
{
    JsonNode* list = MemberOf(m_root, key);
    if (list == nullptr)
        return;
    if (AsObject(list) == nullptr) {
        Member(kNoPart, key, Fate::PassedOver, Why::WrongForm);
        return;
    }
    const size_t at = Member(kNoPart, key, Fate::Read);
    for (const std::string& name : MemberNames(AsObject(list))) {
        JsonArray* array = AsArray(MemberOf(list, name.c_str()));
        if (name != kSubmenuItems)
            Member(at, name, Fate::NeverRead, IsComment(name) ? Why::Harmless : Why::NotReadHere);
        else if (array == nullptr)
            Member(at, name, Fate::PassedOver, Why::WrongForm);
        else
            EditStrings(Member(at, name, Fate::Read), array, parts);
    }
}

void EffectsBuilder::EditStrings(size_t at, JsonArray* array, EditParts& parts)
{
    for (guint j = 0; j < json_array_get_length(array); ++j) {
        const char* id = AsString(json_array_get_element(array, j));
        if (id == nullptr) {
            Element(at, j, Fate::PassedOver, Why::NotString);
            continue;
        }
        const size_t part = Element(at, j, Fate::Read);
        auto [first, fresh] = parts.first.emplace(id, parts.strings.size());
        if (!fresh)
            SetFate(part, Fate::PassedOver, Why::Repeated, kNoFile, parts.strings[first->second]);
        parts.strings.push_back(part);
        parts.ids.emplace_back(id);
        parts.applied.push_back(kNoFile);
    }
}

void EffectsBuilder::RootMember(const std::string& name, JsonNode* value)
{
    if (name == kMenuTree) {
        MenuTree(name, value);
    } else if (name == kMenuItems) {
        Definitions(name, value);
    } else if (name == kMenuAddInfo || name == kMenuModifyInfo) {
        InfoEntries(name, value, name == kMenuAddInfo);
    } else if (name == kProviders) {
        const bool none = m_model.providers == kNoProviders;
        Member(kNoPart, name, none ? Fate::PassedOver : Fate::Written,
               none ? Why::NoValue : Why::None, none ? kNoFile : kProvidersFileRef);
    } else {
        Member(kNoPart, name, Fate::NeverRead, IsComment(name) ? Why::Harmless : Why::NotReadHere);
    }
}

void EffectsBuilder::MenuTree(const std::string& name, JsonNode* value)
{
    JsonObject* tree = AsObject(value);
    if (tree == nullptr) {
        Member(kNoPart, name, Fate::PassedOver, Why::WrongForm);
        return;
    }
    const size_t at = Member(kNoPart, name, Fate::Read);
    for (const DeletedMenu& deleted : m_model.deletedMenus)
        m_deletedListed.insert(deleted.entries.begin(), deleted.entries.end());
    m_tree = tree;
    for (std::string_view id : OwnNames(tree)) {
        JsonNode* node = json_object_get_member(tree, id.data());
        const long menu = MenuIndex(id);
        if (menu == kNoFile)
            Member(at, id, Fate::Overridden, Why::MenuDeleted, kNoFile, m_deletes.PartOf(id));
        else if (AsObject(node) == nullptr)
            Member(at, id, Fate::PassedOver, Why::WrongForm);
        else
            Node(Member(at, id, Fate::Written, Why::None, menu), node, menu);
    }
}

// A written menu's node: copied whole, or rebuilt from its list and groups.
// A copied node whose lookup finds another value (or none) writes none of its
// members; the reader still takes its list's strings for the item entries.
void EffectsBuilder::Node(size_t at, JsonNode* node, long menu)
{
    const Menu& written = m_model.menus[static_cast<size_t>(menu)];
    const NodeMode mode = written.rebuilt                                    ? NodeMode::Rebuilt
                          : AsItIs(written.id, kDriverQuerySize, kMenuQuery) ? NodeMode::Copied
                                                                             : NodeMode::Elsewhere;
    for (const std::string& name : MemberNames(AsObject(node))) {
        JsonNode* value = MemberOf(node, name.c_str());
        if (name == kSubmenuItems)
            Listed(at, name, value, menu, mode);
        else if (name == kGroup && mode == NodeMode::Rebuilt)
            Groups(at, name, value, menu);
        else if (mode == NodeMode::Copied)
            Member(at, name, Fate::Written, Why::None, menu);
        else if (mode == NodeMode::Elsewhere)
            Member(at, name, Fate::PassedOver, Why::FollowsFrom, kNoFile, at);
        else
            Member(at, name, Fate::PassedOver,
                   IsComment(name) ? Why::Harmless : Why::DroppedByRebuild);
    }
}

// Whether the lookup `format` of `id` in a buffer of `size` bytes finds the
// member named `id` itself: a plain name, not cut.
bool EffectsBuilder::AsItIs(const std::string& id, size_t size, const char* format)
{
    return QueryFindsMember(size, format, id);
}

// A string of a rebuilt node's list or groups: written, or removed by a
// deletion, which then changes the menu's file.
size_t EffectsBuilder::RebuiltString(size_t parent, std::string_view key, size_t index,
                                     const std::string& id, long menu)
{
    auto deletion = m_deletes.first.find(id);
    if (deletion == m_deletes.first.end())
        return Add(parent, key, index, Fate::Written, Why::None, menu, kNoPart);
    // What a deletion removes from a list an addition may write again; what
    // it removes from a rebuilt group stays removed.
    long& applied = m_deletes.applied[deletion->second];
    if (applied == kNoFile && m_inGroup)
        applied = menu;
    return Add(parent, key, index, Fate::Overridden, Why::EntryDeleted, kNoFile,
               m_deletes.strings[deletion->second]);
}

void EffectsBuilder::Listed(size_t parent, const std::string& name, JsonNode* value, long menu,
                            NodeMode mode)
{
    JsonArray* array = AsArray(value);
    if (array == nullptr) {
        const bool copied = mode == NodeMode::Copied;
        Member(parent, name, copied ? Fate::Written : Fate::PassedOver,
               copied                      ? Why::None
               : mode == NodeMode::Rebuilt ? Why::WrongForm
                                           : Why::FollowsFrom,
               copied ? menu : kNoFile, mode == NodeMode::Elsewhere ? parent : kNoPart);
        return;
    }
    const size_t at = Member(parent, name, mode == NodeMode::Copied ? Fate::Written : Fate::Read,
                             Why::None, mode == NodeMode::Copied ? menu : kNoFile);
    for (guint j = 0; j < json_array_get_length(array); ++j) {
        const char* id = AsString(json_array_get_element(array, j));
        if (id != nullptr && mode == NodeMode::Rebuilt)
            RebuiltString(at, std::string_view(), j, id, menu);
        else if (id != nullptr || mode == NodeMode::Copied)
            Element(at, j, Fate::Written, Why::None, menu);
        else if (mode == NodeMode::Rebuilt)
            Element(at, j, Fate::PassedOver, Why::NotString);
        else
            Element(at, j, Fate::PassedOver, Why::FollowsFrom, kNoFile, parent);
    }
}

// A rebuilt node's "group", read into its groups: by lookups that find the
// node's own groups when its name is plain and they are not cut.
void EffectsBuilder::Groups(size_t parent, const std::string& name, JsonNode* value, long menu)
{
    JsonArray* array = AsArray(value);
    const size_t n = array != nullptr ? json_array_get_length(array) : 0;
    const std::string& id = m_model.menus[static_cast<size_t>(menu)].id;
    if (array == nullptr || !GroupsAreRead(n)) {
        Member(parent, name, Fate::PassedOver,
               array == nullptr ? Why::WrongForm : Why::TooManyGroups);
        return;
    }
    if (n > 0 &&
        (!PlainForJsonPath(id) || FormatQuery(kGroupQuerySize, kGroupQuery, id.c_str(), kGroup,
                                              static_cast<int>(n) - 1, kIndentLevel)
                                      .cut)) {
        Member(parent, name, Fate::PassedOver, Why::FollowsFrom, kNoFile, parent);
        return;
    }
    const size_t at = Member(parent, name, Fate::Read);
    m_inGroup = true;
    for (size_t i = 0; i < n; ++i)
        Group(at, i, json_array_get_element(array, static_cast<guint>(i)), menu);
    m_inGroup = false;
}

void EffectsBuilder::Group(size_t parent, size_t i, JsonNode* group, long menu)
{
    if (AsObject(group) == nullptr) {
        Element(parent, i, Fate::PassedOver, Why::WrongForm);
        return;
    }
    const size_t at = Element(parent, i, Fate::Read);
    for (const std::string& name : MemberNames(AsObject(group))) {
        JsonNode* value = MemberOf(group, name.c_str());
        if (name == kGroupItems) {
            GroupItems(at, name, value, menu);
        } else if (name != kIndentLevel) {
            Member(at, name, Fate::PassedOver,
                   IsComment(name) ? Why::Harmless : Why::DroppedByRebuild);
        } else if (const char* level = AsString(value)) {
            RebuiltString(at, name, kNoPart, level, menu);
        } else {
            Member(at, name, Fate::PassedOver, Why::WrongForm);
        }
    }
}

// The strings of a group's "group-items" as the splitter reads them: every
// string in the member's text, the nested ones too.
void EffectsBuilder::GroupItems(size_t parent, const std::string& name, JsonNode* value, long menu)
{
    JsonArray* array = AsArray(value);
    if (array == nullptr) {
        const bool read = AsString(value) != nullptr;
        Member(parent, name, read ? Fate::Written : Fate::PassedOver,
               read ? Why::None : Why::WrongForm, read ? menu : kNoFile);
        return;
    }
    const size_t at = Member(parent, name, Fate::Read);
    for (guint j = 0; j < json_array_get_length(array); ++j) {
        JsonNode* element = json_array_get_element(array, j);
        if (const char* id = AsString(element))
            RebuiltString(at, std::string_view(), j, id, menu);
        else if (AsObject(element) != nullptr || AsArray(element) != nullptr)
            Element(at, j, Fate::Written, Why::None, menu);
        else
            Element(at, j, Fate::PassedOver, Why::NotString);
    }
}

std::vector<std::string_view> EffectsBuilder::OwnNames(JsonObject* object)
{
    std::vector<std::string_view> names;
    names.reserve(json_object_get_size(object));
    // In the document's order, without the copy of the list
    // json_object_get_members makes.
    json_object_foreach_member(
        object,
        [](JsonObject*, const gchar* name, JsonNode*, gpointer out) {
            static_cast<std::vector<std::string_view>*>(out)->emplace_back(name);
        },
        &names);
    return names;
}

std::vector<const Part*> Effects::PathOf(size_t i) const
{
    std::vector<const Part*> path;
    for (size_t at = i; at != kNoPart; at = parts[at].parent)
        path.push_back(&parts[at]);
    std::reverse(path.begin(), path.end());
    return path;
}

bool IsComment(std::string_view name)
{
    return name == "comment" || name == "comments" ||
           (!name.empty() && (name[0] == '_' || name[0] == '$' || name[0] == '#')) ||
           name.substr(0, 2) == "//";
}

std::string FileOf(const EffectiveMenu& model, const Part& part)
{
    if (part.file == kProvidersFileRef)
        return kProvidersFile;
    if (part.file < 0 || static_cast<size_t>(part.file) >= model.menus.size())
        return std::string();
    return model.menus[static_cast<size_t>(part.file)].id + kMenuFileSuffix;
}

Effects ComputeEffects(JsonNode* root, const EffectiveMenu& model)
{
    return EffectsBuilder(root, model).Build();
}

}  // namespace velkin
