#include "Catalogue.h"
#include "Check.h"

#include <json-glib/json-glib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "Document.h"
#include "Facts.h"
#include "Identifiers.h"
#include "JsonPathText.h"
#include "NestingCheck.h"
#include "Profiles.h"

namespace check {

using namespace velkin;

namespace {


// The fixed starts of the item and menu lookups.
constexpr std::string_view kItemQueryStart = "$.menuitems.";
constexpr std::string_view kMenuQueryStart = "$.menutree.";

// A json-glib value together with the scanned node that holds its position
// (null when the scanner could not follow).
struct Located {
    JsonNode* node = nullptr;
    const Node* at = nullptr;
};

// Where the members of one scanned object are: the first occurrence of a name
// gives its place in json-glib's order, the last one its value.
class MemberIndex {
public:
    explicit MemberIndex(const Node* object)
    {
        if (object == nullptr || object->kind != Node::Kind::Object)
            return;
        for (const Member& m : object->members) {
            auto& entry = m_entries[m.name];
            if (entry.first == nullptr)
                entry.first = &m;
            entry.last = &m;
        }
    }
    const Member* First(const std::string& name) const
    {
        auto it = m_entries.find(name);
        return it == m_entries.end() ? nullptr : it->second.first;
    }
    const Member* Last(const std::string& name) const
    {
        auto it = m_entries.find(name);
        return it == m_entries.end() ? nullptr : it->second.last;
    }

private:
    struct Entry {
        const Member* first = nullptr;
        const Member* last = nullptr;
    };
    std::unordered_map<std::string, Entry> m_entries;
};

size_t NameOffset(const Member* m)
{
    return m != nullptr ? m->offset : kNoOffset;
}

size_t ValueOffset(const Node* n)
{
    return n != nullptr ? n->offset : kNoOffset;
}

// Member `name` of a located object (few members: a linear search).
Located Child(const Located& object, const char* name, size_t* nameOffset = nullptr)
{
    Located out;
    JsonObject* o = AsObject(object.node);
    if (o == nullptr)
        return out;
    out.node = json_object_get_member(o, name);
    if (out.node == nullptr)
        return out;
    if (object.at != nullptr && object.at->kind == Node::Kind::Object) {
        const Member* first = nullptr;
        for (const Member& m : object.at->members)
            if (m.name == name) {
                if (first == nullptr)
                    first = &m;
                out.at = &m.value;
            }
        if (nameOffset != nullptr)
            *nameOffset = NameOffset(first);
    }
    return out;
}

// Member `name` of a located object with many members, found through its index.
Located Child(const Located& object, const MemberIndex& index, const std::string& name)
{
    Located out;
    JsonObject* o = AsObject(object.node);
    if (o == nullptr)
        return out;
    out.node = json_object_get_member(o, name.c_str());
    if (out.node != nullptr)
        if (const Member* last = index.Last(name))
            out.at = &last->value;
    return out;
}

// Element `i` of a located array; the scanned element only when both agree on
// the length.
Located Element(const Located& array, guint i)
{
    Located out;
    JsonArray* a = AsArray(array.node);
    if (a == nullptr || i >= json_array_get_length(a))
        return out;
    out.node = json_array_get_element(a, i);
    if (array.at != nullptr && array.at->kind == Node::Kind::Array &&
        array.at->elements.size() == json_array_get_length(a))
        out.at = &array.at->elements[i];
    return out;
}

struct Entry {
    std::string id;
    size_t offset;
};

class Checker {
public:
    Checker(const char* path, std::string_view text) : m_path(path), m_text(text), m_def(text) {}

