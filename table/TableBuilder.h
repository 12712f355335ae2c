#pragma once

#include "BuiltTable.h"
#include "CalibrationPoint.h"
#include "PointRow.h"

#include <span>

// Most points a table takes: one per slot.
constexpr int MaxCalibrationPoints = TableSlots;

// Linear table: entry 0 is dLower, each further entry adds (dUpper - dLower) x 0.0009775171065493646.
// Throws TableRefused when a limit or an entry is not finite.
BuiltTable BuildLinearTable(double dLower, double dUpper);

// Piecewise-linear table through the points of the rows, taken in order of reading (equal readings keep
// list order). Throws TableRefused for an empty list, more than 1025 rows, a reading outside 0 to 1024,
// a value that is not finite, or steps between two points that do not fit in a double.
BuiltTable BuildNonlinearTable(std::span<const PointRow> rows);

// The reading and value of one row, read from the start of its cell texts (no number reads as 0).
CalibrationPoint ParseCalibrationPoint(const PointRow& row);
