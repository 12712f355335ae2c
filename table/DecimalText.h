#pragma once

#include <string>
#include <string_view>

// Shared pieces of the number texts: scanning a decimal number, converting it in the "C" locale and the
// exact decimal digits of a double. Callers are LeadingNumber, NumberBox and FixedFormat.

// The end of the longest decimal number that starts at nPos: optional sign, digits with an optional "."
// (at least one digit in all), optional exponent whose letter is e or E (and d or D when bAllowD) followed by
// an optional sign and at least one digit. Returns nPos when no number starts there.
size_t ScanDecimal(std::string_view strText, size_t nPos, bool bAllowD);

// The value of a text that ScanDecimal accepted, as strtod reads it in the "C" locale: too large gives
// +/-infinity, too small gives zero or a subnormal. "d" and "D" exponents are read as "e".
double ConvertDecimal(std::string_view strNumber);

// A finite, non-zero magnitude as decimal digits: value = 0.d1d2d3... x 10^(m_nExponent + 1), i.e.
// m_nExponent is the power of ten of the first digit. No digits means the value zero.
struct DecimalDigits
{
    std::string m_strDigits;
    int m_nExponent = 0;
};

// The magnitude of dValue (finite, non-zero) rounded to 17 significant digits, halves away from zero,
// trailing zeros kept.
DecimalDigits SignificantDigits17(double dValue);

// Rounds to the power of ten nLowestPower (keeps the digits at that power and above), halves away from zero.
// The result may gain a digit (9.99 -> 10.0) or become zero (no digits).
DecimalDigits RoundAtPower(const DecimalDigits& digits, int nLowestPower);
