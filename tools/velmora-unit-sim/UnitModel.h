#pragma once

#include "SimOptions.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One stretch of bytes that goes out after a pause.
struct AnswerPiece
{
    int m_nPauseMs = 0;
    std::vector<uint8_t> m_vBytes;
};

// What the simulated unit holds and sends: the three channel readings (fixed or sweeping), the active
// faults, and the answer to one poll request laid out as the unit lays it out.
class UnitModel
{
public:
    static constexpr size_t AnswerSize = 150;

    explicit UnitModel(const SimOptions& options);

    // The channel readings at nElapsedMs since start; sweeping channels move, fixed ones do not.
    std::array<uint16_t, 3> Readings(int64_t nElapsedMs) const;

    // The bytes to send for one request at nElapsedMs, in pieces; no pieces when the unit stays silent.
    std::vector<AnswerPiece> Answer(int64_t nElapsedMs) const;

    // A line from standard input: "2 512", "fault split", "fault none". False with strError otherwise.
    bool ApplyCommand(const std::string& strLine, std::string& strError);

    bool HasFault(SimFault fault) const;

private:
    std::array<uint16_t, 3> m_anChannel;
    std::array<bool, 3> m_abSweeping;
    std::vector<SimFault> m_vFaults;
    int m_nSplitPauseMs;
    int m_nGarbage;
    int m_nExtra;
    int m_nShortLength;
};

// A sweep reading: a triangle between 0 and 1023 with a 60 s period, each channel a third out of phase.
uint16_t SweepReading(int nChannelIndex, int64_t nElapsedMs);
