#include "OutputSchedule.h"

#include <algorithm>

OutputSchedule::OutputSchedule(bool bPacing)
    : m_bPacing(bPacing)
{
}

bool OutputSchedule::Add(const std::vector<AnswerPiece>& vPieces, int64_t nNowUs)
{
    size_t nTotal = 0;
    for (const AnswerPiece& piece : vPieces)
        nTotal += piece.m_vBytes.size();
    if (nTotal > MaxPending - m_dBytes.size())
        return false;

    const int64_t nStep = m_bPacing ? ByteTimeUs : 0;
    // A byte goes one byte time after the one before it (or now, when the line has been idle that long);
    // a piece after the first waits its pause on top.
    int64_t nNext = std::max(nNowUs, m_nLastDueUs + nStep);
    for (size_t k = 0; k < vPieces.size(); ++k) {
        if (k > 0)
            nNext += static_cast<int64_t>(vPieces[k].m_nPauseMs) * 1000;
        for (const uint8_t byte : vPieces[k].m_vBytes) {
            m_dBytes.push_back(TimedByte{nNext, byte});
            m_nLastDueUs = nNext;
            nNext += nStep;
        }
    }
    return true;
}

size_t OutputSchedule::DueCount(int64_t nNowUs) const
{
    size_t nCount = 0;
    while (nCount < m_dBytes.size() && m_dBytes[nCount].m_nDueUs <= nNowUs)
        ++nCount;
    return nCount;
}

int64_t OutputSchedule::WaitUs(int64_t nNowUs) const
{
    if (m_dBytes.empty())
        return -1;
    return std::max<int64_t>(0, m_dBytes.front().m_nDueUs - nNowUs);
}

size_t OutputSchedule::PeekDue(int64_t nNowUs, uint8_t* pOut, size_t nMax) const
{
    size_t nCount = 0;
    while (nCount < nMax && nCount < m_dBytes.size() && m_dBytes[nCount].m_nDueUs <= nNowUs) {
        pOut[nCount] = m_dBytes[nCount].m_byte;
        ++nCount;
    }
    return nCount;
}

void OutputSchedule::Consume(size_t nCount)
{
    m_dBytes.erase(m_dBytes.begin(), m_dBytes.begin() + static_cast<std::ptrdiff_t>(std::min(nCount, m_dBytes.size())));
}
