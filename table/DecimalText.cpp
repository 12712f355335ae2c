#include "DecimalText.h"

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <locale.h>

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view strText, size_t nPos)
{
    while (nPos < strText.size() && IsDigit(strText[nPos]))
        ++nPos;
    return nPos;
}

// The "C" locale, so that the decimal point is "." whatever the user's settings are.
locale_t CLocale()
{
    static const locale_t s_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return s_locale;
}

// Digits of dMagnitude's exact decimal expansion in scientific form: the first nSignificant digits
// (the last one rounded by to_chars) and the decimal exponent.
DecimalDigits ScientificDigits(double dMagnitude, int nSignificant)
{
    // 767 significant digits plus sign, point and exponent always fit.
    std::array<char, 800> acBuffer{};
    const auto result = std::to_chars(acBuffer.data(), acBuffer.data() + acBuffer.size(), dMagnitude,
                                      std::chars_format::scientific, nSignificant - 1);
    DecimalDigits digits;
    const char* p = acBuffer.data();
    for (; p != result.ptr && *p != 'e'; ++p)
        if (IsDigit(*p))
            digits.m_strDigits.push_back(*p);
    if (p != result.ptr)
    {
        const char* pExponent = p + 1;
        if (*pExponent == '+')
            ++pExponent;
        std::from_chars(pExponent, result.ptr, digits.m_nExponent);
    }
    return digits;
}
}

size_t ScanDecimal(std::string_view strText, size_t nPos, bool bAllowD)
{
    size_t n = nPos;
    if (n < strText.size() && (strText[n] == '+' || strText[n] == '-'))
        ++n;
    const size_t nIntStart = n;
    n = SkipDigits(strText, n);
    size_t nDigits = n - nIntStart;
    if (n < strText.size() && strText[n] == '.')
    {
        const size_t nFracStart = n + 1;
        const size_t nFracEnd = SkipDigits(strText, nFracStart);
        nDigits += nFracEnd - nFracStart;
        n = nFracEnd;
    }
    if (nDigits == 0)
        return nPos;
    if (n < strText.size())
    {
        const char c = strText[n];
        if (c == 'e' || c == 'E' || (bAllowD && (c == 'd' || c == 'D')))
        {
            size_t nExp = n + 1;
            if (nExp < strText.size() && (strText[nExp] == '+' || strText[nExp] == '-'))
                ++nExp;
            const size_t nExpEnd = SkipDigits(strText, nExp);
            if (nExpEnd > nExp)
                n = nExpEnd;
        }
    }
    return n;
}

double ConvertDecimal(std::string_view strNumber)
{
    // A bounded, terminated copy of exactly the scanned text.
    std::string strCopy(strNumber);
    for (char& c : strCopy)
        if (c == 'd' || c == 'D')
            c = 'e';
    return strtod_l(strCopy.c_str(), nullptr, CLocale());
}

DecimalDigits SignificantDigits17(double dValue)
{
    const double dMagnitude = std::fabs(dValue);
    // 41 digits settle the first 18 exactly unless to_chars' own rounding carried into them, which leaves
    // digits 19 to 41 all zero; then the full expansion (at most 767 digits, always exact) decides.
    DecimalDigits digits = ScientificDigits(dMagnitude, 41);
    if (digits.m_strDigits.find_first_not_of('0', 18) == std::string::npos)
        digits = ScientificDigits(dMagnitude, 767);
    digits.m_strDigits.resize(18, '0');
    return RoundAtPower(digits, digits.m_nExponent - 16);
}

DecimalDigits RoundAtPower(const DecimalDigits& digits, int nLowestPower)
{
    const std::string& str = digits.m_strDigits;
    const long nKeep = static_cast<long>(digits.m_nExponent) - nLowestPower + 1;
    if (str.empty() || nKeep >= static_cast<long>(str.size()))
        return digits;
    if (nKeep < 0)
        return {};
    DecimalDigits rounded{str.substr(0, static_cast<size_t>(nKeep)), digits.m_nExponent};
    if (str[static_cast<size_t>(nKeep)] < '5')
        return rounded.m_strDigits.empty() ? DecimalDigits{} : rounded;
    // Halves and above go away from zero: add one at the last kept digit.
    std::string& strKept = rounded.m_strDigits;
    size_t i = strKept.size();
    while (i > 0 && strKept[i - 1] == '9')
        strKept[--i] = '0';
    if (i > 0)
        ++strKept[i - 1];
    else
    {
        strKept.insert(strKept.begin(), '1');
        ++rounded.m_nExponent;
    }
    return rounded;
}
