#include "LeadingNumber.h"

#include "DecimalText.h"

#include <climits>

namespace
{
// White space as the C library's isspace sees it in the "C" locale.
bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

size_t SkipWhiteSpace(std::string_view strText)
{
    size_t n = 0;
    while (n < strText.size() && IsWhiteSpace(strText[n]))
        ++n;
    return n;
}
}

int ParseLeadingInt(std::string_view strText)
{
    size_t n = SkipWhiteSpace(strText);
    bool bNegative = false;
    if (n < strText.size() && (strText[n] == '+' || strText[n] == '-'))
        bNegative = strText[n++] == '-';
    // Accumulate towards the sign's side so INT_MIN itself is reachable; saturate beyond.
    long long nValue = 0;
    for (; n < strText.size() && strText[n] >= '0' && strText[n] <= '9'; ++n)
    {
        const int nDigit = strText[n] - '0';
        nValue = bNegative ? nValue * 10 - nDigit : nValue * 10 + nDigit;
        if (nValue > INT_MAX)
            return INT_MAX;
        if (nValue < INT_MIN)
            return INT_MIN;
    }
    return static_cast<int>(nValue);
}

double ParseLeadingDouble(std::string_view strText)
{
    const size_t nStart = SkipWhiteSpace(strText);
    const size_t nEnd = ScanDecimal(strText, nStart, false);
    if (nEnd == nStart)
        return 0.0;
    return ConvertDecimal(strText.substr(nStart, nEnd - nStart));
}
