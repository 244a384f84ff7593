#include <gtest/gtest.h>

#include <string>

#include "NestingCheck.h"

using namespace velkin;

namespace {

std::string Open(long n, char c = '[')
{
    return std::string(static_cast<size_t>(n), c);
}

TEST(NestingCheck, FindsTheFirstBracketPastTheBound)
{
    // One level more than the bound; behind one open bracket, its bracket at
    // offset 1023 opens the level too many.
    const std::string deep = Open(kMaxNesting + 1);
    std::string siblings;
    for (int i = 0; i < 3000; ++i)
        siblings += "[]";
    const struct {
        const char* name;
        std::string text;
        size_t tooDeepAt;  // kNotTooDeep when accepted
    } rows[] = {
        {"depth at the bound accepted", Open(kMaxNesting) + Open(kMaxNesting, ']'), kNotTooDeep},
        {"depth past the bound refused", deep, static_cast<size_t>(kMaxNesting)},
        {"objects count like arrays", Open(kMaxNesting + 1, '{'), static_cast<size_t>(kMaxNesting)},
        {"closing brackets lower the depth",
         Open(kMaxNesting) + "]" + Open(1) + Open(kMaxNesting, ']'), kNotTooDeep},
        {"siblings do not add up", siblings, kNotTooDeep},
        {"brackets in a string ignored", "[\"" + deep + "\"]", kNotTooDeep},
        {"escaped quote does not end a string", "[\"\\\"\", " + deep, 7 + 1023},
        {"escaped backslash ends before the quote", "[\"\\\\\"" + deep, 5 + 1023},
        {"brackets in single quotes ignored", "['" + deep + "']", kNotTooDeep},
        {"no escape in single quotes", "['\\'" + deep, 4 + 1023},
        {"brackets in a comment ignored", "/*" + deep + "*/[]", kNotTooDeep},
        {"NUL ends the input", "[" + std::string(1, '\0') + deep, kNotTooDeep},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FindTooDeep(row.text), row.tooDeepAt) << row.name;
}

}  // namespace
