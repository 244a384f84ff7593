// The plain-identifier rule against json-glib itself.
#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <cctype>
#include <string>

#include "Identifiers.h"
#include "JsonPathText.h"

using namespace velkin;

namespace {

// Does the splitter's own query "$.menuitems.<id>" find exactly the member
// named `id` of a document that also holds decoys?
bool LookupFindsExactly(const std::string& id)
{
    g_autoptr(JsonBuilder) b = json_builder_new();
    json_builder_begin_object(b);
    json_builder_set_member_name(b, "menuitems");
    json_builder_begin_object(b);
    json_builder_set_member_name(b, "decoy");
    json_builder_begin_object(b);
    json_builder_set_member_name(b, "inner");
    json_builder_add_int_value(b, 7);
    json_builder_end_object(b);
    json_builder_set_member_name(b, id.c_str());
    json_builder_add_int_value(b, 12345);
    json_builder_end_object(b);
    json_builder_end_object(b);
    JsonNode* root = json_builder_get_root(b);
    g_autoptr(JsonGenerator) generator = json_generator_new();
    const std::string query = "$.menuitems." + id;
    QueryText result(JsonPathMatchText(root, generator, query.c_str()));
    json_node_unref(root);
    return std::string(result.text) == "[12345]";
}

const char* const kIds[] = {"volume", "ok-1", "star*", "$dollar", "sp ace", "a]", "a'", "'a'",
                            "a:b", "?", "@", "a,b", "(x)", "1", "-1", "caf\xc3\xa9", "a/b",
                            "a\\b", "a\"b", "", "*", "*x", ".", "a.b", "..", "a..b", "[",
                            "x[0]", "decoy.inner", "decoy[0]", "a[", "]a"};

class Identifiers : public testing::TestWithParam<const char*> {};

TEST_P(Identifiers, PlainForJsonPathAgreesWithJsonGlib)
{
    EXPECT_EQ(PlainForJsonPath(GetParam()), LookupFindsExactly(GetParam()));
}

// A row named by its index and the identifier's letters and digits.
INSTANTIATE_TEST_SUITE_P(Rows, Identifiers, testing::ValuesIn(kIds),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = "id" + std::to_string(info.index) + "_";
                             for (const char* c = info.param; *c != '\0'; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

}  // namespace