    std::vector<Diagnostic> Run()
    {
        if (FindProfile(m_path) == nullptr)
            Report(RuleId::NoProfile, kNoOffset,
                   "the file name selects no profile: its menu files would go to the resource "
                   "root itself");
        const size_t deep = FindTooDeep(m_text);
        if (deep != kNotTooDeep) {
            Report(RuleId::TooDeep, deep,
                   "nesting goes beyond " + std::to_string(kMaxNesting) + " levels here");
            return Finish();
        }
        g_autoptr(JsonParser) parser = json_parser_new();
        GError* error = nullptr;
        if (!json_parser_load_from_data(parser, m_text.data(), static_cast<gssize>(m_text.size()),
                                        &error)) {
            ReportSyntax(error->message);
            g_error_free(error);
            return Finish();
        }
        JsonNode* rootNode = json_parser_get_root(parser);
        if (rootNode == nullptr) {
            Report(RuleId::NoMenutree, kNoOffset,
                   "the document is empty: nothing would be written");
            return Finish();
        }
        const Node* scanned = m_def.Root();
        if (scanned != nullptr)
            FindDuplicates(*scanned);
        CheckDocument(Located{rootNode, scanned});
        return Finish();
    }

private:
    const char* m_path;
    std::string_view m_text;
    Definition m_def;
    std::vector<Diagnostic> m_found;

    std::unordered_set<std::string> m_deleted, m_addMenus, m_modified;
    std::unordered_set<std::string> m_menus;    // members of "menutree"
    std::unordered_set<std::string> m_defined;  // members of "menuitems"
    std::unordered_set<std::string> m_listed;   // strings of any node's "submenuitems"
    std::unordered_set<std::string> m_written;  // items written from a menu's own list
    std::unordered_set<std::string> m_added;    // items written as additions
    JsonObject* m_items = nullptr;              // "menuitems" when it is an object
    std::vector<Entry> m_deleteEntries, m_addEntries, m_modifyEntries;
    // Every menu listing an identifier, in "menutree" order: the first is its parent.
    struct Listing {
        std::string parent;
        size_t offset;
    };
    std::unordered_map<std::string, std::vector<Listing>> m_listings;
    JsonNode* m_root = nullptr;

    void Report(RuleId rule, size_t offset, std::string message)
    {
        m_found.push_back(Diagnostic{rule, m_def.At(offset), std::move(message)});
    }

    // File order; findings at one position keep the order they were made in.
    std::vector<Diagnostic> Finish()
    {
        auto before = [](const Diagnostic& a, const Diagnostic& b) {
            const Position& p = a.position;
            const Position& q = b.position;
            return p.line != q.line ? p.line < q.line : p.column < q.column;
        };
        std::stable_sort(m_found.begin(), m_found.end(), before);
        return std::move(m_found);
    }

    // json-glib's message begins "<data>:LINE:COLUMN: "; the rest is kept.
    void ReportSyntax(const char* message)
    {
        long line = 1;
        long column = 1;
        int used = 0;
        const char* text = message;
        if (std::sscanf(message, "<data>:%ld:%ld: %n", &line, &column, &used) == 2 && used > 0) {
            text = message + used;
            // At the end of a line json-glib's scanner may stand at column 0.
            line = std::max(line, 1L);
            column = std::max(column, 1L);
        } else {
            line = 1;
            column = 1;
        }
        // The message quotes the offending token, which may hold line breaks.
        std::string shown;
        for (const char* p = text; *p != '\0'; ++p) {
            const unsigned char c = static_cast<unsigned char>(*p);
            if (c < 0x20) {
                AppendHexEscape(shown, c);
            } else {
                shown += static_cast<char>(c);
            }
        }
        m_found.push_back(Diagnostic{RuleId::Syntax, Position{line, column}, shown});
    }

    void FindDuplicates(const Node& node)
    {
        if (node.kind == Node::Kind::Object) {
            std::unordered_map<std::string_view, const Member*> seen;
            for (const Member& m : node.members) {
                auto [it, fresh] = seen.emplace(m.name, &m);
                if (!fresh) {
                    const Position first = m_def.At(it->second->offset);
                    Report(RuleId::DuplicateKey, m.offset,
                           "member " + Show(m.name) + " repeats the one at line " +
                               std::to_string(first.line) + ", column " +
                               std::to_string(first.column) +
                               "; json-glib keeps only the last value");
                }
                FindDuplicates(m.value);
            }
        } else if (node.kind == Node::Kind::Array) {
            for (const Node& element : node.elements)
                FindDuplicates(element);
        }
    }

