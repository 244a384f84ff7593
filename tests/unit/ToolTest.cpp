// The profile table's order: the first key of the table found anywhere in the
// path wins, whatever its place in the path.
#include <gtest/gtest.h>

#include "JsonTool.h"
#include "OutputFiles.h"

// The case tables are laid out by hand, a row a line.
// clang-format off
namespace {

TEST(ToolTest, ProviderFilePathFollowsTheProfileTable)
{
    const struct { const char* path; const char* dir; } rows[] = {
        {"/opt/defs/menu-tv.json", "tv"}, {"menu-non-smart-monitor.json", "nonsmartmonitor"},
        {"menu-htv.json", "htv"}, {"old-menu-lfd.json", "lfd"}, {"menu-tv.json.orig", "tv"},
        {"/d/menu-non-smart-monitor.json/menu-tv.json", "tv"},
        {"/d/menu-htv.json/menu-non-smart-monitor.json", "nonsmartmonitor"},
        {"/d/menu-lfd.json/menu-htv.json", "htv"},
        {"Menu-TV.json", nullptr}, {"menu-tv.JSON", nullptr}, {"menu.json", nullptr},
    };
    JsonTool tool;
    for (const auto& row : rows)
        EXPECT_EQ(tool.GetJsonProviderFilePath(row.path),
                  row.dir ? std::string(kResourceRoot) + "/" + row.dir + "/providers.json" : "")
            << row.path;
}

}  // namespace
