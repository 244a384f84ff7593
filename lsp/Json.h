// Small helpers over json-glib for the messages the server reads and writes:
// typed reads that answer "absent" for anything of another type, and builders
// that hand the nodes they make to their container.
#pragma once

#include <json-glib/json-glib.h>

#include <optional>
#include <string>
#include <string_view>

namespace lsp {

// Reads; null or nothing when the member is absent or of another type.
JsonObject* ObjectMember(JsonObject* object, const char* name);
JsonArray* ArrayMember(JsonObject* object, const char* name);
std::optional<std::string> StringMember(JsonObject* object, const char* name);
std::optional<bool> BoolMember(JsonObject* object, const char* name);
std::optional<gint64> IntMember(JsonObject* object, const char* name);
// A path of object members, e.g. {"textDocument", "uri"}.
JsonObject* ObjectPath(JsonObject* object, std::initializer_list<const char*> names);

// Builders. Each Set takes ownership of the node or object given.
JsonNode* ObjectNode(JsonObject* object);  // takes `object`
JsonNode* ArrayNode(JsonArray* array);     // takes `array`
JsonNode* StringNode(std::string_view text);
JsonNode* IntNode(gint64 value);
void Set(JsonObject* object, const char* name, JsonNode* value);
void Set(JsonObject* object, const char* name, std::string_view text);
void SetInt(JsonObject* object, const char* name, gint64 value);
void SetBool(JsonObject* object, const char* name, bool value);

// The node written on one line.
std::string Serialise(JsonNode* node);

}  // namespace lsp
