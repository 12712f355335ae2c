// The table's number format against the slow exact-decimal formatting of the same value, for any double and
// any number of decimals FormatFixed takes.
#include "ExactDecimal.h"
#include "FixedFormat.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    FuzzInput input(pData, nSize);
    while (!input.AtEnd()) {
        const uint8_t nChoice = input.TakeByte();
        const int nDecimals = nChoice % 18;
        double dValue = 0.0;
        if (nChoice & 0x80) {
            // A short binary fraction (n / 2^k): exact halves and near-halves, where rounding goes wrong.
            uint32_t nBits = 0;
            for (int i = 0; i < 4; ++i)
                nBits = nBits << 8 | input.TakeByte();
            const int nShift = input.TakeByte() % 64;
            dValue = std::ldexp(static_cast<double>(static_cast<int32_t>(nBits)), -nShift);
        } else {
            dValue = input.TakeDoubleBits();
        }
        if (!std::isfinite(dValue))
            continue;
        const std::string strGot = FormatFixed(dValue, nDecimals);
        const std::string strExpected = ReferenceFixed(dValue, nDecimals);
        char szExact[40];
        std::snprintf(szExact, sizeof szExact, "%.17g", dValue);
        FuzzRequire(strGot == strExpected, "FormatFixed(" + std::string(szExact) + ", " + std::to_string(nDecimals) +
                                               ") gave " + strGot + ", expected " + strExpected);
    }
    return 0;
}