    // The string elements of an identifier array, reporting the others. Lists
    // the splitter reads `fromText` (group items, add lists) are split at the
    // quotes of their serialised text: every string nested in an element counts.
    std::vector<Entry> Identifiers(const Located& array, const std::string& where,
                                   bool fromText = false)
    {
        std::vector<Entry> out;
        JsonArray* a = AsArray(array.node);
        if (a == nullptr)
            return out;
        const guint n = json_array_get_length(a);
        for (guint i = 0; i < n; ++i) {
            const Located e = Element(array, i);
            const char* s = AsString(e.node);
            if (s != nullptr)
                out.push_back(Entry{s, ValueOffset(e.at)});
            else
                Report(RuleId::NonStringIdentifier, ValueOffset(e.at),
                       "element " + std::to_string(i) + " of " + where + " is not a string: " +
                           (fromText && (AsObject(e.node) != nullptr || AsArray(e.node) != nullptr)
                                ? "every string inside it is read as an identifier"
                                : "it is passed over"));
        }
        return out;
    }

    // The edit list under root member `key`: its "submenuitems" strings.
    std::vector<Entry> EditList(const Located& root, const char* key)
    {
        const Located list = Child(Child(root, key), "submenuitems");
        return Identifiers(list, std::string("\"") + key + "\"");
    }

    // Would the splitter's lookup of `id`, formatted into a buffer of `size`
    // bytes, find nothing?
    bool LookupFindsNothing(const std::string& id, size_t size)
    {
        if (m_items == nullptr)
            return true;
        if (PlainForJsonPath(id) && kItemQueryStart.size() + id.size() < size)
            return !json_object_has_member(m_items, id.c_str());
        std::string query(kItemQueryStart);
        query += id;
        if (query.size() >= size)
            query.resize(size - 1);
        g_autoptr(JsonGenerator) generator = json_generator_new();
        QueryText result(JsonPathMatchText(m_root, generator, query.c_str()));
        return result.text == nullptr || std::strlen(result.text) <= 2;
    }

    // Rules on one identifier that the splitter writes and looks up.
    void CheckIdentifier(const std::string& id, size_t offset, std::string_view query, size_t size,
                         const char* what)
    {
        if (NeedsEscape(id))
            Report(RuleId::UnescapedIdentifier, offset,
                   std::string(what) + " " + Show(id) +
                       " holds a double quote, backslash or control character: the files "
                       "naming it would not be JSON");
        if (query.size() + id.size() >= size)
            Report(RuleId::QueryTooLong, offset,
                   std::string(what) + " " + Show(id) + " is " + std::to_string(id.size()) +
                       " bytes long: its lookup is cut at " + std::to_string(size) + " bytes");
        if (!PlainForJsonPath(id))
            Report(RuleId::JsonPathIdentifier, offset,
                   std::string(what) + " " + Show(id) +
                       " is read by JSONPath as more than a member name");
    }

    void CheckItem(const std::string& id, size_t offset, size_t size, const std::string& menu)
    {
        CheckIdentifier(id, offset, kItemQueryStart, size, "item");
        if (LookupFindsNothing(id, size))
            Report(RuleId::MissingDefinition, offset,
                   "item " + Show(id) + " of menu " + Show(menu) +
                       " has no definition under \"menuitems\": it is written as \"Json Syntax "
                       "Error\"");
    }

    void CheckMenuName(const std::string& menu, size_t offset)
    {
        if (menu.empty() || menu == "." || menu == ".." || menu.find('/') != std::string::npos)
            Report(RuleId::UnsafeMenuName, offset,
                   "menu " + Show(menu) +
                       " would be written outside its profile directory or "
                       "not at all");
        if (menu == "helper" || menu == "providers")
            Report(RuleId::ReservedMenuName, offset,
                   "menu " + Show(menu) + " would overwrite the profile's " + menu + ".json");
        CheckIdentifier(menu, offset, kMenuQueryStart, kDriverQuerySize, "menu");
    }

