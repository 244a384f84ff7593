#include "EffectiveMenu.h"

#include <list>
#include <unordered_set>

#include "Decisions.h"
#include "Document.h"
#include "Facts.h"
#include "Fragments.h"
#include "GObjectPtr.h"
#include "JsonPathText.h"

namespace velkin {

namespace {

using IdSet = std::unordered_set<std::string>;

// Each string of `ids` with the index where it first stands.
std::unordered_map<std::string, size_t> FirstIndexes(const std::vector<std::string>& ids)
{
    std::unordered_map<std::string, size_t> first;
    for (size_t k = 0; k < ids.size(); ++k)
        first.emplace(ids[k], k);
    return first;
}

// The node as written (its text without the closing brace), read back.
NodeView ReadNode(std::string_view open)
{
    const std::string text = std::string(open) + "}";
    g_autoptr(JsonParser) parser = json_parser_new();
    if (!json_parser_load_from_data(parser, text.data(), static_cast<gssize>(text.size()), nullptr))
        return NodeView();
    return ReadWrittenNode(json_parser_get_root(parser));
}

// A copied node that reads back as the definition's node itself: the query
// of a plain identifier, not cut, finds exactly that member, and its text
// needed no escape, so reading the text again would give the same strings.
bool CopiedAsItIs(const Menu& menu, JsonNode* node)
{
    return AsObject(node) != nullptr && QueryFindsMember(kDriverQuerySize, kMenuQuery, menu.id) &&
           menu.node.find('\\') == std::string::npos &&
           g_utf8_validate(menu.node.data(), static_cast<gssize>(menu.node.size()), nullptr);
}

// Empties the texts of a menu its watcher has seen (their room is freed).
void ReleaseTexts(Menu& menu)
{
    for (ItemEntry& item : menu.items)
        std::string().swap(item.definition);
    std::string().swap(menu.node);
}

}  // namespace

// Computes the model in the splitter's order: edit lists, then each member
// of "menutree" with its items, additions, node and parent link.
class EffectiveMenuBuilder {
public:
    EffectiveMenuBuilder(JsonNode* root, const char* path, const MenuWatcher& watch)
        : m_root(root), m_watch(watch)
    {
        m_model.profile = FindProfile(path);
    }

    EffectiveMenu Build()
    {
        m_model.providers = std::string(UnwrapMatch(Match(kProvidersQuery).text));
        if (m_model.providers.empty())
            m_model.providers = kNoProviders;
        ReadEdits();
        if (JsonObject* tree = AsObject(MemberOf(m_root, kMenuTree)))
            m_model.menuTree = MemberNames(tree);
        // Only menus are asked for their parent.
        const IdSet menus(m_model.menuTree.begin(), m_model.menuTree.end());
        m_parents = ParentIndex(m_root, &menus);
        m_model.menus.reserve(m_model.menuTree.size());
        for (const std::string& id : m_model.menuTree) {
            JsonNode* node = MemberOf(MemberOf(m_root, kMenuTree), id.c_str());
            if (m_deleted.count(id) != 0) {
                m_model.deleted.push_back(id);
                m_model.deletedMenus.push_back(
                    DeletedMenu{id, m_deleted.at(id), StringElements(MemberOf(node, kSubmenuItems))});
            } else {
                AddMenu(id, node);
            }
        }
        RecordAmendments();
        m_model.Link();
        return std::move(m_model);
    }

private:
    JsonNode* m_root;
    const MenuWatcher& m_watch;
    GObjectPtr<JsonGenerator> m_generator{json_generator_new()};
    EffectiveMenu m_model;
    // The edit lists' strings, each with the index of its first occurrence.
    std::unordered_map<std::string, size_t> m_deleted, m_addMenus, m_modified;
    std::unordered_map<std::string, std::string> m_parents;

    // The match array text of a query as formatted into its buffer.
    QueryText Match(const FormattedQuery& query)
    {
        return QueryText(JsonPathMatchText(m_root, m_generator.get(), query.text.c_str()));
    }
    QueryText Match(const char* query)
    {
        return QueryText(JsonPathMatchText(m_root, m_generator.get(), query));
    }

    // The root member's member `id` as written (serialised and repaired);
    // empty when there is none.
    std::string MemberText(const char* member, const std::string& id)
    {
        JsonNode* found = MemberOf(MemberOf(m_root, member), id.c_str());
        if (found == nullptr)
            return std::string();
        json_generator_set_root(m_generator.get(), found);
        return QueryText(RepairSerialisation(json_generator_to_data(m_generator.get(), nullptr)))
            .text;
    }

    // The match text of `format` ("$.<member>.%s", formatted into `size`
    // bytes) for `id`. Where the query finds the root member's member `id`
    // alone, that member's text is the match array's one element, and the
    // query is not compiled.
    QueryText Lookup(size_t size, const char* format, const char* member, const std::string& id)
    {
        if (!QueryFindsMember(size, format, id))
            return Match(FormatQuery(size, format, id.c_str()));
        return QueryText(g_strconcat("[", MemberText(member, id).c_str(), "]", nullptr));
    }

