// Table tests, one test a row: a row derives from rows::Named, so that
// INSTANTIATE_TEST_SUITE_P(..., rows::NameOf()) names each test after its
// row and a failure prints the row's name rather than its bytes.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace rows {

struct Named {
    const char* name;
};

inline std::ostream& operator<<(std::ostream& os, const Named& row)
{
    return os << row.name;
}

// The row's name with every character but letters and digits as '_'.
struct NameOf {
    template <class Row>
    std::string operator()(const testing::TestParamInfo<Row>& info) const
    {
        std::string out = info.param.name;
        for (char& c : out)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return out;
    }
};

}  // namespace rows
