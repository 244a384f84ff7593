// Runs one JSONPath expression on a document and serialises the match array.
#pragma once

#include <json-glib/json-glib.h>

// Compact text of the array of every node that `expression` matches from `root`
// ("[]" when nothing matches or the expression cannot be compiled safely).
// The caller releases it with g_free.
char* JsonPathMatchText(JsonNode* root, JsonGenerator* generator, const char* expression);

// Owns a query result text and frees it with g_free when it goes out of scope.
struct QueryText {
    char* text;
    explicit QueryText(char* t) : text(t) {}
    ~QueryText() { g_free(text); }
    QueryText(const QueryText&) = delete;
    QueryText& operator=(const QueryText&) = delete;
};
