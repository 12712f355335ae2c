#include "TableBuilder.h"
#include "TableRefused.h"

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
// Entries nFrom to nTo (inclusive) all hold dValue.
struct EntryRange
{
    int m_nFrom;
    int m_nTo;
    double m_dValue;
};

void ExpectRanges(const ConversionTable& table, const std::vector<EntryRange>& ranges)
{
    for (const EntryRange& range : ranges)
        for (int i = range.m_nFrom; i <= range.m_nTo; ++i)
            ASSERT_EQ(table[static_cast<size_t>(i)], range.m_dValue) << "entry " << i;
}

struct LinearCase
{
    double m_dLower;
    double m_dUpper;
    std::vector<EntryRange> m_ranges;
    std::string m_strDirection;
};

void PrintTo(const LinearCase& c, std::ostream* pOut)
{
    *pOut << "from " << c.m_dLower << " to " << c.m_dUpper;
}

class LinearTableTest : public ::testing::TestWithParam<LinearCase>
{
};

TEST_P(LinearTableTest, AccumulatesTheStep)
{
    const BuiltTable built = BuildLinearTable(GetParam().m_dLower, GetParam().m_dUpper);
    ExpectRanges(built.m_table, GetParam().m_ranges);
    EXPECT_EQ(built.m_strDirection, GetParam().m_strDirection);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, LinearTableTest,
    ::testing::Values(LinearCase{100, 0, {{1, 1, 99.90224828934507}, {1023, 1023, 2.333411242005923e-13}}, "1"},
                      LinearCase{-100, 0, {{0, 0, -100}, {1023, 1023, -2.333411242005923e-13}}, "0"},
                      LinearCase{0, 100, {{1023, 1023, 99.99999999999977}}, "0"}, LinearCase{5, 5, {{0, 1023, 5}}, "0"},
                      LinearCase{-1.5, -1.5, {{0, 1023, -1.5}}, "0"}));

TEST(LinearTable, UnitStepsGiveEveryIndexExactly)
{
    const struct
    {
        double m_dLower;
        double m_dUpper;
        std::function<double(int)> m_fnEntry;
        std::string m_strDirection;
    } aCases[] = {
        {0, 1023, [](int i) { return double(i); }, "0"},
        {1023, 0, [](int i) { return double(1023 - i); }, "1"},
    };
    for (const auto& c : aCases)
    {
        const BuiltTable built = BuildLinearTable(c.m_dLower, c.m_dUpper);
        for (int i = 0; i < TableEntries; ++i)
            ASSERT_EQ(built.m_table[static_cast<size_t>(i)], c.m_fnEntry(i))
                << c.m_dLower << " to " << c.m_dUpper << ", entry " << i;
        EXPECT_EQ(built.m_strDirection, c.m_strDirection);
    }
}

struct NonlinearCase
{
    std::string m_strName;
    std::vector<PointRow> m_rows;
    std::vector<EntryRange> m_ranges;
    std::string m_strDirection;
};

