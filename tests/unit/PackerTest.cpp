// The fragment writer's contract that no run shows: an empty list leaves the
// output as it was, a fragment replaces it; and the level texts besides "0",
// "1" and "2" that only look like one.
#include <gtest/gtest.h>

#include <list>

#include "JsonPacker.h"

// The case tables are laid out by hand, a row a line.
// clang-format off
namespace {

TEST(PackerTest, FragmentsReplaceTheOutput)
{
    const struct { bool group; std::list<std::string> list; const char* out; } rows[] = {
        {false, {}, nullptr},
        {true, {}, nullptr},
        {false, {"a", "", "a"}, R"("submenuitems":["a","","a"])"},
        {true, {"1", "3", "01", " 1", "10"},
         R"("group":[{"indent-level":"1","group-items":["3","01"," 1","10"]}])"},
    };
    CJsonPacker* packer = CJsonPacker::GetInstance();
    for (const auto& row : rows) {
        std::list<std::string> list = row.list;
        std::string text = "previous";
        EXPECT_EQ(row.group ? packer->PrintGroupInfo(list, text)
                            : packer->PrintSubMenuItemInfo(list, text), row.out != nullptr);
        EXPECT_EQ(text, row.out ? row.out : "previous");
    }
    CJsonPacker::ReleaseInstance();
}

}  // namespace