    // The one definition the item query of `id` finds, as written: the
    // match without the array around it; empty when there is none.
    std::string DefinitionOf(size_t size, const std::string& id)
    {
        if (!QueryFindsMember(size, kItemQuery, id))
            return std::string(UnwrapMatch(Match(FormatQuery(size, kItemQuery, id.c_str())).text));
        return MemberText(kMenuItems, id);
    }

    void ReadEdits()
    {
        EditLists& e = m_model.edits;
        for (auto [key, list] : {std::pair{kMenuDelete, &e.deleted}, std::pair{kMenuAdd, &e.added},
                                 std::pair{kMenuModify, &e.modified}})
            *list = StringElements(MemberOf(MemberOf(m_root, key), kSubmenuItems));
        m_deleted = FirstIndexes(e.deleted);
        m_addMenus = FirstIndexes(e.added);
        m_modified = FirstIndexes(e.modified);
    }

    // What became of each item of the modify list, from the menus written.
    void RecordAmendments()
    {
        std::unordered_map<std::string, unsigned> written;  // bits: 1 amended, 2 listed, 4 added
        for (const Menu& menu : m_model.menus)
            for (const ItemEntry& item : menu.items)
                if (m_modified.count(item.id) != 0)
                    written[item.id] |= item.amended                    ? 1u
                                        : item.placeholder              ? 0u
                                        : item.origin == Origin::Listed ? 2u
                                                                        : 4u;
        for (size_t k = 0; k < m_model.edits.modified.size(); ++k) {
            const std::string& id = m_model.edits.modified[k];
            if (m_modified.at(id) != k)
                continue;
            Amendment a{id, k, {}, AmendmentFate::NotWritten};
            if (JsonObject* o = AsObject(MemberOf(MemberOf(m_root, kMenuModifyInfo), id.c_str())))
                a.members = MemberNames(o);
            std::string members;
            const unsigned bits = written[id];
            if (ReadAmendment(Lookup(kLookupQuerySize, kAmendmentQuery, kMenuModifyInfo, id).text,
                              members) != AmendmentStatus::Found)
                a.fate = AmendmentFate::NoAmendment;
            else if (bits & 1u)
                a.fate = AmendmentFate::Applied;
            else if (m_deleted.count(id) != 0)
                a.fate = AmendmentFate::Deleted;
            else if (bits & 2u)
                a.fate = AmendmentFate::NotObject;
            else if (bits & 4u)
                a.fate = AmendmentFate::OnlyAdded;
            m_model.amendments.push_back(std::move(a));
        }
    }

    // The group list of a node: each group's level and items, looked up by
    // JSONPath; none for a node with no "group" array or more than two groups.
    std::list<std::string> GroupList(const std::string& id, JsonNode* node)
    {
        std::list<std::string> list;
        JsonArray* groups = AsArray(MemberOf(node, kGroup));
        if (groups == nullptr || !GroupsAreRead(json_array_get_length(groups)))
            return list;
        const int n = static_cast<int>(json_array_get_length(groups));
        for (int i = 0; i < n; ++i)
            for (const char* member : {kIndentLevel, kGroupItems}) {
                QueryText match =
                    Match(FormatQuery(kGroupQuerySize, kGroupQuery, id.c_str(), kGroup, i, member));
                for (std::string& s : QuotedStrings(match.text))
                    list.push_back(std::move(s));
            }
        return list;
    }

    void AddMenu(const std::string& id, JsonNode* node)
    {
        Menu menu;
        menu.id = id;
        std::list<std::string> items = ListedItems(menu, MemberOf(node, kSubmenuItems));
        std::vector<Merged> merged;
        if (m_addMenus.count(id) != 0)
            merged = AddItems(menu, items);
        menu.additions = !merged.empty();
        // Only a rebuilt node is written from the group list.
        if (menu.rebuilt)
            RebuildNode(menu, items, GroupList(id, node));
        else
            CopyNode(menu);
        NodeView view =
            menu.rebuilt || !CopiedAsItIs(menu, node) ? ReadNode(menu.node) : ReadWrittenNode(node);
        menu.groups = std::move(view.groups);
        // A rebuilt node lists the item list; a copied one what it holds.
        if (!menu.rebuilt)
            for (std::string& entry : view.entries)
                merged.push_back(Merged{std::move(entry), false});
        else if (merged.empty())
            for (const std::string& entry : items)
                merged.push_back(Merged{entry, false});
        for (Merged& m : merged)
            menu.entries.push_back(
                Entry{std::move(m.id), m.added ? Origin::Added : Origin::Listed, kNoItem, false});
        menu.LinkDefinitions();
        // A large definition has many menus: no room to spare in each.
        menu.items.shrink_to_fit();
        menu.entries.shrink_to_fit();
        auto parent = m_parents.find(id);
        if (parent != m_parents.end())
            menu.parent = parent->second;
        if (m_watch) {
            m_watch(menu);
            ReleaseTexts(menu);
        }
        m_model.menus.push_back(std::move(menu));
    }

