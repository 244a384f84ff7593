// Reading a profile directory back: the raw scanner that keeps each member's
// exact text, one menu file at a time, helper.json's order, and whole
// directories with stale and broken files.
#include <glib.h>
#include <glib/gstdio.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProfileDirectory.h"
#include "RawJson.h"
#include "Source.h"

namespace {

using velkin::Menu;

// clang-format off
const struct {
    const char* text;
    int members;  // -1: refused
} kScanRows[] = {
    {"{}", 0},
    {" \n{\"a\": 1}\t", 1},
    {"{\"a\":[1,{\"b\":[]}],\"a\":\"x\"}", 2},
    {"{\"n\":-0.5e+3,\"t\":true,\"f\":false,\"z\":null}", 4},
    {"{\"s\":\"\\u00e9\\n\\/\"}", 1},
    {"{'a': 1}", -1},
    {"{\"a\": 1,}", -1},
    {"{\"a\": 01}", -1},
    {"{\"a\": 1}x", -1},
    {"{\"a\": \"\x01\"}", -1},
    {"{\"a\": \"\\q\"}", -1},
    {"{\"a\": \"\\u12\"}", -1},
    {"{\"a\": tru}", -1},
    {"{\"a\": 1} /* c */", -1},
    {"{\"a\": \"\xff\"}", -1},
    {"{\"a\": [1, 2}", -1},
    {"{\"a\": {\"b\" 1}}", -1},
    {"[1]", -1},
    {"", -1},
};
// clang-format on

TEST(RawJson, ScansStrictObjectsOnly)
{
    for (const auto& row : kScanRows) {
        std::vector<velkin::RawMember> members;
        const bool ok = velkin::ScanObject(row.text, members);
        EXPECT_EQ(ok ? static_cast<int>(members.size()) : -1, row.members) << row.text;
    }
}

TEST(RawJson, KeepsExactValueTextsAndRepeatedNames)
{
    std::vector<velkin::RawMember> m;
    ASSERT_TRUE(velkin::ScanObject("{\"a\" : {\"x\":1.0E5, \"x\":2} ,\"a\":\"\\u0041\"}", m));
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].value, "{\"x\":1.0E5, \"x\":2}");
    EXPECT_EQ(m[1].name, "a");
    EXPECT_EQ(m[1].value, "\"\\u0041\"");
}

TEST(RawJson, NestingCostsNoRecursion)
{
    const std::string deep = "{\"a\":" + std::string(200000, '[') + std::string(200000, ']') + "}";
    std::vector<velkin::RawMember> m;
    EXPECT_TRUE(velkin::ScanObject(deep, m));
    EXPECT_FALSE(velkin::ScanObject("{\"a\":" + std::string(200000, '['), m));
}

TEST(RawJson, DecodesEscapes)
{
    EXPECT_EQ(velkin::DecodeString("a\\\"b\\\\c\\/d\\n\\t\\u00e9\\ud83d\\ude00\\ud800x"),
              "a\"b\\c/d\n\t\xc3\xa9\xf0\x9f\x98\x80\xef\xbf\xbdx");
}

Menu Read(const std::string& id, const std::string& text, bool ok = true)
{
    Menu menu;
    std::string reason;
    EXPECT_EQ(velkin::ReadMenuFile(id, text, menu, reason), ok) << reason;
    return menu;
}

TEST(MenuFile, ExactItemTextsParentAndNode)
{
    const Menu m =
        Read("sound",
             "{\"menuitems\": {\"\\u0076\":{\"display-name\":\"V\",\"display-name\":\"W\"},"
             "\"w\":{\"a\":1.0e5}},\"menutree\": {\"sound\":{\"submenuitems\":[\"v\","
             "\"w\",\"x\"],\"group\":[{\"indent-level\":\"1\",\"group-items\":[\"v\"]}],"
             "\"parentitem\":\"main\"}}}");
    ASSERT_EQ(m.items.size(), 2u);
    EXPECT_EQ(m.items[0].definition, "{\"display-name\":\"V\",\"display-name\":\"W\"}");
    EXPECT_EQ(m.items[1].definition, "{\"a\":1.0e5}");
    EXPECT_EQ(m.parent, "main");
    EXPECT_EQ(m.node,
              "{\"submenuitems\":[\"v\",\"w\",\"x\"],\"group\":[{\"indent-level\":\"1\","
              "\"group-items\":[\"v\"]}]");
    ASSERT_EQ(m.entries.size(), 3u);
    EXPECT_EQ(m.entries[0].item, 0u);  // "\u0076" names "v", as any JSON reader reads it
    EXPECT_EQ(m.entries[1].item, 1u);
    EXPECT_EQ(m.entries[2].item, velkin::kNoItem);
    ASSERT_EQ(m.groups.size(), 1u);
    EXPECT_EQ(m.groups[0].level, "1");
}

