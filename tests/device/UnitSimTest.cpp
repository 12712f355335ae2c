// The simulated unit's logic: finding requests, laying out answers and faults, pacing, options.
#include "OutputSchedule.h"
#include "RequestScanner.h"
#include "SimOptions.h"
#include "UnitModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<uint8_t> Bytes(std::initializer_list<int> vValues)
{
    std::vector<uint8_t> vBytes;
    for (const int nValue : vValues)
        vBytes.push_back(static_cast<uint8_t>(nValue));
    return vBytes;
}

std::vector<uint8_t> Joined(const std::vector<AnswerPiece>& vPieces)
{
    std::vector<uint8_t> vAll;
    for (const AnswerPiece& piece : vPieces)
        vAll.insert(vAll.end(), piece.m_vBytes.begin(), piece.m_vBytes.end());
    return vAll;
}

SimOptions Options(std::vector<SimFault> vFaults = {})
{
    SimOptions options;
    options.m_anChannel = {0x03FF, 0x1234, 0xFFFF};
    options.m_vFaults = std::move(vFaults);
    return options;
}
} // namespace

struct ScanCase
{
    const char* m_szName;
    std::vector<std::vector<uint8_t>> m_vChunks;
    std::vector<int> m_vExpected; // requests completed in each chunk
};

TEST(RequestScanner, FindsRequestsAnywhereInTheStream)
{
    const ScanCase aCases[] = {
        {"one request", {Bytes({0x04, 0x76, 0xFD, 0x15})}, {1}},
        {"split over reads", {Bytes({0x04, 0x76}), Bytes({0xFD}), Bytes({0x15})}, {0, 0, 1}},
        {"after noise", {Bytes({0x00, 0x04, 0x04, 0x76, 0xFD, 0x15})}, {1}},
        {"two back to back", {Bytes({0x04, 0x76, 0xFD, 0x15, 0x04, 0x76, 0xFD, 0x15})}, {2}},
        {"answer code is no request", {Bytes({0x04, 0x76, 0xFD, 0x16})}, {0}},
        {"broken request", {Bytes({0x04, 0x76, 0x00, 0xFD, 0x15})}, {0}},
        {"empty read", {Bytes({})}, {0}},
    };
    for (const ScanCase& c : aCases) {
        RequestScanner scanner;
        for (size_t i = 0; i < c.m_vChunks.size(); ++i)
            EXPECT_EQ(scanner.Feed(c.m_vChunks[i].data(), c.m_vChunks[i].size()), c.m_vExpected[i]) << c.m_szName << " #" << i;
    }
}

TEST(UnitModel, AnswerCarriesTheHeaderAndTheChannelsHighByteFirst)
{
    const std::vector<AnswerPiece> vPieces = UnitModel(Options()).Answer(0);
    ASSERT_EQ(vPieces.size(), 1u);
    const std::vector<uint8_t>& vAnswer = vPieces.front().m_vBytes;
    ASSERT_EQ(vAnswer.size(), 150u);
    EXPECT_EQ(std::vector<uint8_t>(vAnswer.begin(), vAnswer.begin() + 4), Bytes({0x04, 0x76, 0xFD, 0x16}));
    EXPECT_EQ(std::vector<uint8_t>(vAnswer.begin() + 9, vAnswer.begin() + 15),
              Bytes({0x03, 0xFF, 0x12, 0x34, 0xFF, 0xFF}));
}

struct FaultCase
{
    const char* m_szName;
    std::vector<SimFault> m_vFaults;
    size_t m_nPieces;
    size_t m_nTotal;
    size_t m_nHeaderAt; // where 04 76 FD starts
    uint8_t m_byteCode; // the byte after it
};

TEST(UnitModel, FaultsChangeTheAnswerAsNamed)
{
    const FaultCase aCases[] = {
        {"none", {}, 1, 150, 0, 0x16},
        {"wrong header", {SimFault::WrongHeader}, 1, 150, 0, 0x17},
        {"short", {SimFault::Short}, 1, 100, 0, 0x16},
        {"garbage", {SimFault::Garbage}, 1, 160, 10, 0x16},
        {"extra", {SimFault::Extra}, 1, 160, 0, 0x16},
        {"split", {SimFault::Split}, 3, 150, 0, 0x16},
        {"garbage and split", {SimFault::Garbage, SimFault::Split}, 3, 160, 10, 0x16},
    };
    for (const FaultCase& c : aCases) {
        const std::vector<AnswerPiece> vPieces = UnitModel(Options(c.m_vFaults)).Answer(0);
        ASSERT_EQ(vPieces.size(), c.m_nPieces) << c.m_szName;
        const std::vector<uint8_t> vAll = Joined(vPieces);
        ASSERT_EQ(vAll.size(), c.m_nTotal) << c.m_szName;
        EXPECT_EQ(std::vector<uint8_t>(vAll.begin() + static_cast<std::ptrdiff_t>(c.m_nHeaderAt),
                                       vAll.begin() + static_cast<std::ptrdiff_t>(c.m_nHeaderAt + 4)),
                  Bytes({0x04, 0x76, 0xFD, c.m_byteCode}))
            << c.m_szName;
        EXPECT_EQ(vPieces.front().m_nPauseMs, 0) << c.m_szName;
        for (size_t i = 1; i < vPieces.size(); ++i)
            EXPECT_EQ(vPieces[i].m_nPauseMs, 200) << c.m_szName;
    }
    EXPECT_TRUE(UnitModel(Options({SimFault::Silent})).Answer(0).empty());
}

