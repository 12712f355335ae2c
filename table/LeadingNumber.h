#pragma once

#include <string_view>

// Numbers read from the start of a point-list cell. Cells hold whatever the user typed, so these never fail:
// text that does not start with a number reads as 0. The decimal point is always ".", whatever the locale.

// Leading decimal integer: white space skipped, one optional sign, then digits up to the first other
// character. No digit gives 0. Values beyond the int range saturate at INT_MIN / INT_MAX.
int ParseLeadingInt(std::string_view strText);

// Leading decimal number: white space skipped, optional sign, digits with an optional "." fraction
// (at least one digit in all) and an optional exponent (e or E, optional sign, at least one digit).
// No such number gives 0 ("0x1A" gives 0, "inf" and "nan" give 0). A magnitude too large for a double
// gives +/-infinity, one too small gives 0 (or a subnormal), as strtod does.
double ParseLeadingDouble(std::string_view strText);
