// The definitions and the edit information, the fates of the edit lists'
// strings, and the loops additions make (EffectsBuilder.h).
#include <algorithm>
#include <unordered_set>

#include "Document.h"
#include "EffectsBuilder.h"
#include "Facts.h"

namespace velkin {

namespace {

// Each item identifier with the first written menu whose file holds it as
// `which` says (with its definition, or amended).
template <class Which>
FirstFiles FirstFilesOf(const EffectiveMenu& model, Which which)
{
    FirstFiles first;
    for (size_t i = 0; i < model.menus.size(); ++i)
        for (const ItemEntry& item : model.menus[i].items)
            if (which(item))
                first.emplace(item.id, static_cast<long>(i));
    return first;
}

// The first file of `id`; kNoFile when none holds it.
long FirstFile(const FirstFiles& first, std::string_view id)
{
    auto it = first.find(id);
    return it == first.end() ? kNoFile : it->second;
}

// The menus from `from` up its parent links to the menu `target`; empty when
// `target` is not among them.
std::vector<size_t> Upwards(const EffectiveMenu& model, size_t from, const std::string& target)
{
    std::vector<size_t> path;
    size_t at = from;
    for (size_t steps = 0; steps <= model.menus.size(); ++steps) {
        path.push_back(at);
        if (model.menus[at].id == target)
            return path;
        const std::optional<std::string>& parent = model.menus[at].parent;
        const Menu* up = parent ? model.Find(*parent) : nullptr;
        if (up == nullptr)
            break;
        at = static_cast<size_t>(up - model.menus.data());
    }
    return {};
}

}  // namespace

void EffectsBuilder::Definitions(const std::string& name, JsonNode* value)
{
    JsonObject* items = AsObject(value);
    if (items == nullptr) {
        Member(kNoPart, name, Fate::PassedOver, Why::WrongForm);
        return;
    }
    const size_t at = Member(kNoPart, name, Fate::Read);
    m_items = items;
    m_firstDefinition = at + 1;
    m_definitionCount = json_object_get_size(items);
    for (std::string_view id : OwnNames(items))
        Member(at, id, Fate::PassedOver);  // its fate is set below
    IndexDefinitions();
    MarkWrittenDefinitions();
    for (size_t k = m_firstDefinition; k < m_firstDefinition + m_definitionCount; ++k) {
        if (m_out.parts[k].fate == Fate::Written)
            continue;
        size_t by = kNoPart;
        const Why why = Unwritten(m_out.parts[k].key, by);
        SetFate(k, why == Why::EntryDeleted ? Fate::Overridden : Fate::PassedOver, why, kNoFile,
                by);
    }
}

// Each definition a written menu's file holds as it stands is written into
// the first such file.
void EffectsBuilder::MarkWrittenDefinitions()
{
    for (size_t i = 0; i < m_model.menus.size(); ++i)
        for (const ItemEntry& item : m_model.menus[i].items) {
            const bool listed = item.origin == Origin::Listed;
            if (item.placeholder ||
                !AsItIs(item.id, listed ? kDriverQuerySize : kLookupQuerySize, kItemQuery))
                continue;
            const size_t part = DefinitionOf(item.id);
            if (part != kNoPart && m_out.parts[part].fate != Fate::Written)
                SetFate(part, Fate::Written, Why::None, static_cast<long>(i));
        }
}

// Why a definition is not written: a deleted item, one only a deleted menu
// lists, one an amendment names (which says so), or none of these.
Why EffectsBuilder::Unwritten(std::string_view id, size_t& by) const
{
    by = m_deletes.PartOf(id);
    if (by != kNoPart)
        return Why::EntryDeleted;
    if (m_deletedListed.count(id) != 0)
        return Why::MenuDeleted;
    by = m_modifies.PartOf(id);
    return by != kNoPart ? Why::FollowsFrom : Why::NotWritten;
}

// "menuaddinfo" or "menumodifyinfo": an entry per menu or item of its list.
void EffectsBuilder::InfoEntries(const std::string& name, JsonNode* value, bool add)
{
    const int w = add ? 0 : 1;
    JsonObject* info = AsObject(value);
    m_infoRead[w] = info != nullptr;
    m_infoPart[w] = Member(kNoPart, name, info != nullptr ? Fate::Read : Fate::PassedOver,
                           info != nullptr ? Why::None : Why::WrongForm);
    if (info == nullptr)
        return;
    const EditParts& list = add ? m_adds : m_modifies;
    for (const std::string& id : MemberNames(info)) {
        if (list.first.count(id) == 0)
            (add ? m_addEntries : m_amendments)[id] =
                Member(m_infoPart[w], id, Fate::NeverRead, Why::NotInEditList);
        else if (add)
            AddEntry(m_infoPart[w], id, json_object_get_member(info, id.c_str()));
        else
            Amendment(m_infoPart[w], id);
    }
}

// The add entry of a menu of "menuadd": its list's strings go into the
// menu's file, or the entry gives none.
void EffectsBuilder::AddEntry(size_t parent, const std::string& menu, JsonNode* entry)
{
    const long file = MenuIndex(menu);
    size_t& part = m_addEntries[menu];
    if (file == kNoFile || !AsItIs(menu, kLookupQuerySize, kAddListQuery)) {
        part =
            Member(parent, menu, Fate::PassedOver, Why::FollowsFrom, kNoFile, m_adds.PartOf(menu));
        return;
    }
    if (!m_model.menus[static_cast<size_t>(file)].additions) {
        part = Member(parent, menu, Fate::PassedOver,
                      AsObject(entry) == nullptr ? Why::WrongForm : Why::NoIdentifiers);
        return;
    }
    part = Member(parent, menu, Fate::Read);
    for (const std::string& name : MemberNames(AsObject(entry))) {
        JsonArray* list = AsArray(MemberOf(entry, name.c_str()));
        if (name != kAddList) {
            Member(part, name, Fate::NeverRead, IsComment(name) ? Why::Harmless : Why::NotReadHere);
            continue;
        }
        const size_t at = Member(part, name, list != nullptr ? Fate::Read : Fate::Written,
                                 Why::None, list != nullptr ? kNoFile : file);
        for (guint j = 0; list != nullptr && j < json_array_get_length(list); ++j) {
            JsonNode* e = json_array_get_element(list, j);
            const bool read = AsString(e) != nullptr || AsArray(e) != nullptr || AsObject(e);
            Element(at, j, read ? Fate::Written : Fate::PassedOver,
                    read ? Why::None : Why::NotString, read ? file : kNoFile);
        }
    }
}

// The amendment of an item of "menumodify", by what became of it.
void EffectsBuilder::Amendment(size_t parent, const std::string& item)
{
    if (m_fates.empty())
        for (const velkin::Amendment& a : m_model.amendments)
            m_fates.emplace(a.item, a.fate);
    size_t& part = m_amendments[item];
    if (!AsItIs(item, kLookupQuerySize, kAmendmentQuery)) {
        part = Member(parent, item, Fate::PassedOver, Why::FollowsFrom, kNoFile,
                      m_modifies.PartOf(item));
        return;
    }
    switch (m_fates.at(item)) {
    case AmendmentFate::Applied:
        part = Member(parent, item, Fate::Written, Why::None, FirstAmended(item));
        break;
    case AmendmentFate::NoAmendment:
        part = Member(parent, item, Fate::PassedOver, Why::NotObjectWithMembers);
        break;
    case AmendmentFate::NotObject:
        part = Member(parent, item, Fate::PassedOver, Why::DefinitionNotObject, kNoFile,
                      DefinitionOf(item));
        break;
    default:
        part = Member(parent, item, Fate::PassedOver, Why::FollowsFrom, kNoFile,
                      m_modifies.PartOf(item));
    }
}

long EffectsBuilder::FirstAmended(const std::string& item)
{
    if (!m_amendedKnown) {
        m_amendedIn = FirstFilesOf(m_model, [](const ItemEntry& entry) { return entry.amended; });
        m_amendedKnown = true;
    }
    return FirstFile(m_amendedIn, item);
}

// The strings the written menus' nodes list, sorted once (a large
// definition lists many: no hash table for them, and room made once).
void EffectsBuilder::GatherListed()
{
    m_listedKnown = true;
    std::vector<JsonArray*> lists;
    size_t count = 0;
    if (m_tree != nullptr)
        for (std::string_view menu : OwnNames(m_tree))
            if (MenuIndex(menu) != kNoFile)
                if (JsonArray* list = AsArray(
                        MemberOf(json_object_get_member(m_tree, menu.data()), kSubmenuItems))) {
                    lists.push_back(list);
                    count += json_array_get_length(list);
                }
    m_listed.reserve(count);
    for (JsonArray* list : lists)
        for (guint j = 0; j < json_array_get_length(list); ++j)
            if (const char* listed = AsString(json_array_get_element(list, j)))
                m_listed.emplace_back(listed);
    std::sort(m_listed.begin(), m_listed.end());
    m_listed.erase(std::unique(m_listed.begin(), m_listed.end()), m_listed.end());
    m_listed.shrink_to_fit();
}

// Whether `id` is a menu, is listed by a node or a deleted menu, or has a
// definition.
bool EffectsBuilder::Named(const std::string& id)
{
    if (!m_listedKnown)
        GatherListed();
    return std::binary_search(m_listed.begin(), m_listed.end(), std::string_view(id)) ||
           m_deletedListed.count(id) != 0 ||
           (m_tree != nullptr && json_object_has_member(m_tree, id.c_str())) ||
           (m_items != nullptr && json_object_has_member(m_items, id.c_str()));
}

// The definitions' parts in order of their identifiers, four bytes each (a
// large definition has many).
void EffectsBuilder::IndexDefinitions()
{
    m_definitions.resize(m_definitionCount);
    for (size_t k = 0; k < m_definitionCount; ++k)
        m_definitions[k] = static_cast<uint32_t>(m_firstDefinition + k);
    std::sort(m_definitions.begin(), m_definitions.end(), [this](uint32_t a, uint32_t b) {
        return std::string_view(m_out.parts[a].key) < std::string_view(m_out.parts[b].key);
    });
}

// The part of the definition of `item`; kNoPart when "menuitems" has none.
size_t EffectsBuilder::DefinitionOf(std::string_view item) const
{
    auto key = [this](uint32_t part) { return std::string_view(m_out.parts[part].key); };
    auto it = std::lower_bound(m_definitions.begin(), m_definitions.end(), item,
                               [&key](uint32_t part, std::string_view id) { return key(part) < id; });
    return it != m_definitions.end() && key(*it) == item ? *it : kNoPart;
}

// A deletion takes effect where it removes a menu, an entry no addition
// writes again, or a group entry; it is undone where additions write again
// all it removed from lists.
void EffectsBuilder::FinishDeletes()
{
    std::unordered_set<size_t> menus, undoneEdits;
    std::unordered_set<std::string> undone;  // "<k> <menu>"
    for (const DeletedMenu& m : m_model.deletedMenus)
        menus.insert(m.edit);
    for (const DeletedEntry& u : m_model.undone) {
        undone.insert(std::to_string(u.edit) + " " + u.menu);
        undoneEdits.insert(u.edit);
    }
    for (const DeletedEntry& e : m_model.deletedEntries)
        if (undone.count(std::to_string(e.edit) + " " + e.menu) == 0 &&
            m_deletes.applied[e.edit] == kNoFile)
            m_deletes.applied[e.edit] = MenuIndex(e.menu);
    for (size_t k = 0; k < m_deletes.strings.size(); ++k) {
        const size_t part = m_deletes.strings[k];
        if (m_out.parts[part].why == Why::Repeated)
            continue;
        if (m_deletes.applied[k] != kNoFile || menus.count(k) != 0)
            SetFate(part, Fate::Applied, Why::None, m_deletes.applied[k]);
        else if (undoneEdits.count(k) != 0)
            SetFate(part, Fate::Overridden, Why::UndoneByAddition);
        else
            SetFate(part, Fate::PassedOver,
                    Named(m_deletes.ids[k]) ? Why::RemovesNothing : Why::NamesNothing);
    }
}

// Why an edit of a menu or item without effect has none, when its
// information is to blame: the entry for it, "menu...info" not an object,
// or no entry at all.
void EffectsBuilder::NoEffectFromInfo(size_t part, bool add, const std::string& id)
{
    const Index& entries = add ? m_addEntries : m_amendments;
    const int w = add ? 0 : 1;
    if (entries.count(id) != 0)
        SetFate(part, Fate::PassedOver, Why::FollowsFrom, kNoFile, entries.at(id));
    else if (!m_infoRead[w])
        SetFate(part, Fate::PassedOver, Why::FollowsFrom, kNoFile, m_infoPart[w]);
    else
        SetFate(part, Fate::PassedOver, Why::NoInfo);
}

void EffectsBuilder::FinishAdds()
{
    const std::unordered_set<std::string> deleted(m_model.deleted.begin(), m_model.deleted.end());
    for (size_t k = 0; k < m_adds.strings.size(); ++k) {
        const size_t part = m_adds.strings[k];
        const std::string& id = m_adds.ids[k];
        const long file = MenuIndex(id);
        if (m_out.parts[part].why == Why::Repeated)
            continue;
        if (file != kNoFile && m_model.menus[static_cast<size_t>(file)].additions)
            SetFate(part, Fate::Applied, Why::None, file);
        else if (file != kNoFile)
            NoEffectFromInfo(part, true, id);
        else if (deleted.count(id) != 0)
            SetFate(part, Fate::Overridden, Why::TargetDeleted, kNoFile, m_deletes.PartOf(id));
        else
            SetFate(part, Fate::PassedOver, Why::NamesNothing);
    }
}

void EffectsBuilder::FinishModifies()
{
    for (const velkin::Amendment& a : m_model.amendments) {
        if (a.edit >= m_modifies.strings.size())
            continue;
        const size_t part = m_modifies.strings[a.edit];
        switch (a.fate) {
        case AmendmentFate::Applied:
            SetFate(part, Fate::Applied, Why::None, FirstAmended(a.item));
            break;
        case AmendmentFate::NoAmendment: NoEffectFromInfo(part, false, a.item); break;
        case AmendmentFate::Deleted:
            SetFate(part, Fate::Overridden, Why::TargetDeleted, kNoFile, m_deletes.PartOf(a.item));
            break;
        case AmendmentFate::OnlyAdded: SetFate(part, Fate::PassedOver, Why::OnlyAdded); break;
        case AmendmentFate::NotObject:
            SetFate(part, Fate::PassedOver, Why::FollowsFrom, kNoFile, m_amendments.at(a.item));
            break;
        case AmendmentFate::NotWritten:
            SetFate(part, Fate::PassedOver, Named(a.item) ? Why::NotWritten : Why::NamesNothing);
            break;
        }
    }
}

std::vector<AddedLoop> FindAddedLoops(const EffectiveMenu& model)
{
    std::vector<AddedLoop> loops;
    for (size_t i = 0; i < model.menus.size(); ++i) {
        const Menu& menu = model.menus[i];
        for (size_t e = 0; menu.additions && e < menu.entries.size(); ++e) {
            const Entry& entry = menu.entries[e];
            if (entry.origin != Origin::Added || !entry.opensMenu)
                continue;
            std::vector<size_t> around = Upwards(model, i, entry.id);
            if (!around.empty())
                loops.push_back(AddedLoop{i, e, std::move(around)});
        }
    }
    return loops;
}

}  // namespace velkin
