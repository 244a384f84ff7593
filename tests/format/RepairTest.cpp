#include <glib.h>
#include <gtest/gtest.h>

#include <string>

#include "JsonPathText.h"

using namespace velkin;

namespace {

struct RepairRow {
    const char* name;
    std::string generated;  // as json-glib's generator writes it
    std::string repaired;
};

void PrintTo(const RepairRow& row, std::ostream* os)
{
    *os << row.name;
}

class Repair : public ::testing::TestWithParam<RepairRow> {};

TEST_P(Repair, WritesValidJson)
{
    char* text =
        RepairSerialisation(g_strndup(GetParam().generated.data(), GetParam().generated.size()));
    EXPECT_EQ(std::string(text), GetParam().repaired);
    g_free(text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Repair,
    ::testing::Values(
        RepairRow{"valid_text_untouched", R"([{"a":1.5,"b":"x.0"}])", R"([{"a":1.5,"b":"x.0"}])"},
        RepairRow{"positive_exponent", "[9e+19.0]", "[9e+19]"},
        RepairRow{"negative_exponent", "[1e-08.0,-2e-300.0]", "[1e-08,-2e-300]"},
        RepairRow{"infinity", "[inf.0,-inf.0]", "[1e999,-1e999]"},
        RepairRow{"plain_decimal_kept", "[1.0,1e-08.0]", "[1.0,1e-08]"},
        RepairRow{"unit_separator_escaped", "[\"a\x1f\"]", "[\"a\\u001f\"]"},
        RepairRow{"octal_escape_byte_escaped", "[\"\x80z\"]", "[\"\\u0080z\"]"},
        RepairRow{"truncated_sequence_escaped", "[\"\xc3\"]", "[\"\\u00c3\"]"},
        RepairRow{"utf8_kept_beside_a_repair", "[\"\xc3\xa9\x1f\"]", "[\"\xc3\xa9\\u001f\"]"},
        RepairRow{"strings_left_alone", R"(["1e-08.0\"inf.0",1e-08.0])",
                  R"(["1e-08.0\"inf.0",1e-08])"},
        RepairRow{"member_names_left_alone", R"([{"inf.0":9e+19.0}])", R"([{"inf.0":9e+19}])"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
