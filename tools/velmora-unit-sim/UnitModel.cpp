#include "UnitModel.h"

#include <algorithm>
#include <sstream>

namespace
{
constexpr int64_t SweepPeriodMs = 60000;
constexpr uint8_t GarbageByte = 0xAA;
constexpr uint8_t ExtraByte = 0x55;
constexpr size_t SplitPieces = 3;
} // namespace

uint16_t SweepReading(int nChannelIndex, int64_t nElapsedMs)
{
    const int64_t nPhase = (std::max<int64_t>(nElapsedMs, 0) + nChannelIndex * SweepPeriodMs / 3) % SweepPeriodMs;
    const int64_t nHalf = SweepPeriodMs / 2;
    const int64_t nUp = nPhase < nHalf ? nPhase : SweepPeriodMs - nPhase;
    return static_cast<uint16_t>(nUp * 1023 / nHalf);
}

UnitModel::UnitModel(const SimOptions& options)
    : m_anChannel(options.m_anChannel)
    , m_abSweeping{options.m_bSweep, options.m_bSweep, options.m_bSweep}
    , m_vFaults(options.m_vFaults)
    , m_nSplitPauseMs(options.m_nSplitPauseMs)
    , m_nGarbage(options.m_nGarbage)
    , m_nExtra(options.m_nExtra)
    , m_nShortLength(options.m_nShortLength)
{
}

bool UnitModel::HasFault(SimFault fault) const
{
    return std::find(m_vFaults.begin(), m_vFaults.end(), fault) != m_vFaults.end();
}

std::array<uint16_t, 3> UnitModel::Readings(int64_t nElapsedMs) const
{
    std::array<uint16_t, 3> anReadings = m_anChannel;
    for (size_t i = 0; i < anReadings.size(); ++i) {
        if (m_abSweeping[i])
            anReadings[i] = SweepReading(static_cast<int>(i), nElapsedMs);
    }
    return anReadings;
}

std::vector<AnswerPiece> UnitModel::Answer(int64_t nElapsedMs) const
{
    if (HasFault(SimFault::Silent))
        return {};

    std::vector<uint8_t> vAnswer(AnswerSize);
    vAnswer[0] = 0x04;
    vAnswer[1] = 0x76;
    vAnswer[2] = 0xFD;
    vAnswer[3] = HasFault(SimFault::WrongHeader) ? 0x17 : 0x16;
    const std::array<uint16_t, 3> anReadings = Readings(nElapsedMs);
    for (size_t i = 0; i < anReadings.size(); ++i) {
        vAnswer[9 + 2 * i] = static_cast<uint8_t>(anReadings[i] >> 8);
        vAnswer[10 + 2 * i] = static_cast<uint8_t>(anReadings[i] & 0xFF);
    }
    // A recognisable filler, so a dump shows where the readings end.
    for (size_t i = 15; i < AnswerSize; ++i)
        vAnswer[i] = static_cast<uint8_t>(i);

    if (HasFault(SimFault::Short))
        vAnswer.resize(static_cast<size_t>(m_nShortLength));
    if (HasFault(SimFault::Garbage))
        vAnswer.insert(vAnswer.begin(), static_cast<size_t>(m_nGarbage), GarbageByte);
    if (HasFault(SimFault::Extra))
        vAnswer.insert(vAnswer.end(), static_cast<size_t>(m_nExtra), ExtraByte);

    if (!HasFault(SimFault::Split))
        return {AnswerPiece{0, std::move(vAnswer)}};

    std::vector<AnswerPiece> vPieces;
    const size_t nPieceSize = (vAnswer.size() + SplitPieces - 1) / SplitPieces;
    for (size_t nStart = 0; nStart < vAnswer.size(); nStart += nPieceSize) {
        const size_t nEnd = std::min(vAnswer.size(), nStart + nPieceSize);
        vPieces.push_back(AnswerPiece{vPieces.empty() ? 0 : m_nSplitPauseMs,
                                      std::vector<uint8_t>(vAnswer.begin() + static_cast<std::ptrdiff_t>(nStart),
                                                           vAnswer.begin() + static_cast<std::ptrdiff_t>(nEnd))});
    }
    return vPieces;
}

bool UnitModel::ApplyCommand(const std::string& strLine, std::string& strError)
{
    std::istringstream stream(strLine);
    std::string strFirst;
    std::string strSecond;
    std::string strRest;
    stream >> strFirst >> strSecond >> strRest;
    if (strFirst.empty() && strSecond.empty())
        return true; // blank lines are harmless
    if (strSecond.empty() || !strRest.empty()) {
        strError = "expected \"CHANNEL VALUE\" or \"fault NAME\", got \"" + strLine + "\"";
        return false;
    }

    if (strFirst == "fault") {
        if (strSecond == "none") {
            m_vFaults.clear();
            return true;
        }
        SimFault fault{};
        if (!ParseFaultName(strSecond, fault)) {
            strError = "unknown fault " + strSecond;
            return false;
        }
        if (!HasFault(fault))
            m_vFaults.push_back(fault);
        return true;
    }

    long nChannel = 0;
    long nValue = 0;
    if (!ParseBoundedInt(strFirst, 1, 3, nChannel) || !ParseBoundedInt(strSecond, 0, 65535, nValue)) {
        strError = "a channel from 1 to 3 and a value from 0 to 65535, e.g. \"2 512\"; got \"" + strLine + "\"";
        return false;
    }
    m_anChannel[static_cast<size_t>(nChannel - 1)] = static_cast<uint16_t>(nValue);
    m_abSweeping[static_cast<size_t>(nChannel - 1)] = false;
    return true;
}
