#include "NumberBox.h"

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace
{
struct SaveCase
{
    std::string m_strText;
    std::optional<double> m_dExpected;
};

void PrintTo(const SaveCase& c, std::ostream* pOut)
{
    *pOut << '"' << c.m_strText << "\" -> ";
    if (c.m_dExpected)
        *pOut << *c.m_dExpected;
    else
        *pOut << "rejected";
}

class NumberBoxSaveTest : public ::testing::TestWithParam<SaveCase>
{
};

TEST_P(NumberBoxSaveTest, AcceptsOrRejectsTheText)
{
    const std::optional<double> dActual = ParseNumberBox(GetParam().m_strText);
    ASSERT_EQ(dActual.has_value(), GetParam().m_dExpected.has_value()) << '"' << GetParam().m_strText << '"';
    if (dActual)
    {
        EXPECT_EQ(*dActual, *GetParam().m_dExpected) << '"' << GetParam().m_strText << '"';
    }
}

const std::optional<double> Rejected;

// The window's table of box texts, row by row.
INSTANTIATE_TEST_SUITE_P(WindowTable, NumberBoxSaveTest,
                         ::testing::Values(SaveCase{"", Rejected}, SaveCase{"-0", Rejected}, SaveCase{"+0", Rejected},
                                           SaveCase{".0", Rejected}, SaveCase{"12abc", Rejected},
                                           SaveCase{"1e", Rejected}, SaveCase{"0", 0.0}, SaveCase{"0.0", 0.0},
                                           SaveCase{"5.", 5.0}, SaveCase{".5", 0.5}, SaveCase{"  7  ", 7.0},
                                           SaveCase{"\t7\t", 7.0}, SaveCase{" \t7\t ", 7.0}, SaveCase{"1e2", 100.0},
                                           SaveCase{"1E2", 100.0}, SaveCase{"1d2", 100.0}, SaveCase{"1D2", 100.0},
                                           SaveCase{"-1.5", -1.5}));

INSTANTIATE_TEST_SUITE_P(
    MoreTexts, NumberBoxSaveTest,
    ::testing::Values(SaveCase{"   ", Rejected}, SaveCase{"abc", Rejected}, SaveCase{"0abc", Rejected},
                      SaveCase{"1d", Rejected}, SaveCase{"1 2", Rejected}, SaveCase{"7\n", Rejected},
                      SaveCase{"0x10", Rejected}, SaveCase{"inf", Rejected}, SaveCase{"nan", Rejected},
                      SaveCase{"1,5", Rejected}, SaveCase{"--1", Rejected}, SaveCase{"-0.0", Rejected},
                      SaveCase{"0e5", 0.0}, SaveCase{"00", 0.0}, SaveCase{"+3", 3.0}, SaveCase{"-1e-2", -0.01},
                      SaveCase{"1.5D-1", 0.15},
                      // A value that underflows to zero was not written as a zero.
                      SaveCase{"1e-400", Rejected},
                      // Too large for a double.
                      SaveCase{"1e999", Rejected}, SaveCase{"-1e999", Rejected}, SaveCase{"1.8e308", Rejected},
                      SaveCase{"1.7e308", 1.7e308},
                      // The whole text is read, not only its first 31 characters.
                      SaveCase{"1234567890123456789012345678901234", 1234567890123456789012345678901234.0},
                      SaveCase{"1" + std::string(30, ' ') + "x", Rejected},
                      SaveCase{"0.000000000000000000000000000000000000001", 1e-39}));

struct LoadCase
{
    double m_dValue;
    std::string m_strExpected;
};

void PrintTo(const LoadCase& c, std::ostream* pOut)
{
    *pOut << c.m_dValue << " -> " << c.m_strExpected;
}

class NumberBoxLoadTest : public ::testing::TestWithParam<LoadCase>
{
};

TEST_P(NumberBoxLoadTest, FormatsLikePercentDot15g)
{
    EXPECT_EQ(FormatNumberBox(GetParam().m_dValue), GetParam().m_strExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberBoxLoadTest,
    ::testing::Values(LoadCase{0.0, "0"}, LoadCase{-0.0, "0"}, LoadCase{2.5, "2.5"}, LoadCase{-1.5, "-1.5"},
                      LoadCase{100.0, "100"}, LoadCase{0.1, "0.1"}, LoadCase{0.30000000000000004, "0.3"},
                      LoadCase{1.0 / 3.0, "0.333333333333333"}, LoadCase{2.0 / 3.0, "0.666666666666667"},
                      LoadCase{0.0001, "0.0001"}, LoadCase{0.00001, "1e-05"}, LoadCase{-0.000012345, "-1.2345e-05"},
                      LoadCase{1e14, "100000000000000"}, LoadCase{1e15, "1e+15"},
                      LoadCase{123456789012345678.0, "1.23456789012346e+17"}, LoadCase{1e300, "1e+300"},
                      LoadCase{999999999999999.5, "1e+15"}, LoadCase{99.99999999999977, "99.9999999999998"},
                      LoadCase{2.333411242005923e-13, "2.33341124200592e-13"},
                      LoadCase{5e-324, "4.94065645841247e-324"},
                      // Rounded up, the largest doubles would show a text that reads as infinity: cut instead.
                      LoadCase{1.7976931348623157e308, "1.79769313486231e+308"},
                      LoadCase{-1.7976931348623155e308, "-1.79769313486231e+308"},
                      LoadCase{1.7976931348623e308, "1.7976931348623e+308"},
                      // Stored as 0.10000000000000749955...: only its 17-digit form is a half, which goes up.
                      LoadCase{0.1000000000000075, "0.100000000000008"}));

TEST(NumberBoxRoundTrip, LoadedTextIsAcceptedAgain)
{
    for (const double dValue : {0.0, -0.0, 2.5, -100.0, 1e-5, -1e-300, 1e15, 1e308, 4.9e-324,
                                 std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()})
    {
        const std::string strText = FormatNumberBox(dValue);
        EXPECT_TRUE(ParseNumberBox(strText).has_value()) << dValue << " -> " << strText;
    }
}
}
