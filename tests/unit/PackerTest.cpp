// The fragment writer's contract that no run shows: an empty list leaves the
// output as it was, a fragment replaces it; and the level texts besides "0",
// "1" and "2" that only look like one.
#include <gtest/gtest.h>

#include <list>

#include "../Rows.h"
#include "JsonPacker.h"

// The case tables are laid out by hand, a row a line.
// clang-format off
namespace {

struct Row : rows::Named { bool group; std::list<std::string> list; const char* out; };

const Row kRows[] = {
    {"empty item list", false, {}, nullptr},
    {"empty group list", true, {}, nullptr},
    {"items with a repeat and an empty one", false, {"a", "", "a"}, R"("submenuitems":["a","","a"])"},
    {"levels that only look like one", true, {"1", "3", "01", " 1", "10"},
     R"("group":[{"indent-level":"1","group-items":["3","01"," 1","10"]}])"},
};

class Packer : public testing::TestWithParam<Row> {};

TEST_P(Packer, FragmentsReplaceTheOutput)
{
    const Row& row = GetParam();
    CJsonPacker* packer = CJsonPacker::GetInstance();
    std::list<std::string> list = row.list;
    std::string text = "previous";
    EXPECT_EQ(row.group ? packer->PrintGroupInfo(list, text)
                        : packer->PrintSubMenuItemInfo(list, text), row.out != nullptr);
    EXPECT_EQ(text, row.out ? row.out : "previous");
    CJsonPacker::ReleaseInstance();
}

INSTANTIATE_TEST_SUITE_P(Rows, Packer, testing::ValuesIn(kRows), rows::NameOf());

}  // namespace
