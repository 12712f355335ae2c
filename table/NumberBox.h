#pragma once

#include <optional>
#include <string>
#include <string_view>

// The rules of the window's number boxes (the dialog's double fields), shared with the command line.

// Saving a box: blanks and tabs skipped, then the longest leading decimal number (optional sign, digits with an
// optional ".", at least one digit, optional exponent with e, E, d or D, optional sign and digits), then only
// blanks and tabs. A value of zero whose first character is not the digit 0 is rejected ("-0", "+0", ".0").
// A number too large for a double is rejected as well. Rejected text gives no value.
std::optional<double> ParseNumberBox(std::string_view strText);

// Loading a box: "%.15g" (at most 15 significant digits, trailing zeros dropped, exponent form below 1e-4 or
// from 1e15 on), rounded the way FormatFixed rounds. 0.0 gives "0", 2.5 gives "2.5".
std::string FormatNumberBox(double dValue);
