#include "FixedFormat.h"

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace
{
struct FixedCase
{
    double m_dValue;
    int m_nDecimals;
    std::string m_strExpected;
};

void PrintTo(const FixedCase& c, std::ostream* pOut)
{
    *pOut << c.m_dValue << " with " << c.m_nDecimals << " decimals -> " << c.m_strExpected.substr(0, 40);
}

class FixedFormatTest : public ::testing::TestWithParam<FixedCase>
{
};

TEST_P(FixedFormatTest, WritesTheValue)
{
    EXPECT_EQ(FormatFixed(GetParam().m_dValue, GetParam().m_nDecimals), GetParam().m_strExpected)
        << GetParam().m_dValue << " with " << GetParam().m_nDecimals << " decimals";
}

INSTANTIATE_TEST_SUITE_P(HalvesAwayFromZero, FixedFormatTest,
                         ::testing::Values(FixedCase{0.125, 2, "0.13"}, FixedCase{-0.125, 2, "-0.13"},
                                           FixedCase{0.5, 0, "1"}, FixedCase{1.5, 0, "2"}, FixedCase{2.5, 0, "3"},
                                           FixedCase{-2.5, 0, "-3"}, FixedCase{0.49, 0, "0"},
                                           FixedCase{9.9999, 2, "10.00"}, FixedCase{-9.9999, 0, "-10"},
                                           FixedCase{999.96, 1, "1000.0"}, FixedCase{0.00005, 4, "0.0001"}));

INSTANTIATE_TEST_SUITE_P(Signs, FixedFormatTest,
                         ::testing::Values(FixedCase{-0.001, 2, "-0.00"}, FixedCase{-0.4, 0, "-0"},
                                           FixedCase{0.0, 2, "0.00"}, FixedCase{-0.0, 2, "0.00"},
                                           FixedCase{-0.0, 0, "0"}, FixedCase{0.0, 0, "0"},
                                           FixedCase{2.333411242005923e-13, 2, "0.00"},
                                           FixedCase{-2.333411242005923e-13, 2, "-0.00"},
                                           FixedCase{5e-324, 4, "0.0000"}, FixedCase{-5e-324, 4, "-0.0000"}));

INSTANTIATE_TEST_SUITE_P(SeventeenDigits, FixedFormatTest,
                         ::testing::Values(
                             // 0.155 is stored as 0.15499999999999999889, whose 17-digit form 0.15500000000000000 is a
                             // half; 0.15 is stored as 0.14999999999999999445, which stays below the half at 17 digits.
                             FixedCase{0.155, 2, "0.16"}, FixedCase{0.185, 2, "0.19"}, FixedCase{0.15, 1, "0.1"},
                             // 1.005 is 1.00499999999999989...; 17 digits keep it below the half.
                             FixedCase{1.005, 2, "1.00"}, FixedCase{99.99999999999977, 2, "100.00"},
                             FixedCase{99.99999999999977, 4, "100.0000"}, FixedCase{1023.0, 2, "1023.00"},
                             FixedCase{0.1, 17, "0.10000000000000001"}, FixedCase{0.1, 30, "0.10000000000000001"},
                             FixedCase{0.1, -3, "0"},
                             // Digits past the 17th are written as 0. The stored values are 123456789012345685803008
                             // and 1.00000000000000005250...e300, so their 17th digits round up.
                             FixedCase{123456789012345678901234.0, 0, "123456789012345690000000"},
                             FixedCase{1180591620717411303424.0, 2, "1180591620717411300000.00"},
                             FixedCase{1e20, 2, "100000000000000000000.00"},
                             FixedCase{-1.7976931348623157e308, 0, "-17976931348623157" + std::string(292, '0')},
                             FixedCase{1e300, 1, "10000000000000001" + std::string(284, '0') + ".0"}));

INSTANTIATE_TEST_SUITE_P(NotFinite, FixedFormatTest,
                         ::testing::Values(FixedCase{std::numeric_limits<double>::infinity(), 2, "inf"},
                                           FixedCase{-std::numeric_limits<double>::infinity(), 2, "-inf"},
                                           FixedCase{std::numeric_limits<double>::quiet_NaN(), 2, "nan"}));
}
