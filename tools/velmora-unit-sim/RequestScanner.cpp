#include "RequestScanner.h"

namespace
{
constexpr std::array<uint8_t, 4> PollRequest{0x04, 0x76, 0xFD, 0x15};
} // namespace

int RequestScanner::Feed(const uint8_t* pBytes, size_t nCount)
{
    int nRequests = 0;
    for (size_t i = 0; i < nCount; ++i) {
        m_abLast = {m_abLast[1], m_abLast[2], m_abLast[3], pBytes[i]};
        if (m_nSeen < m_abLast.size())
            ++m_nSeen;
        if (m_nSeen == m_abLast.size() && m_abLast == PollRequest) {
            ++nRequests;
            // A request's bytes never count towards the next one.
            m_nSeen = 0;
        }
    }
    return nRequests;
}
