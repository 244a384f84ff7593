#include <gtest/gtest.h>

#include <string>

#include "../Rows.h"
#include "JsonPathScreen.h"

using namespace velkin;

namespace {

const std::string limit = std::to_string(kMaxVisits);
const std::string pastLimit = std::to_string(kMaxVisits + 1);
const std::string max = std::to_string(kMaxIndex);
const std::string pastMax = std::to_string(kMaxIndex + 1);

// Which expressions json-glib can run safely, and which index a match.
struct Row : rows::Named {
    std::string expression;
    bool safe;
    bool indexes;
};

const Row kRows[] = {
    {"member path safe", "$.menuitems.volume", true, false},
    {"quoted member safe", "$['menuitems']['a.b']", true, false},
    {"unterminated quoted name refused", "$['abc", false, false},
    {"quoted name at the end refused", "$['abc'", false, false},
    {"zero slice step refused", "$.menuitems.x[:4:0]", false, false},
    {"zero step after a start refused", "$.a[1:4:0]", false, false},
    {"negative slice step refused", "$.a[0:4:-1]", false, false},
    {"step read after one skipped byte", "$.a[0:4:+2]", true, true},
    {"step digit skipped like json-glib", "$.a[0:4:2]", false, false},
    {"truncated slice refused", "$.a[:", false, false},
    {"truncated step refused", "$.a[1:2:", false, false},
    {"slice at the visit limit safe", "$.a[0:" + limit + "]", true, true},
    {"slice past the visit limit refused", "$.a[0:" + pastLimit + "]", false, false},
    {"chained slices at the limit safe", "$.a[0:256][0:256]", true, true},
    {"chained slices past the limit refused", "$.a[0:256][0:257]", false, false},
    {"index at the maximum safe", "$.a[" + max + "]", true, true},
    {"index past the maximum refused", "$.a[" + pastMax + "]", false, false},
    {"index set counts its entries", "$.a[0,1,2]", true, true},
    {"second root refused", "$['a']$", false, false},
    {"one descent safe", "$..a", true, false},
    {"second descent refused", "$..a..b", false, false},
    {"slice after a descent bounded", "$..a[0:17]", false, false},
    {"compile error left to json-glib", "menuitems[", true, false},
};

class JsonPathScreen : public testing::TestWithParam<Row> {};

TEST_P(JsonPathScreen, SortsOutWhatJsonGlibCannotRunSafely)
{
    const ExpressionScreen screen = ScreenExpression(GetParam().expression.c_str());
    EXPECT_EQ(screen.safe, GetParam().safe);
    EXPECT_EQ(screen.indexes, GetParam().indexes);
}

INSTANTIATE_TEST_SUITE_P(Rows, JsonPathScreen, testing::ValuesIn(kRows), rows::NameOf());

}  // namespace
