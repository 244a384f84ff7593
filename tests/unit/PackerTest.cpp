#include <gtest/gtest.h>

#include <list>

#include "JsonPacker.h"
#include "LogCapture.h"

// The case tables are laid out by hand, a row a line.
// clang-format off
namespace {

using List = std::list<std::string>;
using Lines = std::vector<std::string>;

TEST(PackerTest, FragmentsReplaceTheOutput)
{
    const char* g1ab0c = R"({"indent-level":"1","group-items":["a","b"]},)"
                         R"({"indent-level":"0","group-items":["c"]})";
    const struct { bool group; List list; std::string out; } cases[] = {
        {false, {"a", "b", "c"}, R"("submenuitems":["a","b","c"])"},
        {false, {"a", "", "a"}, R"("submenuitems":["a","","a"])"},
        {false, {}, ""},
        {true, {"1", "a", "b", "0", "c"}, std::string(R"("group":[)") + g1ab0c + "]"},
        {true, {"2", "a"}, R"("group":[{"indent-level":"2","group-items":["a"]}])"},
        {true, {"1"}, R"("group":[{"indent-level":"1","group-items":[]}])"},
        {true, {"1", "0", "c"}, R"("group":[{"indent-level":"1","group-items":[]},)"
                                R"({"indent-level":"0","group-items":["c"]}])"},
        {true, {"a", "1", "b"}, R"("group":[{"indent-level":"","group-items":["a"]},)"
                                R"({"indent-level":"1","group-items":["b"]}])"},
        {true, {"1", "3"}, R"("group":[{"indent-level":"1","group-items":["3"]}])"},
        {true, {}, ""},
    };
    CJsonPacker* packer = CJsonPacker::GetInstance();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.list));
        List list = c.list;
        std::string text = "previous";
        EXPECT_EQ(c.group ? packer->PrintGroupInfo(list, text)
                          : packer->PrintSubMenuItemInfo(list, text),
                  !c.out.empty());
        EXPECT_EQ(text, c.out.empty() ? "previous" : c.out);
    }
    CapturedLogs().clear();
    List empty, group = {"2", "a"};
    std::string text;
    packer->PrintSubMenuItemInfo(empty, text);
    packer->PrintGroupInfo(empty, text);
    packer->PrintGroupInfo(group, text);
    EXPECT_EQ(LoggedLines(),
              (Lines{"JsonPacker.cpp: PrintSubMenuItemInfo(48) > PrintSubMenuItemInfo\n",
                     "JsonPacker.cpp: PrintGroupInfo(81) > Empty case\n",
                     "JsonPacker.cpp: PrintGroupInfo(97) > Next[a] Current[2]\n",
                     "JsonPacker.cpp: PrintGroupInfo(97) > Next[] Current[a]\n",
                     "JsonPacker.cpp: PrintGroupInfo(128) > INFO :" + text + "\n"}));
    CJsonPacker::ReleaseInstance();
}

}  // namespace