TEST(MenuFile, ParentLinkIsTheLastMemberOnly)
{
    const Menu alone =
        Read("m", "{\"menuitems\": {},\"menutree\": {\"m\":{\"parentitem\":\"p\"}}}");
    EXPECT_EQ(alone.parent, "p");
    EXPECT_EQ(alone.node, "{");
    EXPECT_FALSE(alone.nodeHasMember);
    const Menu inside = Read(
        "m",
        "{\"menuitems\": {},\"menutree\": {\"m\":{\"parentitem\":\"p\",\"submenuitems\":[]}}}");
    EXPECT_FALSE(inside.parent);
    const Menu number = Read("m", "{\"menuitems\": {},\"menutree\": {\"m\":{\"parentitem\":1}}}");
    EXPECT_FALSE(number.parent);
}

TEST(MenuFile, AmendedAndPlaceholderReadOffTheText)
{
    const Menu m =
        Read("m",
             "{\"menuitems\": {\"a\":{\"x\":1,\"modify\":\"true\"},\"p\":{\"display-name\":"
             "\"Json Syntax Error\",\"style\":\"title\"},\"q\":{\"modify\":\"true\"}},"
             "\"menutree\": {\"m\":{\"submenuitems\":[\"a\",\"p\",\"q\"]}}}");
    ASSERT_EQ(m.items.size(), 3u);
    EXPECT_TRUE(m.items[0].amended);
    EXPECT_FALSE(m.items[0].placeholder);
    EXPECT_TRUE(m.items[1].placeholder);
    EXPECT_FALSE(m.items[1].amended);
    EXPECT_FALSE(m.items[2].amended);  // the marker follows the amendment's members
}

TEST(MenuFile, RefusesWhatTheSplitterDoesNotWrite)
{
    const char* texts[] = {
        "{\"menuitems\": {\"quo\"te\":{}},\"menutree\": {\"m\":{}}}",
        "{\"menuitems\": {},\"menutree\": {\"other\":{}}}",
        "{\"menuitems\": {},\"menutree\": {\"m\":{},\"n\":{}}}",
        "{\"menuitems\": {},\"menutree\": {\"m\":[]}}",
        "{\"providers\":[]}",
        "{\"menutree\": {\"m\":{}},\"menuitems\": {}}",
    };
    for (const char* text : texts)
        Read("m", text, false);
}

TEST(HelperFile, MenusInTheOrderFirstNamed)
{
    EXPECT_EQ(
        velkin::HelperOrder("{\"a\":\"m2\",\"b\":\"m1\",\"a\":\"m1\",\"c\":\"m2\",\"d\":\"m3\"}"),
        (std::vector<std::string>{"m2", "m1", "m3"}));
    EXPECT_TRUE(velkin::HelperOrder("{\"a\":\"m\"").empty());
}

// A scratch profile directory "<tmp>/tv", removed with its files.
class Directory : public testing::Test {
protected:
    void SetUp() override
    {
        m_root = g_dir_make_tmp("velkin-tree-XXXXXX", nullptr);
        ASSERT_NE(m_root, nullptr);
        m_dir = std::string(m_root) + "/tv";
        ASSERT_EQ(g_mkdir(m_dir.c_str(), 0700), 0);
    }
    void TearDown() override
    {
        for (const std::string& f : m_files)
            g_remove((m_dir + "/" + f).c_str());
        g_rmdir(m_dir.c_str());
        g_rmdir(m_root);
        g_free(m_root);
    }
    void Write(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(g_file_set_contents((m_dir + "/" + name).c_str(), text.data(),
                                        static_cast<gssize>(text.size()), nullptr));
        m_files.push_back(name);
    }
    static std::string MenuText(const std::string& id, const std::string& items,
                                const std::string& node)
    {
        return "{\"menuitems\": {" + items + "},\"menutree\": {\"" + id + "\":" + node + "}}";
    }