    // The groups of a menu are looked up with "$.menutree.<menu>.group[<i>].indent-level"
    // (at most two groups are read, so <i> is one digit) in the 1024-byte buffer.
    void CheckGroupQuery(const Located& node, const std::string& menu, size_t offset)
    {
        JsonArray* groups = AsArray(Child(node, "group").node);
        if (groups == nullptr || json_array_get_length(groups) == 0 ||
            json_array_get_length(groups) > 2)
            return;
        constexpr std::string_view kLongest = ".group[0].indent-level";
        if (kMenuQueryStart.size() + menu.size() < kDriverQuerySize &&
            kMenuQueryStart.size() + menu.size() + kLongest.size() >= kGroupQuerySize)
            Report(RuleId::QueryTooLong, offset,
                   "menu " + Show(menu) + " is " + std::to_string(menu.size()) +
                       " bytes long: its group lookup is cut at " +
                       std::to_string(kGroupQuerySize) + " bytes");
    }

    // The "menutree" object, or null once the reason there is none is reported.
    JsonObject* MenuTree(const Located& root, Located& tree)
    {
        if (AsObject(root.node) == nullptr) {
            Report(RuleId::NoMenutree, ValueOffset(root.at),
                   "the document is not an object: nothing would be written");
            return nullptr;
        }
        size_t treeName = kNoOffset;
        tree = Child(root, "menutree", &treeName);
        if (tree.node == nullptr) {
            Report(RuleId::NoMenutree, ValueOffset(root.at),
                   "the document has no \"menutree\": no menu file would be written");
            return nullptr;
        }
        JsonObject* treeObject = AsObject(tree.node);
        if (treeObject == nullptr)
            Report(RuleId::NoMenutree, treeName,
                   "\"menutree\" is not an object: no menu file would be written");
        return treeObject;
    }

    // The item definitions and the three edit lists, as the splitter reads them.
    void ReadDefinitionsAndEdits(const Located& root)
    {
        m_items = AsObject(json_object_get_member(AsObject(root.node), "menuitems"));
        if (m_items != nullptr)
            for (std::string& name : MemberNames(m_items))
                m_defined.insert(std::move(name));
        m_deleteEntries = EditList(root, "menudelete");
        m_addEntries = EditList(root, "menuadd");
        m_modifyEntries = EditList(root, "menumodify");
        for (const Entry& e : m_deleteEntries)
            m_deleted.insert(e.id);
        for (const Entry& e : m_addEntries)
            m_addMenus.insert(e.id);
        for (const Entry& e : m_modifyEntries)
            m_modified.insert(e.id);
    }

    void CheckDocument(const Located& root)
    {
        m_root = root.node;
        Located tree;
        JsonObject* treeObject = MenuTree(root, tree);
        if (treeObject == nullptr)
            return;
        ReadDefinitionsAndEdits(root);
        const std::vector<std::string> menus = MemberNames(treeObject);
        const MemberIndex index(tree.at);
        m_menus.insert(menus.begin(), menus.end());
        const Located addInfo = Child(root, "menuaddinfo");
        const MemberIndex addIndex(addInfo.at);
        for (const std::string& menu : menus)
            CheckMenu(menu, Child(tree, index, menu), NameOffset(index.First(menu)),
                      Child(addInfo, addIndex, menu));
        CheckParents(menus, index);
        CheckEdits(root);
    }

    // One menu of "menutree": its name, its listings (the parent links), and,
    // when it is written, its items, groups and added items (`addedInfo`: its
    // member of "menuaddinfo").
    void CheckMenu(const std::string& menu, const Located& node, size_t nameOffset,
                   const Located& addedInfo)
    {
        const bool written = m_deleted.count(menu) == 0;
        if (written) {
            CheckMenuName(menu, nameOffset);
            CheckGroupQuery(node, menu, nameOffset);
        }
        const std::vector<Entry> entries =
            Identifiers(Child(node, "submenuitems"), "the \"submenuitems\" of menu " + Show(menu));
        std::unordered_set<std::string> own;
        for (const Entry& e : entries) {
            m_listed.insert(e.id);
            own.insert(e.id);
            auto& l = m_listings[e.id];
            if (l.empty() || l.back().parent != menu)
                l.push_back(Listing{menu, e.offset});
        }
        if (!written)
            return;

        std::unordered_set<std::string> items;
        for (const Entry& e : entries) {
            if (m_deleted.count(e.id) != 0)
                continue;
            items.insert(e.id);
            m_written.insert(e.id);
            CheckItem(e.id, e.offset, kDriverQuerySize, menu);
        }
        CheckGroups(node, menu, own);
        if (m_addMenus.count(menu) != 0)
            CheckAddedItems(Child(addedInfo, "list"), menu, items);
    }

