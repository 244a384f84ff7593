// What makes an identifier (a menu or item name) safe for the splitter, and
// how messages show one.
#pragma once

#include <string>
#include <string_view>

namespace velkin {

// Holds a double quote, a backslash or a control character: the splitter
// writes identifiers between double quotes without escaping them.
bool NeedsEscape(std::string_view id);

// Written between double quotes as it is, `id` is a JSON string: it needs no
// escape and is UTF-8 (json-glib 1.6 reads octal escapes into other bytes).
bool WrittenAsJson(std::string_view id);

// json-glib compiles "$.menuitems.<id>" (and the like) into a plain member
// lookup of exactly `id`: not empty, no '.' or '[', no leading '*'.
bool PlainForJsonPath(std::string_view id);

// A plain identifier: one the splitter looks up and writes as it is.
inline bool IsPlainIdentifier(std::string_view id)
{
    return PlainForJsonPath(id) && WrittenAsJson(id);
}

// Appends byte `c` as \xNN.
void AppendHexEscape(std::string& out, unsigned char c);

// An identifier as a message shows it: in single quotes, control characters
// and bytes that are not UTF-8 as \xNN, quotes and backslashes escaped, and
// when long cut after at most 60 bytes, between two characters.
std::string Show(std::string_view id);

// A text on one line: control characters as \xNN.
std::string OneLine(std::string_view text);

}  // namespace velkin
