// Loading a definition's text, and reading the json-glib tree it gives.
#pragma once

#include <json-glib/json-glib.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velkin {

enum class LoadStatus {
    Loaded,
    TooDeep,  // nested beyond kMaxNesting: refused before json-glib parses it
    Syntax,   // json-glib refuses the text
    Empty,    // json-glib parses it but finds no value (an empty or blank text)
};

struct LoadResult {
    LoadStatus status = LoadStatus::Loaded;
    size_t tooDeepAt = 0;  // offset of the bracket that opens one level too many
    std::string message;   // json-glib's message on a syntax error
};

// Parses `text` into `parser` as the splitter does: a definition nested too
// deep is refused before parsing, and one without a value counts as unread.
LoadResult ParseDefinition(JsonParser* parser, std::string_view text);

// Typed views of a node; null when it holds something else (or is null).
JsonObject* AsObject(JsonNode* node);
JsonArray* AsArray(JsonNode* node);
const char* AsString(JsonNode* node);
// Member `name` of an object node; null when absent or not an object.
JsonNode* MemberOf(JsonNode* node, const char* name);
// The member names of an object, in json-glib's order: a name given twice
// stands where it first stood.
std::vector<std::string> MemberNames(JsonObject* object);
// The string elements of an array node, in order; others are passed over.
std::vector<std::string> StringElements(JsonNode* array);

// The parent of every menu some node lists in its "submenuitems": the first
// listing node in "menutree" order (deleted menus and the menu itself count).
// With `only`, the entries named there alone (a large definition lists many
// items that are not menus).
std::unordered_map<std::string, std::string> ParentIndex(
    JsonNode* root, const std::unordered_set<std::string>* only = nullptr);

}  // namespace velkin