    // The items "menuaddinfo" adds to a written menu, but those it lists already.
    void CheckAddedItems(const Located& added, const std::string& menu,
                         const std::unordered_set<std::string>& items)
    {
        for (const Entry& e :
             Identifiers(added, "the \"menuaddinfo\" list of menu " + Show(menu), true)) {
            if (items.count(e.id) != 0)
                continue;
            m_added.insert(e.id);
            CheckItem(e.id, e.offset, kLookupQuerySize, menu);
        }
    }

    void CheckParents(const std::vector<std::string>& menus, const MemberIndex& index)
    {
        std::unordered_map<std::string, std::string> parent;
        for (const std::string& menu : menus) {
            auto it = m_listings.find(menu);
            if (it == m_listings.end())
                continue;
            const auto& l = it->second;
            parent[menu] = l.front().parent;
            if (m_deleted.count(menu) != 0)
                continue;
            std::set<std::string> others;
            for (size_t i = 1; i < l.size(); ++i)
                if (l[i].parent != l.front().parent && others.insert(l[i].parent).second)
                    Report(RuleId::MultipleParents, l[i].offset,
                           "menu " + Show(menu) + " is also listed by menu " + Show(l[i].parent) +
                               "; its parent is " + Show(l.front().parent) +
                               ", the first in \"menutree\" order");
            if (m_deleted.count(l.front().parent) != 0)
                Report(RuleId::ParentDeleted, NameOffset(index.First(menu)),
                       "the parent of menu " + Show(menu) + ", " + Show(l.front().parent) +
                           ", is deleted by \"menudelete\" but still named as its parent");
        }

        CheckLoops(menus, index, parent);
    }

    // Loops among the parent links of written menus; each reported once, at
    // its menu that comes first in "menutree".
    void CheckLoops(const std::vector<std::string>& menus, const MemberIndex& index,
                    const std::unordered_map<std::string, std::string>& parent)
    {
        std::unordered_map<std::string_view, size_t> order;
        for (size_t i = 0; i < menus.size(); ++i)
            order.emplace(menus[i], i);
        enum class Mark { None, Active, Done };
        std::unordered_map<std::string, Mark> mark;
        for (const std::string& start : menus) {
            if (m_deleted.count(start) != 0 || mark[start] != Mark::None)
                continue;
            std::vector<std::string> path;
            std::string at = start;
            for (;;) {
                Mark& m = mark[at];
                if (m == Mark::Done)
                    break;
                if (m == Mark::Active) {
                    auto loopStart = std::find(path.begin(), path.end(), at);
                    std::vector<std::string> loop(loopStart, path.end());
                    auto first = std::min_element(loop.begin(), loop.end(),
                                                  [&](const std::string& a, const std::string& b) {
                                                      return order.at(a) < order.at(b);
                                                  });
                    std::rotate(loop.begin(), first, loop.end());
                    std::string text;
                    for (const std::string& name : loop)
                        text += Show(name) + " -> ";
                    text += Show(loop.front());
                    Report(RuleId::ParentCycle, NameOffset(index.First(loop.front())),
                           "parent links form a loop: " + text +
                               " (each named as the parent "
                               "of the one before)");
                    break;
                }
                m = Mark::Active;
                path.push_back(at);
                auto p = parent.find(at);
                if (p == parent.end() || m_deleted.count(p->second) != 0 ||
                    m_menus.count(p->second) == 0)
                    break;
                at = p->second;
            }
            for (const std::string& name : path)
                mark[name] = Mark::Done;
        }
    }

