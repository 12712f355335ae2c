#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Finds poll requests 04 76 FD 15 in the byte stream from the tool, also when a request is split across
// reads or follows stray bytes.
class RequestScanner
{
public:
    // Takes the next bytes of the stream; returns how many requests ended inside them.
    int Feed(const uint8_t* pBytes, size_t nCount);

private:
    std::array<uint8_t, 4> m_abLast{};
    size_t m_nSeen = 0;
};
