// What the JSON, DOT and HTML views make of identifiers and texts that need
// escaping: every output stays valid and shows the text literally.
#include <json-glib/json-glib.h>

#include <string>

#include "DotView.h"
#include "HtmlView.h"
#include "JsonView.h"
#include "JsonWriter.h"
#include "TreeTestSupport.h"

namespace {

// One menu "m" with one entry of identifier `id` whose definition is `definition`.
velkin::EffectiveMenu OneEntry(const std::string& id, const std::string& definition)
{
    velkin::EffectiveMenu model;
    velkin::Menu menu;
    menu.id = "m";
    menu.items.push_back(
        velkin::ItemEntry{id, velkin::Origin::Listed, 0, definition, false, false});
    menu.entries.push_back(velkin::Entry{id, velkin::Origin::Listed, velkin::kNoItem, false});
    menu.LinkDefinitions();
    model.menus.push_back(menu);
    model.Link();
    return model;
}

// The "id" and "definition" of the entry, as json-glib reads the JSON view.
// (json-glib also takes raw control characters in strings: none may be there.)
std::pair<std::string, std::string> ReadBack(const std::string& json)
{
    EXPECT_EQ(json.find_first_of(std::string("\0\x01\x08\t\x0b\x0c\r\x1e\x1f", 9)),
              std::string::npos);
    g_autoptr(JsonParser) parser = json_parser_new();
    EXPECT_TRUE(json_parser_load_from_data(parser, json.data(), -1, nullptr)) << json;
    EXPECT_TRUE(g_utf8_validate(json.data(), -1, nullptr));
    g_autoptr(JsonPath) path = json_path_new();
    json_path_compile(path, "$.menus[0].entries[0]", nullptr);
    g_autoptr(JsonNode) found = json_path_match(path, json_parser_get_root(parser));
    JsonObject* entry = json_array_get_object_element(json_node_get_array(found), 0);
    return {json_object_get_string_member(entry, "id"),
            json_object_get_string_member(entry, "definition")};
}

TEST(JsonView, EscapesEveryTextItHolds)
{
    const std::string odd = "q\"b\\c\x01\x1f\n\t/\xc3\xa9";
    const auto [id, definition] =
        ReadBack(tree::RenderJson(OneEntry(odd, "{\"x\":\"" + odd + "\"}")));
    EXPECT_EQ(id, odd);
    EXPECT_EQ(definition, "{\"x\":\"" + odd + "\"}");
}

TEST(JsonView, BytesThatAreNotUtf8BecomeReplacementCharacters)
{
    const auto [id, definition] =
        ReadBack(tree::RenderJson(OneEntry("a\xff\xc3", "{\xed\xa0\x80}")));
    EXPECT_EQ(id, "a\xef\xbf\xbd\xef\xbf\xbd");
    EXPECT_EQ(definition, "{\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd}");
}

TEST(JsonView, Layout)
{
    const std::string json = tree::RenderJson(ModelOf(
        R"({"menutree": {"m": {"submenuitems": ["a"], "group": [{"group-items": ["a"]}]}},
            "menuitems": {"a": {"k": 1}}})"));
    EXPECT_EQ(json,
              "{\n"
              "  \"profile\": \"tv\",\n"
              "  \"menus\": [\n"
              "    {\n"
              "      \"id\": \"m\",\n"
              "      \"parent\": null,\n"
              "      \"entries\": [\n"
              "        {\"id\": \"a\", \"definition\": \"{\\\"k\\\":1}\", \"menu\": false, "
              "\"added\": false, \"amended\": false, \"placeholder\": false}\n"
              "      ],\n"
              "      \"groups\": [\n"
              "        {\"indent-level\": null, \"items\": [\"a\"]}\n"
              "      ]\n"
              "    }\n"
              "  ],\n"
              "  \"top\": [\"m\"],\n"
              "  \"unreachable\": []\n"
              "}\n");
}

TEST(HtmlView, EscapesMarkupInEveryText)
{
    const std::string page =
        tree::RenderHtml(OneEntry("<b>&\"'", "{\"display-name\":\"</summary><script>\"}"), "<t>");
    EXPECT_NE(page.find("data-id=\"&lt;b&gt;&amp;&quot;&#39;\""), std::string::npos);
    EXPECT_NE(page.find("&lt;/summary&gt;&lt;script&gt;"), std::string::npos);
    EXPECT_NE(page.find("<title>velkin-tree: &lt;t&gt;</title>"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find("</summary><script>"), std::string::npos);
}

TEST(DotView, QuotesAndBackslashesShownLiterally)
{
    const std::string dot = tree::RenderDot(OneEntry("a\"b\\n", "{\"display-name\":\"x\\\"y\"}"));
    EXPECT_NE(dot.find("[label=\"a\\\"b\\\\n\\nx\\\"y\"]"), std::string::npos) << dot;
}

}  // namespace
