// The leading-number readers of point-list cells against a regular expression and std::from_chars: any
// text, any length, never a crash, and the same number as the slow reading gives.
#include "FuzzCheck.h"
#include "LeadingNumber.h"
#include "ReferenceNumber.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
// The regular expression engine recurses per character; longer texts are only run, not compared.
constexpr size_t MaxComparedLength = 1024;

bool SameDouble(double dA, double dB)
{
    return std::memcmp(&dA, &dB, sizeof dA) == 0;
}

// strtoll in base 10 reads the same leading integer; saturate its long long to int.
int ReferenceLeadingInt(std::string_view strText)
{
    const std::string strCopy(strText); // ends at the first NUL, as the parser does
    errno = 0;
    const long long nValue = std::strtoll(strCopy.c_str(), nullptr, 10);
    if (nValue > INT_MAX)
        return INT_MAX;
    if (nValue < INT_MIN)
        return INT_MIN;
    return static_cast<int>(nValue);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string_view strText(reinterpret_cast<const char*>(pData), nSize);
    const int nParsed = ParseLeadingInt(strText);
    const double dParsed = ParseLeadingDouble(strText);
    if (nSize > MaxComparedLength)
        return 0;

    const int nExpected = ReferenceLeadingInt(strText);
    FuzzRequire(nParsed == nExpected, "ParseLeadingInt(\"" + FuzzEscape(strText) + "\") gave " +
                                          std::to_string(nParsed) + ", expected " + std::to_string(nExpected));

    const std::optional<ReferenceValue> expected = ReferenceLeadingDouble(strText);
    const std::string strWhat = "ParseLeadingDouble(\"" + FuzzEscape(strText) + "\") gave " + std::to_string(dParsed);
    if (!expected) {
        FuzzRequire(SameDouble(dParsed, 0.0), strWhat + ", expected 0");
    } else if (expected->m_bOutOfRange) {
        // Beyond the range a double holds normally: zero, a subnormal or infinity, with the number's sign.
        const int nClass = std::fpclassify(dParsed);
        FuzzRequire((nClass == FP_ZERO || nClass == FP_SUBNORMAL || nClass == FP_INFINITE) &&
                        std::signbit(dParsed) == std::signbit(expected->m_dValue),
                    strWhat + ", expected zero, a subnormal or infinity of the number's sign");
    } else {
        FuzzRequire(SameDouble(dParsed, expected->m_dValue), strWhat + ", expected " + std::to_string(expected->m_dValue));
    }
    return 0;
}
