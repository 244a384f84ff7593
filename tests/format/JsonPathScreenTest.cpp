#include <gtest/gtest.h>

#include <string>

#include "JsonPathScreen.h"

using namespace velkin;

namespace {

struct ScreenRow {
    const char* name;
    std::string expression;
    bool safe;
    bool indexes;
};

void PrintTo(const ScreenRow& row, std::ostream* os)
{
    *os << row.name;
}

class JsonPathScreen : public ::testing::TestWithParam<ScreenRow> {};

TEST_P(JsonPathScreen, SortsOutWhatJsonGlibCannotRunSafely)
{
    const ExpressionScreen screen = ScreenExpression(GetParam().expression.c_str());
    EXPECT_EQ(screen.safe, GetParam().safe);
    EXPECT_EQ(screen.indexes, GetParam().indexes);
}

const std::string kLimit = std::to_string(kMaxVisits);
const std::string kPastLimit = std::to_string(kMaxVisits + 1);
const std::string kMax = std::to_string(kMaxIndex);
const std::string kPastMax = std::to_string(kMaxIndex + 1);

INSTANTIATE_TEST_SUITE_P(
    Rows, JsonPathScreen,
    ::testing::Values(
        ScreenRow{"member_path_safe", "$.menuitems.volume", true, false},
        ScreenRow{"quoted_member_safe", "$['menuitems']['a.b']", true, false},
        ScreenRow{"unterminated_quoted_name_refused", "$['abc", false, false},
        ScreenRow{"quoted_name_at_the_end_refused", "$['abc'", false, false},
        ScreenRow{"zero_slice_step_refused", "$.menuitems.x[:4:0]", false, false},
        ScreenRow{"zero_step_after_a_start_refused", "$.a[1:4:0]", false, false},
        ScreenRow{"negative_slice_step_refused", "$.a[0:4:-1]", false, false},
        ScreenRow{"step_read_after_one_skipped_byte", "$.a[0:4:+2]", true, true},
        ScreenRow{"step_digit_skipped_like_json_glib", "$.a[0:4:2]", false, false},
        ScreenRow{"truncated_slice_refused", "$.a[:", false, false},
        ScreenRow{"truncated_step_refused", "$.a[1:2:", false, false},
        ScreenRow{"slice_at_the_visit_limit_safe", "$.a[0:" + kLimit + "]", true, true},
        ScreenRow{"slice_past_the_visit_limit_refused", "$.a[0:" + kPastLimit + "]", false, false},
        ScreenRow{"chained_slices_at_the_limit_safe", "$.a[0:256][0:256]", true, true},
        ScreenRow{"chained_slices_past_the_limit_refused", "$.a[0:256][0:257]", false, false},
        ScreenRow{"index_at_the_maximum_safe", "$.a[" + kMax + "]", true, true},
        ScreenRow{"index_past_the_maximum_refused", "$.a[" + kPastMax + "]", false, false},
        ScreenRow{"index_set_counts_its_entries", "$.a[0,1,2]", true, true},
        ScreenRow{"second_root_refused", "$['a']$", false, false},
        ScreenRow{"one_descent_safe", "$..a", true, false},
        ScreenRow{"second_descent_refused", "$..a..b", false, false},
        ScreenRow{"slice_after_a_descent_bounded", "$..a[0:17]", false, false},
        ScreenRow{"compile_error_left_to_json_glib", "menuitems[", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
