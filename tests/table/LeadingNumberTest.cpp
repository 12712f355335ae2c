#include "LeadingNumber.h"

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace
{
struct IntCase
{
    std::string m_strText;
    int m_nExpected;
};

void PrintTo(const IntCase& c, std::ostream* pOut)
{
    *pOut << '"' << c.m_strText << "\" -> " << c.m_nExpected;
}

class LeadingIntTest : public ::testing::TestWithParam<IntCase>
{
};

TEST_P(LeadingIntTest, ReadsTheLeadingInteger)
{
    EXPECT_EQ(ParseLeadingInt(GetParam().m_strText), GetParam().m_nExpected) << '"' << GetParam().m_strText << '"';
}

INSTANTIATE_TEST_SUITE_P(CellTexts, LeadingIntTest,
                         ::testing::Values(IntCase{"  42a", 42}, IntCase{"abc", 0}, IntCase{"", 0}, IntCase{"-17", -17},
                                           IntCase{"+5", 5}, IntCase{"- 5", 0}, IntCase{"\t\r\n 7", 7},
                                           IntCase{"0x1A", 0}, IntCase{"3.9", 3}, IntCase{"1e3", 1}, IntCase{"007", 7},
                                           IntCase{"2147483647", INT_MAX}, IntCase{"-2147483648", INT_MIN},
                                           IntCase{"2147483648", INT_MAX}, IntCase{"99999999999999999999999", INT_MAX},
                                           IntCase{"-99999999999999999999999", INT_MIN}));

struct DoubleCase
{
    std::string m_strText;
    double m_dExpected;
};

void PrintTo(const DoubleCase& c, std::ostream* pOut)
{
    *pOut << '"' << c.m_strText << "\" -> " << c.m_dExpected;
}

class LeadingDoubleTest : public ::testing::TestWithParam<DoubleCase>
{
};

TEST_P(LeadingDoubleTest, ReadsTheLeadingNumber)
{
    const double dActual = ParseLeadingDouble(GetParam().m_strText);
    // Exact comparison, sign of zero included.
    EXPECT_EQ(dActual, GetParam().m_dExpected) << '"' << GetParam().m_strText << '"';
    EXPECT_EQ(std::signbit(dActual), std::signbit(GetParam().m_dExpected)) << '"' << GetParam().m_strText << '"';
}

constexpr double Inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    CellTexts, LeadingDoubleTest,
    ::testing::Values(DoubleCase{"1.5e2", 150}, DoubleCase{"x1", 0}, DoubleCase{"0x1A", 0}, DoubleCase{"inf", 0},
                      DoubleCase{"nan", 0}, DoubleCase{"-infinity", 0}, DoubleCase{"  -2.25abc", -2.25},
                      DoubleCase{"\n\t3.3", 3.3}, DoubleCase{".5", 0.5}, DoubleCase{"5.", 5}, DoubleCase{".", 0},
                      DoubleCase{"-.", 0}, DoubleCase{"+.5e1", 5}, DoubleCase{"1e", 1}, DoubleCase{"1e+", 1},
                      DoubleCase{"1d2", 1}, DoubleCase{"12,5", 12}, DoubleCase{"30.0000", 30}, DoubleCase{"-0", -0.0},
                      DoubleCase{"1e999", Inf}, DoubleCase{"-1e999", -Inf}, DoubleCase{"1e-999", 0},
                      DoubleCase{"0.1", 0.1},
                      // Many digits still give the correctly rounded double.
                      DoubleCase{"0.1000000000000000055511151231257827021181583404541015625", 0.1}));
}