    void CheckGroups(const Located& node, const std::string& menu,
                     const std::unordered_set<std::string>& own)
    {
        const Located groups = Child(node, "group");
        JsonArray* a = AsArray(groups.node);
        if (a == nullptr)
            return;
        const guint n = json_array_get_length(a);
        for (guint i = 0; i < n; ++i) {
            const Located items = Child(Element(groups, i), "group-items");
            for (const Entry& e :
                 Identifiers(items, "a \"group-items\" of menu " + Show(menu), true))
                if (own.count(e.id) == 0)
                    Report(RuleId::GroupItemNotListed, e.offset,
                           "group entry " + Show(e.id) +
                               " is not in the \"submenuitems\" of menu " + Show(menu));
        }
    }

    void CheckEdits(const Located& root)
    {
        auto named = [&](const std::string& id) {
            return m_menus.count(id) != 0 || m_defined.count(id) != 0 || m_listed.count(id) != 0;
        };
        for (const Entry& e : m_deleteEntries)
            if (!named(e.id))
                Report(RuleId::DanglingEdit, e.offset,
                       "\"menudelete\" names " + Show(e.id) + ", which is no menu or item");
        for (const Entry& e : m_modifyEntries)
            if (!named(e.id))
                Report(RuleId::DanglingEdit, e.offset,
                       "\"menumodify\" names " + Show(e.id) + ", which is no menu or item");
        for (const Entry& e : m_addEntries)
            if (m_menus.count(e.id) == 0)
                Report(RuleId::DanglingEdit, e.offset,
                       "\"menuadd\" names " + Show(e.id) + ", which is no menu");

        const Located addInfo = Child(root, "menuaddinfo");
        const Located modifyInfo = Child(root, "menumodifyinfo");
        const MemberIndex addIndex(addInfo.at);
        const MemberIndex modifyIndex(modifyInfo.at);
        if (JsonObject* o = AsObject(addInfo.node))
            for (const std::string& menu : MemberNames(o))
                if (m_addMenus.count(menu) == 0)
                    Report(RuleId::IgnoredEditInfo, NameOffset(addIndex.First(menu)),
                           "\"menuaddinfo\" of " + Show(menu) +
                               " is never read: the menu is not in \"menuadd\"");
        JsonObject* amendments = AsObject(modifyInfo.node);
        if (amendments != nullptr)
            for (const std::string& item : MemberNames(amendments))
                if (m_modified.count(item) == 0)
                    Report(RuleId::IgnoredEditInfo, NameOffset(modifyIndex.First(item)),
                           "\"menumodifyinfo\" of " + Show(item) +
                               " is never read: the item is not in \"menumodify\"");

        const MemberIndex itemIndex(Child(root, "menuitems").at);
        std::unordered_set<std::string> seen;
        for (const Entry& e : m_modifyEntries) {
            if (!seen.insert(e.id).second)
                continue;
            JsonNode* amendment =
                amendments != nullptr ? json_object_get_member(amendments, e.id.c_str()) : nullptr;
            if (amendment == nullptr)
                continue;
            const size_t amendmentName = NameOffset(modifyIndex.First(e.id));
            JsonObject* members = AsObject(amendment);
            if (members == nullptr || json_object_get_size(members) == 0) {
                Report(RuleId::IgnoredEditInfo, amendmentName,
                       "the amendment of " + Show(e.id) +
                           " is not an object with members: it is ignored");
                continue;
            }
            if (m_written.count(e.id) != 0) {
                JsonNode* definition =
                    m_items != nullptr ? json_object_get_member(m_items, e.id.c_str()) : nullptr;
                if (definition != nullptr && AsObject(definition) == nullptr)
                    Report(RuleId::IgnoredEditInfo, NameOffset(itemIndex.First(e.id)),
                           "the definition of " + Show(e.id) +
                               " is not an object: its amendment is ignored");
            } else if (m_added.count(e.id) != 0) {
                Report(RuleId::IgnoredEditInfo, e.offset,
                       "item " + Show(e.id) +
                           " only arrives through \"menuadd\": added items are written without "
                           "their amendment");
            }
        }
    }
};

}  // namespace

std::vector<Diagnostic> CheckDefinition(const char* path, std::string_view text)
{
    return Checker(path, text).Run();
}

}  // namespace check
