#pragma once

#include <string>

// "%.Nf" as the table file and the point list write numbers: the value's decimal form is first rounded to
// 17 significant digits (digits past the 17th are written as 0), then to nDecimals decimals with halves going
// away from zero. A negative value that rounds to zero keeps its "-" ("-0.00"); zero and negative zero have no
// sign. Every integer digit of a huge value is written. nDecimals is clamped to 0..17.
// Not-finite values, which a table never holds, come out as "inf", "-inf" or "nan".
std::string FormatFixed(double dValue, int nDecimals);
