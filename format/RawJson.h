// The exact bytes of a JSON object's members, as a file holds them: what a
// re-serialisation would change (repeated names, number spellings, member
// order) stays as written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "JsonLexer.h"

namespace velkin {

// A member of an object as the text holds it.
struct RawMember {
    std::string_view name;   // between the name's quotes, escapes as written
    std::string_view value;  // the value's text, exactly as written
};

// The members of the one object `text` holds (blanks around it allowed), in
// order, repeated names kept. False unless `text` is strict JSON: UTF-8,
// double-quoted strings with valid escapes and no raw control character, no
// comments, no trailing comma, nothing after the object. Any depth is read,
// without recursion.
bool ScanObject(std::string_view text, std::vector<RawMember>& members);

// True when `text` holds one strict JSON value, blanks around it allowed,
// nested to any depth.
bool IsJsonValue(std::string_view text);

// The decoded content of a string value text ("..."); false for other values.
bool StringValue(std::string_view value, std::string& out);

}  // namespace velkin
