#pragma once

#include <string>

// The table's "%.Nf" worked out the slow way, for checking FormatFixed: the double's exact value as decimal
// digits by long multiplication (m x 2^e is m x 5^-e / 10^-e), then rounded on those digits by hand.

// The exact decimal expansion of a finite double's magnitude: digits with the point after nIntDigits of them.
struct ExactDecimal
{
    std::string m_strDigits; // at least one integer digit
    int m_nIntDigits = 1;
};

ExactDecimal ExpandExactly(double dValue);

// "%.Nf" with the value first rounded to 17 significant digits, then to N decimals, halves away from zero;
// a negative value keeps its "-", zero has none.
std::string ReferenceFixed(double dValue, int nDecimals);