    gchar* m_root = nullptr;
    std::string m_dir;
    std::vector<std::string> m_files;
};

TEST_F(Directory, OrdersByHelperThenNameAndKeepsStaleFiles)
{
    Write("main.json", MenuText("main", "\"sound\":{}", "{\"submenuitems\":[\"sound\"]}"));
    Write("sound.json",
          MenuText("sound", "\"v\":{}", "{\"submenuitems\":[\"v\"],\"parentitem\":\"main\"}"));
    Write("zeta.json", MenuText("zeta", "", "{}"));
    Write("orphan.json", MenuText("orphan", "", "{\"parentitem\":\"gone\"}"));
    Write("broken.json", "{\"menuitems\": {");
    Write("notes.txt", "not a menu");
    Write("helper.json", "{\"v\":\"sound\",\"sound\":\"main\"}");
    Write("providers.json", "{\"providers\":[\"a\"]}");
    velkin::DirectoryRead read;
    std::string error;
    ASSERT_TRUE(velkin::ReadProfileDirectory(m_dir, read, error)) << error;
    std::vector<std::string> order;
    for (const Menu& m : read.model.menus)
        order.push_back(m.id);
    EXPECT_EQ(order, (std::vector<std::string>{"sound", "main", "orphan", "zeta"}));
    EXPECT_EQ(read.leftOut, std::vector<std::string>{"broken.json: not JSON"});
    ASSERT_NE(read.model.profile, nullptr);
    EXPECT_STREQ(read.model.profile->dir, "tv");
    EXPECT_EQ(read.model.providers, "[\"a\"]");
    EXPECT_EQ(read.model.unreachable.size(), 1u);  // orphan names a parent no file lists it in
    EXPECT_TRUE(read.model.menus[1].entries[0].opensMenu);
}

TEST_F(Directory, WithoutMenuFilesIsAnError)
{
    velkin::DirectoryRead read;
    std::string error;
    EXPECT_FALSE(velkin::ReadProfileDirectory(m_dir, read, error));
    EXPECT_NE(error.find("no menu file"), std::string::npos) << error;
    Write("helper.json", "{}");
    Write("bad.json", "[]");
    EXPECT_FALSE(velkin::ReadProfileDirectory(m_dir, read, error));
    EXPECT_NE(error.find("can be read"), std::string::npos) << error;
    EXPECT_FALSE(velkin::ReadProfileDirectory(m_dir + "/missing", read, error));
}

}  // namespace

// What the model says a menu lists is what a reader of its written node finds,
// whatever the node's strings needed in the file: escapes, U+001F, and the
// bytes of an octal escape (which json-glib 1.6 reads and the file holds as
// \u0080).
TEST(ModelReadBack, EntriesAreWhatTheWrittenNodeHolds)
{
    const char* definitions[] = {
        R"({"menutree": {"m": {"submenuitems": ["q\"t", "b\\s", "\u001f", "\u00e9"]}}})",
        R"({"menutree": {"m": {"submenuitems": ["a\200", "b"], "group": [{"group-items": ["\200"]}]}}})",
    };
    for (const char* definition : definitions) {
        velkin::EffectiveMenu model;
        std::string error;
        if (!tree::LoadDefinition(definition, "menu-tv.json", model, error))
            continue;  // json-glib 1.10 refuses octal escapes
        for (const Menu& menu : model.menus) {
            const std::string written = menu.node + "}";
            g_autoptr(JsonParser) parser = json_parser_new();
            ASSERT_TRUE(json_parser_load_from_data(parser, written.data(), -1, nullptr)) << written;
            const velkin::NodeView read = velkin::ReadWrittenNode(json_parser_get_root(parser));
            std::vector<std::string> listed;
            for (const velkin::Entry& entry : menu.entries)
                listed.push_back(entry.id);
            EXPECT_EQ(listed, read.entries) << written;
            ASSERT_EQ(menu.groups.size(), read.groups.size()) << written;
            for (size_t g = 0; g < read.groups.size(); ++g)
                EXPECT_EQ(menu.groups[g].items, read.groups[g].items) << written;
        }
    }
}
