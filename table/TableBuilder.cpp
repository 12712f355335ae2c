#include "TableBuilder.h"

#include "LeadingNumber.h"
#include "NumberBox.h"
#include "TableRefused.h"

#include <array>
#include <cmath>
#include <string>

namespace
{
// The double nearest to 1/1023; the unit's tables were always made by multiplying with it.
constexpr double StepFactor = 0.0009775171065493646;

// Selection ordering: a candidate starts above every reading, and a taken point is marked with a reading
// above every real one but below the start. Valid readings (0 to 1024) lie below both.
constexpr int CandidateStart = 60000;
constexpr int UsedMarker = 50000;

constexpr int MinReading = 0;
constexpr int MaxReading = TableSlots - 1;

std::string RowName(int nRow)
{
    return "Row " + std::to_string(nRow);
}

void RefuseUnlessFinite(const ConversionTable& table, int nFrom, int nTo, const std::string& strWhat)
{
    for (int i = nFrom; i <= nTo; ++i)
        if (!std::isfinite(table[static_cast<size_t>(i)]))
            throw TableRefused(strWhat);
}
}

CalibrationPoint ParseCalibrationPoint(const PointRow& row)
{
    return CalibrationPoint{ParseLeadingInt(row.m_strReading), ParseLeadingDouble(row.m_strValue)};
}

BuiltTable BuildLinearTable(double dLower, double dUpper)
{
    if (!std::isfinite(dLower) || !std::isfinite(dUpper))
        throw TableRefused("The lower and upper limits must be finite numbers. Enter other limits.");

    BuiltTable result;
    ConversionTable& table = result.m_table;
    const double dStep = (dUpper - dLower) * StepFactor;
    table[0] = dLower;
    for (int i = 1; i < TableEntries; ++i)
        table[static_cast<size_t>(i)] = table[static_cast<size_t>(i - 1)] + dStep;
    RefuseUnlessFinite(table, 0, TableEntries - 1,
                       "The limits " + FormatNumberBox(dLower) + " and " + FormatNumberBox(dUpper) +
                           " are too far apart: the table's steps are too large for a number. "
                           "Enter limits closer together.");
    result.m_strDirection = table[0] > table[1] ? "1" : "0";
    return result;
}

BuiltTable BuildNonlinearTable(std::span<const PointRow> rows)
{
    if (rows.empty())
        throw TableRefused("The point list is empty. Record at least one calibration point, then generate "
                           "the table.");
    if (rows.size() > static_cast<size_t>(MaxCalibrationPoints))
        throw TableRefused("The point list has " + std::to_string(rows.size()) + " rows, but a table takes at most " +
                           std::to_string(MaxCalibrationPoints) + " points. Remove some rows.");
    const int nPoints = static_cast<int>(rows.size());

    // Work storage: readings and values in list order, then in reading order with their list rows.
    std::array<int, TableSlots> anListReading{};
    std::array<double, TableSlots> adListValue{};
    std::array<int, TableSlots> anReading{};
    std::array<double, TableSlots> adValue{};
    std::array<int, TableSlots> anRow{};

    // Everything is checked before any slot is addressed by a reading.
    for (int i = 0; i < nPoints; ++i)
    {
        const CalibrationPoint point = ParseCalibrationPoint(rows[static_cast<size_t>(i)]);
        if (point.m_nReading < MinReading || point.m_nReading > MaxReading)
            throw TableRefused(RowName(i) + ": the reading " + std::to_string(point.m_nReading) + " lies outside " +
                               std::to_string(MinReading) + " to " + std::to_string(MaxReading) +
                               ". Correct the reading or remove the row.");
        if (!std::isfinite(point.m_dValue))
            throw TableRefused(RowName(i) + ": the value on display is too large for a number. Enter a smaller "
                                            "value or remove the row.");
        anListReading[static_cast<size_t>(i)] = point.m_nReading;
        adListValue[static_cast<size_t>(i)] = point.m_dValue;
    }

    // Ordering by repeated selection; a strict "less than" keeps equal readings in list order.
    for (int j = 0; j < nPoints; ++j)
    {
        int nCandidate = CandidateStart;
        int nTaken = 0;
        double dTaken = 0.0;
        for (int i = 0; i < nPoints; ++i)
        {
            if (anListReading[static_cast<size_t>(i)] < nCandidate)
            {
                nCandidate = anListReading[static_cast<size_t>(i)];
                nTaken = i;
                dTaken = adListValue[static_cast<size_t>(i)];
            }
        }
        anReading[static_cast<size_t>(j)] = nCandidate;
        adValue[static_cast<size_t>(j)] = dTaken;
        anRow[static_cast<size_t>(j)] = nTaken;
        anListReading[static_cast<size_t>(nTaken)] = UsedMarker;
    }

    BuiltTable result;
    ConversionTable& table = result.m_table;

    // Below and at the first point: its value.
    const int nFirst = anReading[0];
    for (int i = 0; i <= nFirst; ++i)
        table[static_cast<size_t>(i)] = adValue[0];

    result.m_strDirection = nPoints > 1 && adValue[0] > adValue[1] ? "1" : "0";

    // Each segment continues from the entry already stored at its first point, so rounding carries on along
    // the table; two points at one reading make no segment, and the later one sets the next step.
    for (int k = 0; k + 1 < nPoints; ++k)
    {
        const int nA = anReading[static_cast<size_t>(k)];
        const int nB = anReading[static_cast<size_t>(k + 1)];
        if (nA >= nB)
            continue;
        const double dStep = (adValue[static_cast<size_t>(k + 1)] - adValue[static_cast<size_t>(k)]) / (nB - nA);
        for (int j = nA + 1; j <= nB; ++j)
            table[static_cast<size_t>(j)] = table[static_cast<size_t>(j - 1)] + dStep;
        RefuseUnlessFinite(table, nA + 1, nB,
                           "Rows " + std::to_string(anRow[static_cast<size_t>(k)]) + " and " +
                               std::to_string(anRow[static_cast<size_t>(k + 1)]) +
                               ": the values differ so much that the steps between them are too large for a "
                               "number. Enter values closer together.");
    }

    // Above the last point: the entry reached there.
    for (int j = anReading[static_cast<size_t>(nPoints - 1)] + 1; j < TableEntries; ++j)
        table[static_cast<size_t>(j)] = table[static_cast<size_t>(j - 1)];
    return result;
}