TEST(UnitModel, StandardInputCommandsChangeChannelsAndFaults)
{
    UnitModel model(Options());
    std::string strError;
    EXPECT_TRUE(model.ApplyCommand("2 512", strError));
    EXPECT_TRUE(model.ApplyCommand("  3   0  ", strError));
    EXPECT_EQ(model.Readings(0), (std::array<uint16_t, 3>{0x03FF, 512, 0}));

    EXPECT_TRUE(model.ApplyCommand("fault split", strError));
    EXPECT_TRUE(model.ApplyCommand("fault silent", strError));
    EXPECT_TRUE(model.HasFault(SimFault::Split));
    EXPECT_TRUE(model.Answer(0).empty());
    EXPECT_TRUE(model.ApplyCommand("fault none", strError));
    EXPECT_EQ(model.Answer(0).size(), 1u);

    const char* const aszBad[] = {"4 1", "0 1", "2 65536", "2 -1", "2", "2 5 6", "x 1", "2 0x10", "fault nosuch"};
    for (const char* szLine : aszBad) {
        strError.clear();
        EXPECT_FALSE(model.ApplyCommand(szLine, strError)) << szLine;
        EXPECT_FALSE(strError.empty()) << szLine;
    }
    EXPECT_EQ(model.Readings(0), (std::array<uint16_t, 3>{0x03FF, 512, 0}));
}

TEST(UnitModel, SweepMovesWithinTheTableRangeAndASetChannelStops)
{
    SimOptions options = Options();
    options.m_bSweep = true;
    UnitModel model(options);
    bool bMoved = false;
    for (int64_t nMs = 0; nMs <= 120000; nMs += 250) {
        const auto anReadings = model.Readings(nMs);
        for (const uint16_t nReading : anReadings)
            ASSERT_LE(nReading, 1023) << nMs;
        bMoved = bMoved || anReadings != model.Readings(0);
    }
    EXPECT_TRUE(bMoved);
    EXPECT_EQ(SweepReading(0, 0), 0);
    EXPECT_EQ(SweepReading(0, 30000), 1023);

    std::string strError;
    ASSERT_TRUE(model.ApplyCommand("1 700", strError));
    EXPECT_EQ(model.Readings(12345)[0], 700);
    EXPECT_EQ(model.Readings(12345)[1], SweepReading(1, 12345));
}

TEST(OutputSchedule, PacedBytesFollowEachOtherAtTheByteTimeAndPausesAddUp)
{
    OutputSchedule schedule(true);
    const int64_t nStart = 1000000;
    ASSERT_TRUE(schedule.Add({AnswerPiece{0, {1, 2}}, AnswerPiece{200, {3}}}, nStart));
    const int64_t nByte = OutputSchedule::ByteTimeUs;
    EXPECT_EQ(nByte, 4166); // 2400 baud, 10 bits a byte
    EXPECT_EQ(schedule.DueCount(nStart), 1u);
    EXPECT_EQ(schedule.WaitUs(nStart), 0);
    EXPECT_EQ(schedule.DueCount(nStart + nByte - 1), 1u);
    EXPECT_EQ(schedule.DueCount(nStart + nByte), 2u);
    // The third byte comes one byte time after the second, plus the pause.
    EXPECT_EQ(schedule.DueCount(nStart + 2 * nByte + 200000 - 1), 2u);
    EXPECT_EQ(schedule.DueCount(nStart + 2 * nByte + 200000), 3u);

    uint8_t abOut[8];
    ASSERT_EQ(schedule.PeekDue(nStart + nByte, abOut, sizeof abOut), 2u);
    EXPECT_EQ(abOut[0], 1);
    EXPECT_EQ(abOut[1], 2);
    schedule.Consume(2);
    EXPECT_EQ(schedule.WaitUs(nStart + nByte), nByte + 200000);

    // A second answer queues behind the first, not at once.
    ASSERT_TRUE(schedule.Add({AnswerPiece{0, {4}}}, nStart + nByte));
    EXPECT_EQ(schedule.DueCount(nStart + 3 * nByte + 200000 - 1), 1u);
    EXPECT_EQ(schedule.DueCount(nStart + 3 * nByte + 200000), 2u);
}

