#include "FixedFormat.h"

#include "DecimalText.h"

#include <algorithm>
#include <cmath>

std::string FormatFixed(double dValue, int nDecimals)
{
    if (std::isnan(dValue))
        return "nan";
    if (std::isinf(dValue))
        return dValue < 0 ? "-inf" : "inf";
    nDecimals = std::clamp(nDecimals, 0, 17);

    // Digit at each power of ten from the highest needed down to -nDecimals; zero has no digits at all.
    DecimalDigits digits;
    if (dValue != 0.0)
        digits = RoundAtPower(SignificantDigits17(dValue), -nDecimals);
    const bool bZero = digits.m_strDigits.empty();
    const int nHighest = bZero ? 0 : std::max(digits.m_nExponent, 0);
    auto DigitAt = [&digits, bZero](int nPower) {
        const long nIndex = static_cast<long>(digits.m_nExponent) - nPower;
        if (bZero || nIndex < 0 || nIndex >= static_cast<long>(digits.m_strDigits.size()))
            return '0';
        return digits.m_strDigits[static_cast<size_t>(nIndex)];
    };

    // The sign follows the value, not the rounded digits: -0.001 gives "-0.00". Zero itself has none.
    std::string strOut = dValue < 0 ? "-" : "";
    strOut.reserve(static_cast<size_t>(nHighest + nDecimals) + 3);
    for (int nPower = nHighest; nPower >= 0; --nPower)
        strOut.push_back(DigitAt(nPower));
    if (nDecimals > 0)
    {
        strOut.push_back('.');
        for (int nPower = -1; nPower >= -nDecimals; --nPower)
            strOut.push_back(DigitAt(nPower));
    }
    return strOut;
}
