#pragma once

#include "UnitModel.h"

#include <cstdint>
#include <deque>
#include <vector>

// The bytes waiting to go out to the tool, each with the time it is due, so answers are paced as a real
// unit at 2400 baud 8N1 sends them (10 bits a byte) and split answers keep their pauses.
class OutputSchedule
{
public:
    static constexpr int64_t ByteTimeUs = 10 * 1000000 / 2400;
    // A tool that stops reading must not make the simulator grow without bound.
    static constexpr size_t MaxPending = 65536;

    explicit OutputSchedule(bool bPacing);

    // Queues the pieces of one answer after everything already queued; false (nothing queued) when full.
    bool Add(const std::vector<AnswerPiece>& vPieces, int64_t nNowUs);

    // How many bytes at the front are due at nNowUs.
    size_t DueCount(int64_t nNowUs) const;

    // Microseconds from nNowUs until the front byte is due (0 if due now); -1 when nothing waits.
    int64_t WaitUs(int64_t nNowUs) const;

    // Copies up to nMax due bytes to pOut without removing them; returns how many.
    size_t PeekDue(int64_t nNowUs, uint8_t* pOut, size_t nMax) const;

    // Removes nCount bytes from the front (those written).
    void Consume(size_t nCount);

    size_t Pending() const { return m_dBytes.size(); }

private:
    struct TimedByte
    {
        int64_t m_nDueUs;
        uint8_t m_byte;
    };

    bool m_bPacing;
    int64_t m_nLastDueUs = INT64_MIN / 2; // long before any byte
    std::deque<TimedByte> m_dBytes;
};
