#include <glib/gstdio.h>
#include <gtest/gtest.h>

#include <list>

#include "JsonTool.h"
#include "LogCapture.h"
#include "OutputFiles.h"

// The case tables are laid out by hand, a row a line.
// clang-format off
namespace {

using List = std::list<std::string>;
using Lines = std::vector<std::string>;

TEST(ToolTest, ProviderFilePathFollowsTheProfileTable)
{
    const struct { const char* path; const char* dir; } cases[] = {
        {"/opt/defs/menu-tv.json", "tv"}, {"menu-non-smart-monitor.json", "nonsmartmonitor"},
        {"menu-htv.json", "htv"}, {"old-menu-lfd.json", "lfd"}, {"menu-tv.json.orig", "tv"},
        {"/d/menu-lfd.json/menu-tv.json", "tv"}, {"/d/menu-lfd.json/menu-htv.json", "htv"},
        {"/d/menu-htv.json/menu-non-smart-monitor.json", "nonsmartmonitor"},
        {"Menu-TV.json", nullptr}, {"menu-tv.JSON", nullptr}, {"menu.json", nullptr},
    };
    JsonTool tool;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CapturedLogs().clear();
        const std::string path =
            c.dir ? std::string(kResourceRoot) + "/" + c.dir + "/providers.json" : "";
        EXPECT_EQ(tool.GetJsonProviderFilePath(c.path), path);
        const std::string log = "JsonTool.cpp: GetJsonProviderFilePath(191) > path:";
        EXPECT_EQ(LoggedLines(), Lines{log + c.path + " , json_provider_file:" + path + "\n"});
    }
}

// A driver whose output goes under a scratch directory.
struct ScratchTool : JsonTool {
    explicit ScratchTool(const char* root) { m_ResourceRoot = root; }
};

TEST(ToolTest, ModifyGroupItemsListDropsDeletedEntries)
{
    // Only a run fills the delete list: run a definition with "menudelete" and no
    // menu tree. The profile directory does not exist, so nothing is written.
    gchar* dir = g_dir_make_tmp("velkin-unit-XXXXXX", nullptr);
    ASSERT_NE(dir, nullptr);
    const std::string file = std::string(dir) + "/menu-tv.json";
    ASSERT_TRUE(g_file_set_contents(file.c_str(), R"({"menudelete":{"submenuitems":["b"]}})", -1,
                                    nullptr));
    ScratchTool tool(dir);
    tool.SeparateJsonFile(file.c_str());

    const std::string pre = "JsonTool.cpp: m_ModifyGroupItemsList(";
    List groups = {"1", "a", "b", "0", "c"}, result = {"kept"}, near = {"B", "bb", "", "b2"}, none;
    CapturedLogs().clear();
    tool.m_ModifyGroupItemsList(groups, result);
    EXPECT_EQ(result, (List{"kept", "1", "a", "0", "c"}));
    EXPECT_EQ(LoggedLines(), (Lines{pre + "540) > add [1]\n", pre + "540) > add [a]\n",
                                    "JsonTool.cpp: m_FlagCheckItemInList(520) > found [b]\n",
                                    pre + "545) > remove[b]\n", pre + "540) > add [0]\n",
                                    pre + "540) > add [c]\n"}));
    result.clear();
    tool.m_ModifyGroupItemsList(near, result);
    EXPECT_EQ(result, near);
    CapturedLogs().clear();
    tool.m_ModifyGroupItemsList(none, result);
    EXPECT_EQ(result, near);
    EXPECT_EQ(LoggedLines(), Lines{pre + "531) > Empty case\n"});

    EXPECT_EQ(g_remove(file.c_str()), 0);
    EXPECT_EQ(g_rmdir(dir), 0);  // fails if the run wrote anything into it
    g_free(dir);
}

}  // namespace
