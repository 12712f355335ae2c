#include "FuzzInput.h"

#include <algorithm>
#include <cstring>

uint8_t FuzzInput::TakeByte()
{
    return AtEnd() ? 0 : m_pData[m_nPos++];
}

std::string_view FuzzInput::TakeBytes(size_t nCount)
{
    nCount = std::min(nCount, Remaining());
    const std::string_view str(reinterpret_cast<const char*>(m_pData + m_nPos), nCount);
    m_nPos += nCount;
    return str;
}

std::string_view FuzzInput::TakeRest()
{
    return TakeBytes(Remaining());
}

double FuzzInput::TakeDoubleBits()
{
    uint64_t nBits = 0;
    for (int i = 0; i < 8; ++i)
        nBits = (nBits << 8) | TakeByte();
    double d = 0.0;
    std::memcpy(&d, &nBits, sizeof d);
    return d;
}
