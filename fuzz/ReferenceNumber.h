#pragma once

#include <optional>
#include <string_view>

// Slow, independent readings of number texts for checking the parsers: the number is found with a regular
// expression and converted with std::from_chars, neither of which the parsers use.

struct ReferenceValue
{
    double m_dValue = 0.0;
    // from_chars met a magnitude beyond a double's range: the value is then only known to be 0 or infinite.
    bool m_bOutOfRange = false;
};

// The leading decimal number of a cell text; nothing when the text does not start with one.
std::optional<ReferenceValue> ReferenceLeadingDouble(std::string_view strText);

// A number box's text: blanks and tabs, one decimal number (exponent e, E, d or D), blanks and tabs; nothing
// when the text is not of that form. Zero and range rules are left to the caller.
std::optional<ReferenceValue> ReferenceBoxNumber(std::string_view strText, char& cFirst);
