#include "NumberBox.h"

#include "DecimalText.h"

#include <cmath>

namespace
{
// Above this, 15 significant digits rounded up would pass the largest double.
constexpr double LargestRoundedUp = 1.79769313486231e308;

size_t SkipBlanks(std::string_view strText, size_t n)
{
    while (n < strText.size() && (strText[n] == ' ' || strText[n] == '\t'))
        ++n;
    return n;
}

// Removes the zeros at the end of a fraction, and the point when nothing is left after it.
void DropTrailingZeros(std::string& str)
{
    const size_t nPoint = str.find('.');
    if (nPoint == std::string::npos)
        return;
    size_t nEnd = str.find_last_not_of('0');
    if (nEnd == nPoint)
        --nEnd;
    str.erase(nEnd + 1);
}
}

std::optional<double> ParseNumberBox(std::string_view strText)
{
    // The whole text counts: cutting a long number short would silently store another value.
    const size_t nStart = SkipBlanks(strText, 0);
    const size_t nEnd = ScanDecimal(strText, nStart, true);
    const double dValue = nEnd > nStart ? ConvertDecimal(strText.substr(nStart, nEnd - nStart)) : 0.0;
    // A zero is only believed when it was written with a leading digit 0; empty text and "-0" are refused.
    if (dValue == 0.0 && (nStart >= strText.size() || strText[nStart] != '0'))
        return std::nullopt;
    if (SkipBlanks(strText, nEnd) != strText.size())
        return std::nullopt;
    if (!std::isfinite(dValue))
        return std::nullopt;
    return dValue;
}

std::string FormatNumberBox(double dValue)
{
    if (std::isnan(dValue))
        return "nan";
    if (std::isinf(dValue))
        return dValue < 0 ? "-inf" : "inf";
    // No sign on zero: a box showing "-0" would refuse its own text on the next save.
    if (dValue == 0.0)
        return "0";

    constexpr int nPrecision = 15;
    const DecimalDigits exact = SignificantDigits17(dValue);
    DecimalDigits digits = RoundAtPower(exact, exact.m_nExponent - (nPrecision - 1));
    // Near the largest double, rounding up would show 1.79769313486232e+308, which no box reads back as a
    // number; those few values are cut to 15 digits instead, so a box always accepts what it shows.
    if (std::fabs(dValue) > LargestRoundedUp)
        digits = DecimalDigits{"179769313486231", 308};
    digits.m_strDigits.resize(nPrecision, '0');
    const int nExponent = digits.m_nExponent;
    const std::string& strDigits = digits.m_strDigits;

    std::string strOut = dValue < 0 ? "-" : "";
    if (nExponent >= -4 && nExponent < nPrecision)
    {
        std::string strFixed;
        if (nExponent < 0)
            strFixed = "0." + std::string(static_cast<size_t>(-nExponent - 1), '0') + strDigits;
        else
            strFixed = strDigits.substr(0, static_cast<size_t>(nExponent) + 1) + "." +
                       strDigits.substr(static_cast<size_t>(nExponent) + 1);
        DropTrailingZeros(strFixed);
        strOut += strFixed;
    }
    else
    {
        std::string strMantissa = strDigits.substr(0, 1) + "." + strDigits.substr(1);
        DropTrailingZeros(strMantissa);
        const int nAbsExponent = nExponent < 0 ? -nExponent : nExponent;
        strOut +=
            strMantissa + (nExponent < 0 ? "e-" : "e+") + (nAbsExponent < 10 ? "0" : "") + std::to_string(nAbsExponent);
    }
    return strOut;
}
