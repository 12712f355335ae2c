#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Reads a fuzzer's bytes as a script: single bytes for choices, runs of bytes for data. Past the end every
// read gives zeros or nothing, so a script never reads outside its input.
class FuzzInput
{
public:
    FuzzInput(const uint8_t* pData, size_t nSize)
        : m_pData(pData)
        , m_nSize(nSize)
    {
    }

    bool AtEnd() const { return m_nPos >= m_nSize; }
    size_t Remaining() const { return m_nSize - m_nPos; }

    uint8_t TakeByte();
    // Up to nCount bytes, fewer at the end of the input.
    std::string_view TakeBytes(size_t nCount);
    std::string_view TakeRest();
    // Eight bytes as the bits of a double (any value, NaN and infinities included).
    double TakeDoubleBits();

private:
    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
};
