#include "Model.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "Document.h"
#include "Facts.h"

namespace lsp {

using check::Node;
using namespace velkin;

namespace {

bool IsObject(const Node* node)
{
    return node != nullptr && node->kind == Node::Kind::Object;
}

}  // namespace

const Node* MemberNode(const Node& object, std::string_view name)
{
    for (auto it = object.members.rbegin(); it != object.members.rend(); ++it)
        if (it->name == name)
            return &it->value;
    return nullptr;
}

Model::Model(const std::string& path, std::string text) : m_text(std::move(text))
{
    const check::Definition definition(m_text);
    if (definition.Root() != nullptr) {
        m_read = true;
        Collect(*definition.Root());
        CollectPlaces(*definition.Root(), Place::Kind::Root);
        std::sort(m_occurrences.begin(), m_occurrences.end(),
                  [](const Occurrence& a, const Occurrence& b) { return a.begin < b.begin; });
    }
    m_parser.reset(json_parser_new());
    if (ParseDefinition(m_parser.get(), m_text).status == LoadStatus::Loaded)
        m_menu = std::make_unique<EffectiveMenu>(
            ComputeEffectiveMenu(json_parser_get_root(m_parser.get()), path.c_str()));
}

JsonNode* Model::Root() const
{
    return m_menu ? json_parser_get_root(m_parser.get()) : nullptr;
}

// The end of the string token opening at `quote`: after its closing quote.
size_t Model::TokenEnd(size_t quote) const
{
    for (size_t i = quote + 1; i < m_text.size(); ++i) {
        if (m_text[i] == '\\')
            ++i;
        else if (m_text[i] == '"')
            return i + 1;
    }
    return m_text.size();
}

void Model::Add(const std::string& id, Role role, size_t begin, const std::string& owner)
{
    if (begin == check::kNoOffset || begin >= m_text.size() || m_text[begin] != '"')
        return;
    m_occurrences.push_back(Occurrence{id, role, begin, TokenEnd(begin), owner});
}

void Model::AddStrings(const Node* array, Role role, const std::string& owner)
{
    if (array == nullptr || array->kind != Node::Kind::Array)
        return;
    for (const Node& element : array->elements)
        if (element.kind == Node::Kind::String)
            Add(element.text, role, element.offset, owner);
}

void Model::CollectTree(const Node& tree)
{
    for (const check::Member& menu : tree.members) {
        Add(menu.name, Role::MenuNode, menu.offset, menu.name);
        if (!IsObject(&menu.value))
            continue;
        AddStrings(MemberNode(menu.value, kSubmenuItems), Role::Listed, menu.name);
        const Node* groups = MemberNode(menu.value, kGroup);
        if (groups == nullptr || groups->kind != Node::Kind::Array)
            continue;
        for (const Node& group : groups->elements)
            if (IsObject(&group))
                AddStrings(MemberNode(group, kGroupItems), Role::GroupItem, menu.name);
    }
}

void Model::Collect(const Node& root)
{
    if (!IsObject(&root))
        return;
    if (const Node* tree = MemberNode(root, kMenuTree); IsObject(tree))
        CollectTree(*tree);
    if (const Node* items = MemberNode(root, kMenuItems); IsObject(items))
        for (const check::Member& item : items->members)
            Add(item.name, Role::ItemDefinition, item.offset, {});
    for (std::string_view list : kEditLists)
        if (const Node* edit = MemberNode(root, list); IsObject(edit))
            AddStrings(MemberNode(*edit, kSubmenuItems), Role::EditList, std::string(list));
    if (const Node* adds = MemberNode(root, kMenuAddInfo); IsObject(adds))
        for (const check::Member& add : adds->members) {
            Add(add.name, Role::AddMenu, add.offset, add.name);
            if (IsObject(&add.value))
                AddStrings(MemberNode(add.value, kAddList), Role::AddList, add.name);
        }
    if (const Node* amendments = MemberNode(root, kMenuModifyInfo); IsObject(amendments))
        for (const check::Member& amendment : amendments->members)
            Add(amendment.name, Role::Amendment, amendment.offset, {});
}

// The kind of object a member of an object of `kind` holds.
static Place::Kind ChildKind(Place::Kind kind, std::string_view member)
{
    if (kind == Place::Kind::Root)
        for (std::string_view list : kEditLists)
            if (member == list)
                return Place::Kind::EditList;
    return kind == Place::Kind::Node && member == kGroup ? Place::Kind::Group : Place::Kind::Other;
}

// Past the blanks, commas and comments from `at`.
size_t Model::SkipBlanks(size_t at) const
{
    while (at < m_text.size()) {
        if (m_text.compare(at, 2, "/*") == 0) {
            const size_t close = m_text.find("*/", at + 2);
            at = close == std::string::npos ? m_text.size() : close + 2;
        } else if (std::isspace(static_cast<unsigned char>(m_text[at])) || m_text[at] == ',') {
            ++at;
        } else {
            break;
        }
    }
    return at;
}

// Where a scanned value ends: after its closing quote or bracket.
size_t Model::ValueEnd(const Node& node) const
{
    if (node.kind == Node::Kind::String)
        return TokenEnd(node.offset);
    if (node.kind == Node::Kind::Other) {
        size_t at = node.offset;
        while (at < m_text.size() && (std::isalnum(static_cast<unsigned char>(m_text[at])) ||
                                      std::strchr("+-.", m_text[at]) != nullptr))
            ++at;
        return at;
    }
    size_t last = node.offset + 1;
    if (!node.members.empty())
        last = ValueEnd(node.members.back().value);
    else if (!node.elements.empty())
        last = ValueEnd(node.elements.back());
    return std::min(SkipBlanks(last) + 1, m_text.size());
}

void Model::CollectPlaces(const Node& node, Place::Kind kind)
{
    if (node.kind == Node::Kind::Object)
        m_places.push_back(Place{node.offset, ValueEnd(node), kind});
    for (const check::Member& member : node.members) {
        Place::Kind child = ChildKind(kind, member.name);
        if (kind == Place::Kind::Root &&
            (member.name == kMenuTree || member.name == kMenuAddInfo)) {
            m_places.push_back(
                Place{member.value.offset, ValueEnd(member.value), Place::Kind::Other});
            child = member.name == kMenuTree ? Place::Kind::Node : Place::Kind::AddEntry;
            for (const check::Member& inner : member.value.members)
                CollectPlaces(inner.value, child);
            continue;
        }
        CollectPlaces(member.value, child);
    }
    for (const Node& element : node.elements)
        CollectPlaces(element,
                      kind == Place::Kind::Group ? Place::Kind::Group : Place::Kind::Other);
}

const Occurrence* Model::At(size_t offset) const
{
    auto it = std::upper_bound(m_occurrences.begin(), m_occurrences.end(), offset,
                               [](size_t at, const Occurrence& o) { return at < o.begin; });
    if (it == m_occurrences.begin())
        return nullptr;
    --it;
    return offset < it->end ? &*it : nullptr;
}

std::vector<const Occurrence*> Model::Named(std::string_view id) const
{
    std::vector<const Occurrence*> out;
    for (const Occurrence& o : m_occurrences)
        if (o.id == id)
            out.push_back(&o);
    return out;
}

const Occurrence* Model::First(std::string_view id, Role role) const
{
    for (const Occurrence& o : m_occurrences)
        if (o.id == id && o.role == role)
            return &o;
    return nullptr;
}

const Place* Model::PlaceAt(size_t offset) const
{
    const Place* inner = nullptr;
    for (const Place& place : m_places)
        if (place.begin < offset && offset < place.end)
            inner = &place;
    return inner;
}

}  // namespace lsp
