// What the views make of texts no definition in tests/tree/cases can hold on
// every json-glib: bytes that are not UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "JsonView.h"
#include "TextView.h"

namespace {

// A JSON text is UTF-8: each byte that is not becomes U+FFFD, in identifiers
// (which json-glib 1.6 reads from octal escapes) and in definitions alike.
TEST(Views, BytesThatAreNotUtf8BecomeReplacementCharacters)
{
    velkin::EffectiveMenu model;
    velkin::Menu menu;
    menu.id = "m";
    menu.items.push_back(
        velkin::ItemEntry{"a\xff\xc3", velkin::Origin::Listed, 0, "{\xed\xa0\x80}", false, false});
    menu.entries.push_back(
        velkin::Entry{"a\xff\xc3", velkin::Origin::Listed, velkin::kNoItem, false});
    menu.LinkDefinitions();
    model.menus.push_back(menu);
    model.Link();
    const std::string json = tree::RenderJson(model);
    const std::string fffd = "\xef\xbf\xbd";
    EXPECT_NE(json.find("{\"id\": \"a" + fffd + fffd + "\", \"definition\": \"{" + fffd + fffd +
                        fffd + "}\""),
              std::string::npos)
        << json;
    const std::string text = tree::RenderText(model, false);
    EXPECT_NE(text.find("m\n\u2514\u2500\u2500 a" + fffd + fffd + "\n"), std::string::npos) << text;
}

}  // namespace
