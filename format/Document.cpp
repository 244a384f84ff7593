#include "Document.h"

#include "Facts.h"
#include "NestingCheck.h"

namespace velkin {

LoadResult ParseDefinition(JsonParser* parser, std::string_view text)
{
    LoadResult result;
    result.tooDeepAt = FindTooDeep(text);
    if (result.tooDeepAt != kNotTooDeep) {
        result.status = LoadStatus::TooDeep;
        return result;
    }
    g_autoptr(GError) error = nullptr;
    if (!json_parser_load_from_data(parser, text.data(), static_cast<gssize>(text.size()),
                                    &error)) {
        result.status = LoadStatus::Syntax;
        result.message = error->message;
        return result;
    }
    if (json_parser_get_root(parser) == nullptr)
        result.status = LoadStatus::Empty;
    return result;
}

JsonObject* AsObject(JsonNode* node)
{
    return node != nullptr && JSON_NODE_HOLDS_OBJECT(node) ? json_node_get_object(node) : nullptr;
}

JsonArray* AsArray(JsonNode* node)
{
    return node != nullptr && JSON_NODE_HOLDS_ARRAY(node) ? json_node_get_array(node) : nullptr;
}

const char* AsString(JsonNode* node)
{
    return node != nullptr && json_node_get_value_type(node) == G_TYPE_STRING
               ? json_node_get_string(node)
               : nullptr;
}

JsonNode* MemberOf(JsonNode* node, const char* name)
{
    JsonObject* object = AsObject(node);
    return object != nullptr ? json_object_get_member(object, name) : nullptr;
}

std::vector<std::string> MemberNames(JsonObject* object)
{
    std::vector<std::string> names;
    names.reserve(json_object_get_size(object));
    GList* list = json_object_get_members(object);
    for (GList* l = list; l != nullptr; l = l->next)
        names.emplace_back(static_cast<const char*>(l->data));
    g_list_free(list);
    return names;
}

std::vector<std::string> StringElements(JsonNode* array)
{
    std::vector<std::string> strings;
    JsonArray* a = AsArray(array);
    const guint n = a != nullptr ? json_array_get_length(a) : 0;
    for (guint i = 0; i < n; ++i)
        if (const char* s = AsString(json_array_get_element(a, i)))
            strings.emplace_back(s);
    return strings;
}

std::unordered_map<std::string, std::string> ParentIndex(
    JsonNode* root, const std::unordered_set<std::string>* only)
{
    std::unordered_map<std::string, std::string> parents;
    JsonObject* menus = AsObject(MemberOf(root, kMenuTree));
    if (menus == nullptr)
        return parents;
    for (const std::string& menu : MemberNames(menus)) {
        JsonNode* node = json_object_get_member(menus, menu.c_str());
        // The first listing menu wins; later ones leave the entry alone.
        for (std::string& child : StringElements(MemberOf(node, kSubmenuItems)))
            if (only == nullptr || only->count(child) != 0)
                parents.emplace(std::move(child), menu);
    }
    return parents;
}

}  // namespace velkin