    // The node's "submenuitems" strings but the deleted ones, each written
    // with its definition; returns them as the item list.
    std::list<std::string> ListedItems(Menu& menu, JsonNode* listed)
    {
        std::list<std::string> items;
        JsonArray* array = AsArray(listed);
        const guint n = array != nullptr ? json_array_get_length(array) : 0;
        for (guint j = 0; j < n; ++j) {
            const char* id = AsString(json_array_get_element(array, j));
            if (id == nullptr)
                continue;
            if (auto deleted = m_deleted.find(id); deleted != m_deleted.end()) {
                m_model.deletedEntries.push_back(
                    DeletedEntry{menu.id, id, deleted->second, items.size()});
                menu.rebuilt = true;
                continue;
            }
            items.emplace_back(id);
            menu.items.push_back(Listed(id, j));
        }
        return items;
    }

    ItemEntry Listed(const std::string& id, size_t source)
    {
        ItemEntry entry{id,    Origin::Listed, source, DefinitionOf(kDriverQuerySize, id),
                        false, false};
        if (entry.definition.empty()) {
            entry.placeholder = true;
            entry.definition = kPlaceholderDefinition;
        } else {
            Amend(entry);
        }
        return entry;
    }

    // An item of the modify list with an amendment object gets its members,
    // when its definition is an object.
    void Amend(ItemEntry& entry)
    {
        const bool listed = m_modified.count(entry.id) != 0;
        std::string members;
        const bool found =
            listed &&
            ReadAmendment(Lookup(kLookupQuerySize, kAmendmentQuery, kMenuModifyInfo, entry.id).text,
                          members) == AmendmentStatus::Found;
        if (!IsAmended(listed, found, entry.definition))
            return;
        const std::string_view open(entry.definition.data(), entry.definition.size() - 1);
        entry.definition = AmendDefinition(open, members);
        entry.amended = true;
    }

    // The identifiers of the menu's add list that it does not list yet are
    // written; then the list is merged into the item list.
    std::vector<Merged> AddItems(Menu& menu, std::list<std::string>& items)
    {
        QueryText match = Match(FormatQuery(kLookupQuerySize, kAddListQuery, menu.id.c_str()));
        const std::vector<std::string> quoted = QuotedStrings(match.text);
        if (quoted.empty())
            return {};
        const IdSet listed(items.begin(), items.end());
        for (size_t k = 0; k < quoted.size(); ++k) {
            if (listed.count(quoted[k]) != 0)
                continue;
            menu.items.push_back(Added(quoted[k], k));
            if (auto deleted = m_deleted.find(quoted[k]); deleted != m_deleted.end())
                m_model.undone.push_back(DeletedEntry{menu.id, quoted[k], deleted->second, 0});
        }
        std::vector<Merged> merged =
            MergeAdded(std::list<std::string>(quoted.begin(), quoted.end()), items);
        items.clear();
        for (const Merged& m : merged)
            items.push_back(m.id);
        menu.rebuilt = true;
        return merged;
    }

    ItemEntry Added(const std::string& id, size_t source)
    {
        ItemEntry entry{id,    Origin::Added, source, DefinitionOf(kLookupQuerySize, id),
                        false, false};
        entry.placeholder = entry.definition.empty();
        if (entry.placeholder)
            entry.definition = kPlaceholderDefinition;
        return entry;
    }

    // "{" with the item list's "submenuitems" and the groups that keep their
    // place after the deletes.
    void RebuildNode(Menu& menu, const std::list<std::string>& items,
                     const std::list<std::string>& groups)
    {
        std::list<std::string> kept;
        for (const std::string& entry : groups)
            if (m_deleted.count(entry) == 0)
                kept.push_back(entry);
        OpenedNode node = JoinRebuiltNode(SubmenuItemsFragment(items), GroupFragment(kept));
        menu.node = std::move(node.text);
        menu.nodeHasMember = node.hasMember;
    }

    void CopyNode(Menu& menu)
    {
        QueryText match = Lookup(kDriverQuerySize, kMenuQuery, kMenuTree, menu.id);
        OpenedNode node = CopiedNode(match.text);
        menu.node = std::move(node.text);
        menu.nodeHasMember = node.hasMember;
    }
};

NodeView ReadWrittenNode(JsonNode* node)
{
    NodeView view;
    view.entries = StringElements(MemberOf(node, kSubmenuItems));
    JsonArray* array = AsArray(MemberOf(node, kGroup));
    const guint n = array != nullptr ? json_array_get_length(array) : 0;
    for (guint i = 0; i < n; ++i) {
        JsonNode* group = json_array_get_element(array, i);
        Group g;
        if (const char* level = AsString(MemberOf(group, kIndentLevel)))
            g.level = level;
        g.items = StringElements(MemberOf(group, kGroupItems));
        view.groups.push_back(std::move(g));
    }
    return view;
}

EffectiveMenu ComputeEffectiveMenu(JsonNode* root, const char* path, const MenuWatcher& watch)
{
    return EffectiveMenuBuilder(root, path, watch).Build();
}

}  // namespace velkin