void PrintTo(const NonlinearCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class NonlinearTableTest : public ::testing::TestWithParam<NonlinearCase>
{
};

TEST_P(NonlinearTableTest, InterpolatesBetweenThePoints)
{
    const BuiltTable built = BuildNonlinearTable(GetParam().m_rows);
    ExpectRanges(built.m_table, GetParam().m_ranges);
    EXPECT_EQ(built.m_strDirection, GetParam().m_strDirection);
}

INSTANTIATE_TEST_SUITE_P(Figures, NonlinearTableTest,
                         ::testing::Values(NonlinearCase{"list order is not reading order",
                                                         {{"600", "30.0000"}, {"100", "10.0000"}, {"350", "20.0000"}},
                                                         {{0, 100, 10},
                                                          {101, 101, 10.04},
                                                          {225, 225, 14.999999999999893},
                                                          {350, 350, 19.999999999999787},
                                                          {600, 1023, 29.999999999999574}},
                                                         "0"},
                                           NonlinearCase{"descending over the whole range",
                                                         {{"0", "100"}, {"1023", "0"}},
                                                         // The step is -100/1023.
                                                         {{0, 0, 100},
                                                          {1, 1, 100 + -100.0 / 1023},
                                                          {1023, 1023, 2.333411242005923e-13}},
                                                         "1"},
                                           NonlinearCase{"equal readings keep list order",
                                                         {{"100", "5"}, {"100", "7"}, {"200", "10"}},
                                                         {{0, 100, 5}, {200, 1023, 8.000000000000025}},
                                                         "0"},
                                           NonlinearCase{"negative values",
                                                         {{"800", "-2.25"}, {"200", "1.5"}},
                                                         {{0, 200, 1.5}, {800, 1023, -2.2500000000000195}},
                                                         "1"},
                                           NonlinearCase{"one point", {{"512", "3.3"}}, {{0, 1023, 3.3}}, "0"},
                                           NonlinearCase{
                                               "one point in the spare slot", {{"1024", "7"}}, {{0, 1024, 7}}, "0"},
                                           NonlinearCase{"cell texts read from their start",
                                                         {{"  42a", "1.05e2"}, {"abc", "x1"}},
                                                         {{0, 0, 0}, {1, 1, 2.5}, {42, 1023, 105}},
                                                         "0"}));

TEST(NonlinearTable, TakesAPointForEverySlot)
{
    // 1025 points, readings 0 to 1024 in descending list order, each point's value its reading.
    std::vector<PointRow> rows;
    for (int nReading = TableSlots - 1; nReading >= 0; --nReading)
        rows.push_back({std::to_string(nReading), std::to_string(nReading)});
    const BuiltTable built = BuildNonlinearTable(rows);
    for (int i = 0; i < TableSlots; ++i)
        ASSERT_EQ(built.m_table[static_cast<size_t>(i)], double(i)) << "entry " << i;
    EXPECT_EQ(built.m_strDirection, "0");
}

struct PointCase
{
    PointRow m_row;
    int m_nReading;
    double m_dValue;
};

TEST(CalibrationPointText, ReadsNumbersFromTheStartOfEachCell)
{
    const PointCase aCases[] = {
        {{"  42a", "1.5e2"}, 42, 150}, {{"abc", "x1"}, 0, 0}, {{"-5", "-0.5"}, -5, -0.5},
        {{"7.9", "30.0000"}, 7, 30},   {{"", ""}, 0, 0},
    };
    for (const PointCase& c : aCases)
    {
        const CalibrationPoint point = ParseCalibrationPoint(c.m_row);
        EXPECT_EQ(point.m_nReading, c.m_nReading) << '"' << c.m_row.m_strReading << '"';
        EXPECT_EQ(point.m_dValue, c.m_dValue) << '"' << c.m_row.m_strValue << '"';
    }
}

struct RefusalCase
{
    std::string m_strName;
    std::vector<PointRow> m_rows;
    std::string m_strMessageStart;
};

void PrintTo(const RefusalCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class NonlinearRefusalTest : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(NonlinearRefusalTest, RefusesWithAMessageNamingTheRow)
{
    try
    {
        BuildNonlinearTable(GetParam().m_rows);
        FAIL() << "the table was built";
    }
    catch (const TableRefused& e)
    {
        const std::string strMessage = e.what();
        EXPECT_EQ(strMessage.substr(0, GetParam().m_strMessageStart.size()), GetParam().m_strMessageStart)
            << strMessage;
        // Every refusal tells the user what to do next, on one line.
        EXPECT_GT(strMessage.size(), GetParam().m_strMessageStart.size() + 10) << strMessage;
        EXPECT_EQ(strMessage.find('\n'), std::string::npos) << strMessage;
    }
}

std::vector<PointRow> ManyRows(size_t nCount)
{
    return std::vector<PointRow>(nCount, PointRow{"10", "1"});
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, NonlinearRefusalTest,
    ::testing::Values(
        RefusalCase{"empty list", {}, "The point list is empty."},
        RefusalCase{"one row too many", ManyRows(1026),
                    "The point list has 1026 rows, but a table takes at most 1025 points."},
        RefusalCase{"reading far above",
                    {{"0", "1"}, {"5", "1"}, {"9", "1"}, {"2000", "2"}},
                    "Row 3: the reading 2000 lies outside 0 to 1024."},
        RefusalCase{"reading just above", {{"1025", "1"}}, "Row 0: the reading 1025 lies outside 0 to 1024."},
        RefusalCase{"reading below", {{"0", "1"}, {"-1", "1"}}, "Row 1: the reading -1 lies outside 0 to 1024."},
        RefusalCase{"reading of the used marker",
                    {{"50000", "1"}, {"3", "1"}},
                    "Row 0: the reading 50000 lies outside 0 to 1024."},
        RefusalCase{"reading above the candidate start",
                    {{"3", "1"}, {"60000", "1"}},
                    "Row 1: the reading 60000 lies outside 0 to 1024."},
        RefusalCase{
            "reading beyond int", {{"99999999999", "1"}}, "Row 0: the reading 2147483647 lies outside 0 to 1024."},
        RefusalCase{
            "value too large", {{"0", "1"}, {"10", "1e999"}}, "Row 1: the value on display is too large for a number."},
        RefusalCase{
            "value too large, negative", {{"0", "-1e400"}}, "Row 0: the value on display is too large for a number."},
        // The rows are named in reading order: row 1 holds the lower reading.
        RefusalCase{
            "steps overflow", {{"10", "-1.7e308"}, {"0", "1.7e308"}}, "Rows 1 and 0: the values differ so much"}));

TEST(LinearRefusal, RefusesLimitsThatGiveNoFiniteTable)
{
    const double dInf = std::numeric_limits<double>::infinity();
    const struct
    {
        double m_dLower;
        double m_dUpper;
        std::string m_strMessageStart;
    } aCases[] = {
        {-1.7e308, 1.7e308, "The limits -1.7e+308 and 1.7e+308 are too far apart"},
        {1.7e308, -1.7e308, "The limits 1.7e+308 and -1.7e+308 are too far apart"},
        {dInf, 0, "The lower and upper limits must be finite numbers."},
        {0, std::numeric_limits<double>::quiet_NaN(), "The lower and upper limits must be finite numbers."},
    };
    for (const auto& c : aCases)
    {
        try
        {
            BuildLinearTable(c.m_dLower, c.m_dUpper);
            ADD_FAILURE() << c.m_dLower << " to " << c.m_dUpper << " built a table";
        }
        catch (const TableRefused& e)
        {
            EXPECT_EQ(std::string(e.what()).substr(0, c.m_strMessageStart.size()), c.m_strMessageStart) << e.what();
        }
    }
}
}
