#include "ExactDecimal.h"

#include <cmath>
#include <cstdint>

namespace
{
// Multiplies a big-endian decimal digit string by a factor below 2^59 (digit x factor + carry fits 64 bits).
void MultiplyBy(std::string& strDigits, uint64_t nFactor)
{
    uint64_t nCarry = 0;
    for (size_t i = strDigits.size(); i-- > 0;) {
        const uint64_t n = static_cast<uint64_t>(strDigits[i] - '0') * nFactor + nCarry;
        strDigits[i] = static_cast<char>('0' + n % 10);
        nCarry = n / 10;
    }
    while (nCarry > 0) {
        strDigits.insert(strDigits.begin(), static_cast<char>('0' + nCarry % 10));
        nCarry /= 10;
    }
}

// Rounds at digit index nAt (keeps digits before it), half away from zero on the magnitude, and zeroes the
// digits from nAt on. A carry out of the first digit adds an integer digit.
void RoundAt(ExactDecimal& dec, size_t nAt)
{
    if (nAt >= dec.m_strDigits.size())
        return;
    const bool bUp = dec.m_strDigits[nAt] >= '5';
    for (size_t i = nAt; i < dec.m_strDigits.size(); ++i)
        dec.m_strDigits[i] = '0';
    if (!bUp)
        return;
    size_t i = nAt;
    while (i > 0) {
        --i;
        if (dec.m_strDigits[i] != '9') {
            ++dec.m_strDigits[i];
            return;
        }
        dec.m_strDigits[i] = '0';
    }
    dec.m_strDigits.insert(dec.m_strDigits.begin(), '1');
    ++dec.m_nIntDigits;
}
} // namespace

ExactDecimal ExpandExactly(double dValue)
{
    int nExponent = 0;
    const double dFraction = std::frexp(std::fabs(dValue), &nExponent);
    // The magnitude is nMantissa x 2^nExponent with an integer mantissa of at most 53 bits.
    const auto nMantissa = static_cast<uint64_t>(std::ldexp(dFraction, 53));
    nExponent -= 53;

    ExactDecimal dec;
    dec.m_strDigits = std::to_string(nMantissa);
    if (nExponent >= 0) {
        // By 2^32 at a time, then the rest: the same product, fewer passes.
        int nLeft = nExponent;
        for (; nLeft >= 32; nLeft -= 32)
            MultiplyBy(dec.m_strDigits, uint64_t{1} << 32);
        MultiplyBy(dec.m_strDigits, uint64_t{1} << nLeft);
        dec.m_nIntDigits = static_cast<int>(dec.m_strDigits.size());
        return dec;
    }
    const int nPlaces = -nExponent;
    // 5^-e by 5^20 (about 9.5e13) at a time, then the rest.
    constexpr uint64_t FivePow20 = 95367431640625;
    int nLeft = nPlaces;
    for (; nLeft >= 20; nLeft -= 20)
        MultiplyBy(dec.m_strDigits, FivePow20);
    for (; nLeft > 0; --nLeft)
        MultiplyBy(dec.m_strDigits, 5);
    // Now the digits hold the value times 10^nPlaces: put the point nPlaces from the right.
    if (static_cast<int>(dec.m_strDigits.size()) <= nPlaces)
        dec.m_strDigits.insert(0, static_cast<size_t>(nPlaces) + 1 - dec.m_strDigits.size(), '0');
    dec.m_nIntDigits = static_cast<int>(dec.m_strDigits.size()) - nPlaces;
    return dec;
}

std::string ReferenceFixed(double dValue, int nDecimals)
{
    ExactDecimal dec = ExpandExactly(dValue);
    const size_t nFirst = dec.m_strDigits.find_first_not_of('0');
    if (nFirst != std::string::npos)
        RoundAt(dec, nFirst + 17);
    // Enough fraction digits to round at the N-th.
    const size_t nNeeded = static_cast<size_t>(dec.m_nIntDigits + nDecimals) + 1;
    if (dec.m_strDigits.size() < nNeeded)
        dec.m_strDigits.append(nNeeded - dec.m_strDigits.size(), '0');
    RoundAt(dec, static_cast<size_t>(dec.m_nIntDigits + nDecimals));

    std::string strInt = dec.m_strDigits.substr(0, static_cast<size_t>(dec.m_nIntDigits));
    strInt.erase(0, std::min(strInt.find_first_not_of('0'), strInt.size() - 1));
    std::string strOut = (dValue < 0 ? "-" : "") + strInt;
    if (nDecimals > 0)
        strOut += "." + dec.m_strDigits.substr(static_cast<size_t>(dec.m_nIntDigits), static_cast<size_t>(nDecimals));
    return strOut;
}
