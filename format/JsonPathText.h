// Runs one JSONPath expression on a document and serialises the match array.
#pragma once

#include <json-glib/json-glib.h>

namespace velkin {

// Compact text of the array of every node that `expression` matches from `root`
// ("[]" when nothing matches or the expression cannot be compiled safely).
// The caller releases it with g_free.
char* JsonPathMatchText(JsonNode* root, JsonGenerator* generator, const char* expression);

// json-glib 1.6's generator leaves U+001F unescaped inside strings, copies the
// bytes of octal escapes such as "\200" (which its scanner accepts) even when
// they are not UTF-8, and writes a double whose shortest form has an exponent
// or is infinite (from a literal such as 1e999) with ".0" appended: 9e+19.0,
// 1e-08.0, inf.0. None of that is JSON. Takes `text` (g_free'd) and returns it
// with those spellings rewritten as \u001f, \u0080, 9e+19, 1e-08 and 1e999;
// every other byte is kept.
char* RepairSerialisation(char* text);

// Owns a query result text and frees it with g_free when it goes out of scope.
struct QueryText {
    char* text;
    explicit QueryText(char* t) : text(t) {}
    ~QueryText() { g_free(text); }
    QueryText(const QueryText&) = delete;
    QueryText& operator=(const QueryText&) = delete;
};

}  // namespace velkin
