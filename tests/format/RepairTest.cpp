#include <glib.h>
#include <gtest/gtest.h>

#include <string>

#include "../Rows.h"
#include "JsonPathText.h"

using namespace velkin;

namespace {

// What json-glib's generator writes, and the valid JSON it is repaired into.
struct Row : rows::Named {
    std::string generated;
    std::string repaired;
};

const Row kRows[] = {
    {"valid text untouched", R"([{"a":1.5,"b":"x.0"}])", R"([{"a":1.5,"b":"x.0"}])"},
    {"positive exponent", "[9e+19.0]", "[9e+19]"},
    {"negative exponent", "[1e-08.0,-2e-300.0]", "[1e-08,-2e-300]"},
    {"infinity", "[inf.0,-inf.0]", "[1e999,-1e999]"},
    {"plain decimal kept", "[1.0,1e-08.0]", "[1.0,1e-08]"},
    {"unit separator escaped", "[\"a\x1f\"]", "[\"a\\u001f\"]"},
    {"octal escape byte escaped", "[\"\x80z\"]", "[\"\\u0080z\"]"},
    {"truncated sequence escaped", "[\"\xc3\"]", "[\"\\u00c3\"]"},
    {"UTF-8 kept beside a repair", "[\"\xc3\xa9\x1f\"]", "[\"\xc3\xa9\\u001f\"]"},
    {"strings left alone", R"(["1e-08.0\"inf.0",1e-08.0])", R"(["1e-08.0\"inf.0",1e-08])"},
    {"member names left alone", R"([{"inf.0":9e+19.0}])", R"([{"inf.0":9e+19}])"},
};

class Repair : public testing::TestWithParam<Row> {};

TEST_P(Repair, WritesValidJson)
{
    const Row& row = GetParam();
    char* text = RepairSerialisation(g_strndup(row.generated.data(), row.generated.size()));
    EXPECT_EQ(std::string(text), row.repaired);
    g_free(text);
}

INSTANTIATE_TEST_SUITE_P(Rows, Repair, testing::ValuesIn(kRows), rows::NameOf());

}  // namespace