TEST(OutputSchedule, UnpacedBytesAreDueAtOnceAndTheQueueIsBounded)
{
    OutputSchedule schedule(false);
    ASSERT_TRUE(schedule.Add({AnswerPiece{0, std::vector<uint8_t>(150, 7)}, AnswerPiece{50, {8}}}, 0));
    EXPECT_EQ(schedule.DueCount(0), 150u);
    EXPECT_EQ(schedule.DueCount(50000), 151u);
    EXPECT_EQ(schedule.WaitUs(0), 0);

    OutputSchedule full(false);
    const std::vector<AnswerPiece> vAnswer{AnswerPiece{0, std::vector<uint8_t>(150, 1)}};
    size_t nAdded = 0;
    while (full.Add(vAnswer, 0))
        ++nAdded;
    EXPECT_EQ(nAdded, OutputSchedule::MaxPending / 150);
    EXPECT_LE(full.Pending(), OutputSchedule::MaxPending);
    EXPECT_EQ(full.WaitUs(0), 0);
    EXPECT_EQ(OutputSchedule(false).WaitUs(0), -1);
}

struct OptionsCase
{
    std::vector<std::string> m_vArgs;
    SimCommand m_command;
};

TEST(SimOptions, CommandLineIsReadOrRejectedWithAReason)
{
    SimOptions options;
    std::string strError;
    ASSERT_EQ(ParseSimOptions({"--values", "1,1023,65535", "--no-pacing", "--sweep", "--link", "/tmp/unit", "--fault",
                               "split", "--fault", "garbage", "--split-pause", "50", "--garbage", "3", "--extra", "4",
                               "--short", "20"},
                              options, strError),
              SimCommand::Run)
        << strError;
    EXPECT_EQ(options.m_anChannel, (std::array<uint16_t, 3>{1, 1023, 65535}));
    EXPECT_FALSE(options.m_bPacing);
    EXPECT_TRUE(options.m_bSweep);
    EXPECT_EQ(options.m_strLink, "/tmp/unit");
    EXPECT_EQ(options.m_vFaults, (std::vector<SimFault>{SimFault::Split, SimFault::Garbage}));
    EXPECT_EQ(options.m_nSplitPauseMs, 50);
    EXPECT_EQ(options.m_nGarbage, 3);
    EXPECT_EQ(options.m_nExtra, 4);
    EXPECT_EQ(options.m_nShortLength, 20);

    const OptionsCase aCases[] = {
        {{}, SimCommand::Run},
        {{"--help"}, SimCommand::Help},
        {{"--values", "1,2"}, SimCommand::Error},
        {{"--values", "1,2,3,4"}, SimCommand::Error},
        {{"--values", "1,2,65536"}, SimCommand::Error},
        {{"--values", "1,,3"}, SimCommand::Error},
        {{"--values"}, SimCommand::Error},
        {{"--fault", "loud"}, SimCommand::Error},
        {{"--short", "150"}, SimCommand::Error},
        {{"--garbage", "0"}, SimCommand::Error},
        {{"--split-pause", "-1"}, SimCommand::Error},
        {{"--nonsense"}, SimCommand::Error},
        {{"stray"}, SimCommand::Error},
    };
    for (const OptionsCase& c : aCases) {
        SimOptions caseOptions;
        strError.clear();
        const std::string strArgs = c.m_vArgs.empty() ? "(none)" : c.m_vArgs.front();
        EXPECT_EQ(ParseSimOptions(c.m_vArgs, caseOptions, strError), c.m_command) << strArgs;
        EXPECT_EQ(strError.empty(), c.m_command != SimCommand::Error) << strArgs;
    }
}

TEST(SimOptions, HelpTellsEveryOptionAndCommand)
{
    const std::string strHelp = SimHelpText();
    for (const char* szWord : {"--values", "--sweep", "--link", "--no-pacing", "--fault", "wrong-header", "short", "split",
                               "garbage", "extra", "silent", "--split-pause", "--garbage", "--extra", "--short",
                               "2 512", "fault none", "SIGINT", "SIGTERM", "04 76 FD 15", "04 76 FD 16"})
        EXPECT_NE(strHelp.find(szWord), std::string::npos) << szWord;
}
