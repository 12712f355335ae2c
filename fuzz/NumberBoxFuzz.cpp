// The number boxes' parser against a regular expression and std::from_chars, and the text a box is loaded
// with read back by the same parser: a box must accept what it shows itself.
#include "FuzzCheck.h"
#include "NumberBox.h"
#include "ReferenceNumber.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace
{
constexpr size_t MaxComparedLength = 1024;

std::string Show(const std::optional<double>& dValue)
{
    return dValue ? std::to_string(*dValue) : std::string("refused");
}

void CheckAgainstReference(std::string_view strText, const std::optional<double>& dParsed)
{
    char cFirst = 0;
    const std::optional<ReferenceValue> expected = ReferenceBoxNumber(strText, cFirst);
    const std::string strWhat = "ParseNumberBox(\"" + FuzzEscape(strText) + "\") gave " + Show(dParsed);
    if (!expected) {
        FuzzRequire(!dParsed, strWhat + ", expected refused (not a number box text)");
        return;
    }
    if (expected->m_bOutOfRange) {
        // Infinite is refused; a value that underflowed to zero is kept only when written with a leading 0.
        if (dParsed)
            FuzzRequire((*dParsed == 0.0 && cFirst == '0') || std::fpclassify(*dParsed) == FP_SUBNORMAL,
                        strWhat + ", expected refused or an underflow");
        return;
    }
    const double dValue = expected->m_dValue;
    const bool bAccepted = std::isfinite(dValue) && (dValue != 0.0 || cFirst == '0');
    if (!bAccepted) {
        FuzzRequire(!dParsed, strWhat + ", expected refused");
        return;
    }
    FuzzRequire(dParsed && std::memcmp(&*dParsed, &dValue, sizeof dValue) == 0,
                strWhat + ", expected " + std::to_string(dValue));
}

void CheckShownTextReadsBack(double dValue)
{
    if (!std::isfinite(dValue))
        return;
    const std::string strShown = FormatNumberBox(dValue);
    const std::optional<double> dBack = ParseNumberBox(strShown);
    FuzzRequire(dBack.has_value(), "the box shows \"" + strShown + "\" for " + std::to_string(dValue) +
                                       " and then refuses it");
    FuzzRequire(FormatNumberBox(*dBack) == strShown,
                "\"" + strShown + "\" read back shows as \"" + FormatNumberBox(*dBack) + "\"");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string_view strText(reinterpret_cast<const char*>(pData), nSize);
    const std::optional<double> dParsed = ParseNumberBox(strText);
    if (nSize <= MaxComparedLength)
        CheckAgainstReference(strText, dParsed);
    if (dParsed)
        CheckShownTextReadsBack(*dParsed);
    // Any bit pattern as a value the window may hold (e.g. after the step buttons).
    if (nSize >= 8) {
        double dBits = 0.0;
        std::memcpy(&dBits, pData, sizeof dBits);
        CheckShownTextReadsBack(dBits);
    }
    return 0;
}
