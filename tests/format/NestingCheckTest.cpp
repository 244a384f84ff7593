#include <gtest/gtest.h>

#include <string>

#include "../Rows.h"
#include "NestingCheck.h"

using namespace velkin;

namespace {

std::string Open(long n, char c = '[')
{
    return std::string(static_cast<size_t>(n), c);
}

std::string Siblings()
{
    std::string siblings;
    for (int i = 0; i < 3000; ++i)
        siblings += "[]";
    return siblings;
}

// One level more than the bound; behind one open bracket, its bracket at
// offset 1023 opens the level too many.
const std::string kDeep = Open(kMaxNesting + 1);

struct Row : rows::Named {
    std::string text;
    size_t tooDeepAt;  // kNotTooDeep when accepted
};

const Row kRows[] = {
    {"depth at the bound accepted", Open(kMaxNesting) + Open(kMaxNesting, ']'), kNotTooDeep},
    {"depth past the bound refused", kDeep, static_cast<size_t>(kMaxNesting)},
    {"objects count like arrays", Open(kMaxNesting + 1, '{'), static_cast<size_t>(kMaxNesting)},
    {"closing brackets lower the depth",
     Open(kMaxNesting) + "]" + Open(1) + Open(kMaxNesting, ']'), kNotTooDeep},
    {"siblings do not add up", Siblings(), kNotTooDeep},
    {"brackets in a string ignored", "[\"" + kDeep + "\"]", kNotTooDeep},
    {"escaped quote does not end a string", "[\"\\\"\", " + kDeep, 7 + 1023},
    {"escaped backslash ends before the quote", "[\"\\\\\"" + kDeep, 5 + 1023},
    {"brackets in single quotes ignored", "['" + kDeep + "']", kNotTooDeep},
    {"no escape in single quotes", "['\\'" + kDeep, 4 + 1023},
    {"brackets in a comment ignored", "/*" + kDeep + "*/[]", kNotTooDeep},
    {"NUL ends the input", "[" + std::string(1, '\0') + kDeep, kNotTooDeep},
};

class NestingCheck : public testing::TestWithParam<Row> {};

TEST_P(NestingCheck, FindsTheFirstBracketPastTheBound)
{
    EXPECT_EQ(FindTooDeep(GetParam().text), GetParam().tooDeepAt);
}

INSTANTIATE_TEST_SUITE_P(Rows, NestingCheck, testing::ValuesIn(kRows), rows::NameOf());

}  // namespace
