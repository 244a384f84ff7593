#include "Json.h"

namespace lsp {

namespace {

JsonNode* Member(JsonObject* object, const char* name)
{
    return object != nullptr ? json_object_get_member(object, name) : nullptr;
}

}  // namespace

JsonObject* ObjectMember(JsonObject* object, const char* name)
{
    JsonNode* node = Member(object, name);
    return node != nullptr && JSON_NODE_HOLDS_OBJECT(node) ? json_node_get_object(node) : nullptr;
}

JsonArray* ArrayMember(JsonObject* object, const char* name)
{
    JsonNode* node = Member(object, name);
    return node != nullptr && JSON_NODE_HOLDS_ARRAY(node) ? json_node_get_array(node) : nullptr;
}

std::optional<std::string> StringMember(JsonObject* object, const char* name)
{
    JsonNode* node = Member(object, name);
    if (node == nullptr || json_node_get_value_type(node) != G_TYPE_STRING)
        return std::nullopt;
    return std::string(json_node_get_string(node));
}

std::optional<bool> BoolMember(JsonObject* object, const char* name)
{
    JsonNode* node = Member(object, name);
    if (node == nullptr || json_node_get_value_type(node) != G_TYPE_BOOLEAN)
        return std::nullopt;
    return json_node_get_boolean(node) != FALSE;
}

std::optional<gint64> IntMember(JsonObject* object, const char* name)
{
    JsonNode* node = Member(object, name);
    if (node == nullptr || json_node_get_value_type(node) != G_TYPE_INT64)
        return std::nullopt;
    return json_node_get_int(node);
}

JsonObject* ObjectPath(JsonObject* object, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        object = ObjectMember(object, name);
    return object;
}

JsonNode* ObjectNode(JsonObject* object)
{
    JsonNode* node = json_node_alloc();
    json_node_init_object(node, object);
    json_object_unref(object);
    return node;
}

JsonNode* ArrayNode(JsonArray* array)
{
    JsonNode* node = json_node_alloc();
    json_node_init_array(node, array);
    json_array_unref(array);
    return node;
}

JsonNode* StringNode(std::string_view text)
{
    const std::string copy(text);
    return json_node_init_string(json_node_alloc(), copy.c_str());
}

JsonNode* IntNode(gint64 value)
{
    return json_node_init_int(json_node_alloc(), value);
}

void Set(JsonObject* object, const char* name, JsonNode* value)
{
    json_object_set_member(object, name, value);
}

void Set(JsonObject* object, const char* name, std::string_view text)
{
    json_object_set_member(object, name, StringNode(text));
}

void SetInt(JsonObject* object, const char* name, gint64 value)
{
    json_object_set_int_member(object, name, value);
}

void SetBool(JsonObject* object, const char* name, bool value)
{
    json_object_set_boolean_member(object, name, value);
}

std::string Serialise(JsonNode* node)
{
    g_autoptr(JsonGenerator) generator = json_generator_new();
    json_generator_set_root(generator, node);
    g_autofree gchar* text = json_generator_to_data(generator, nullptr);
    return text;
}

}  // namespace lsp
