#include <gtest/gtest.h>

#include <string>

#include "NestingCheck.h"

using namespace velkin;

namespace {

std::string Open(long n, char c = '[')
{
    return std::string(static_cast<size_t>(n), c);
}

struct NestingRow {
    const char* name;
    std::string text;
    size_t tooDeepAt;  // kNotTooDeep when accepted
};

void PrintTo(const NestingRow& row, std::ostream* os)
{
    *os << row.name;
}

class NestingCheck : public ::testing::TestWithParam<NestingRow> {};

TEST_P(NestingCheck, FindsTheFirstBracketPastTheBound)
{
    EXPECT_EQ(FindTooDeep(GetParam().text), GetParam().tooDeepAt);
}

// One level more than the bound; behind one open bracket, its bracket at
// offset 1023 opens the level too many.
const std::string kDeep = Open(kMaxNesting + 1);

INSTANTIATE_TEST_SUITE_P(
    Rows, NestingCheck,
    ::testing::Values(
        NestingRow{"depth_at_bound_accepted", Open(kMaxNesting) + Open(kMaxNesting, ']'),
                   kNotTooDeep},
        NestingRow{"depth_past_bound_refused", kDeep, static_cast<size_t>(kMaxNesting)},
        NestingRow{"objects_count_like_arrays", Open(kMaxNesting + 1, '{'),
                   static_cast<size_t>(kMaxNesting)},
        NestingRow{"closing_brackets_lower_the_depth",
                   Open(kMaxNesting) + "]" + Open(1) + Open(kMaxNesting, ']'), kNotTooDeep},
        NestingRow{"siblings_do_not_add_up",
                   [] {
                       std::string s;
                       for (int i = 0; i < 3000; ++i)
                           s += "[]";
                       return s;
                   }(),
                   kNotTooDeep},
        NestingRow{"brackets_in_a_string_ignored", "[\"" + kDeep + "\"]", kNotTooDeep},
        NestingRow{"escaped_quote_does_not_end_a_string", "[\"\\\"\", " + kDeep, 7 + 1023},
        NestingRow{"escaped_backslash_ends_before_the_quote", "[\"\\\\\"" + kDeep, 5 + 1023},
        NestingRow{"brackets_in_single_quotes_ignored", "['" + kDeep + "']", kNotTooDeep},
        NestingRow{"no_escape_in_single_quotes", "['\\'" + kDeep, 4 + 1023},
        NestingRow{"brackets_in_a_comment_ignored", "/*" + kDeep + "*/[]", kNotTooDeep},
        NestingRow{"nul_ends_the_input", "[" + std::string(1, '\0') + kDeep, kNotTooDeep}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
