// The whole path for real: CDeviceLink and CMSComm on QSerialPort, a pseudo-terminal, and the
// velmora-unit-sim binary playing the unit.
#include "DeviceLink.h"

#include "EventWait.h"
#include "ScopedPortMap.h"
#include "SimProcess.h"
#include "WatchedLink.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace
{
constexpr int TestPollPeriodMs = 500;
} // namespace

TEST(DeviceIntegration, EachChannelsReadingArrives)
{
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--values"), QStringLiteral("100,2000,65535")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    ScopedPortMap portMap(MapCom1To(sim.DevicePath()));
    WatchedLink watched(TestPollPeriodMs);
    watched.m_link.OpenPort(0);
    ASSERT_TRUE(watched.m_link.IsPolling());

    const std::pair<int, const char*> aCases[] = {{0, "100"}, {1, "2000"}, {2, "65535"}, {0, "100"}};
    for (const auto& [nChannel, szExpected] : aCases) {
        watched.m_nChannel = nChannel;
        EXPECT_TRUE(watched.WaitForText(QString::fromLatin1(szExpected))) << "channel " << nChannel;
    }
    EXPECT_EQ(watched.m_link.Reading(), 100);
    EXPECT_TRUE(watched.m_vLossMessages.empty());
    EXPECT_TRUE(watched.m_vPollErrors.empty());
}

TEST(DeviceIntegration, PacedAnswerArrivesWholeAtTheProgramsOwnPeriod)
{
    SimProcess sim({QStringLiteral("--values"), QStringLiteral("1023,0,0")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    ScopedPortMap portMap(MapCom1To(sim.DevicePath()));
    int nChannel = 0;
    CDeviceLink link(nChannel);
    std::vector<QString> vTexts;
    QObject::connect(&link, &CDeviceLink::ReadingTextChanged, [&](const QString& strText) { vTexts.push_back(strText); });
    link.OpenPort(0);
    EXPECT_EQ(link.PollPeriod(), 2000);
    // First tick after 2 s, then about 625 ms of answer at 2400 baud.
    ASSERT_TRUE(WaitFor([&] { return !vTexts.empty(); }, 15000));
    EXPECT_EQ(vTexts, std::vector<QString>{QStringLiteral("1023")});
    EXPECT_EQ(link.Frame().left(4), QByteArray::fromHex("0476FD16"));
}

struct FaultCase
{
    const char* m_szName;
    QStringList m_vArgs;
    bool m_bAccepted;
    bool m_bEvents; // whether the control raises receive events at all
};

TEST(DeviceIntegration, FaultyAnswersAreAcceptedOnlyWhenTheFirst150BytesAreAWholeAnswer)
{
    const FaultCase aCases[] = {
        {"split into pieces", {QStringLiteral("--fault"), QStringLiteral("split"), QStringLiteral("--split-pause"),
                               QStringLiteral("100")}, true, true},
        {"extra bytes after", {QStringLiteral("--fault"), QStringLiteral("extra")}, true, true},
        {"wrong header", {QStringLiteral("--fault"), QStringLiteral("wrong-header")}, false, true},
        {"garbage before", {QStringLiteral("--fault"), QStringLiteral("garbage")}, false, true},
        {"short answer", {QStringLiteral("--fault"), QStringLiteral("short")}, false, false},
        {"no answer", {QStringLiteral("--fault"), QStringLiteral("silent")}, false, false},
    };
    for (const FaultCase& c : aCases) {
        SimProcess sim(QStringList{QStringLiteral("--no-pacing"), QStringLiteral("--values"), QStringLiteral("321,0,0")}
                       << c.m_vArgs);
        ASSERT_FALSE(sim.DevicePath().isEmpty()) << c.m_szName;
        ScopedPortMap portMap(MapCom1To(sim.DevicePath()));
        WatchedLink watched(TestPollPeriodMs);
        watched.m_link.OpenPort(0);
        if (c.m_bAccepted) {
            EXPECT_TRUE(watched.WaitForText(QStringLiteral("321"))) << c.m_szName;
            EXPECT_EQ(watched.m_link.Frame().left(4), QByteArray::fromHex("0476FD16")) << c.m_szName;
        } else {
            // Two answers have been handled once the third request has come.
            ASSERT_TRUE(WaitFor([&] { return sim.RequestsSeen() >= 3; })) << c.m_szName;
            DrainEvents();
            EXPECT_EQ(watched.m_link.Reading(), 0) << c.m_szName;
            EXPECT_EQ(watched.m_link.Frame(), QByteArray(150, '\0')) << c.m_szName;
            EXPECT_EQ(watched.m_vTexts.empty(), !c.m_bEvents) << c.m_szName;
            for (const QString& strText : watched.m_vTexts)
                EXPECT_EQ(strText, QStringLiteral("0")) << c.m_szName;
        }
        EXPECT_TRUE(watched.m_vLossMessages.empty()) << c.m_szName;
    }
}

TEST(DeviceIntegration, WrongHeaderKeepsThePreviousReading)
{
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--values"), QStringLiteral("321,0,0")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    ScopedPortMap portMap(MapCom1To(sim.DevicePath()));
    WatchedLink watched(TestPollPeriodMs);
    watched.m_link.OpenPort(0);
    ASSERT_TRUE(watched.WaitForText(QStringLiteral("321")));

    const size_t nTextsBefore = watched.m_vTexts.size();
    sim.Send("fault wrong-header");
    sim.Send("1 999");
    // Two answers with the new value and the wrong header have gone out; the second has been handled
    // once the request after it comes.
    ASSERT_TRUE(WaitFor([&] { return sim.Report().count(QStringLiteral("answer 999 ")) >= 2; }));
    const int nRequests = sim.RequestsSeen();
    ASSERT_TRUE(WaitFor([&] { return sim.RequestsSeen() > nRequests; }));
    DrainEvents();
    EXPECT_GE(watched.m_vTexts.size(), nTextsBefore + 2);
    for (const QString& strText : watched.m_vTexts)
        EXPECT_EQ(strText, QStringLiteral("321"));
    EXPECT_EQ(watched.m_link.Reading(), 321);

    sim.Send("fault none");
    EXPECT_TRUE(watched.WaitForText(QStringLiteral("999")));
}

TEST(DeviceIntegration, KilledSimulatorClosesThePortWithOneMessageAndANewOneCanBeOpened)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString strLink = dir.filePath(QStringLiteral("velmora-unit"));
    ScopedPortMap portMap(MapCom1To(strLink));
    WatchedLink watched(TestPollPeriodMs);
    {
        SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--values"), QStringLiteral("111,0,0"),
                        QStringLiteral("--link"), strLink});
        ASSERT_FALSE(sim.DevicePath().isEmpty());
        watched.m_link.OpenPort(0);
        ASSERT_TRUE(watched.WaitForText(QStringLiteral("111")));
        sim.Kill();
        ASSERT_TRUE(WaitFor([&] { return !watched.m_vLossMessages.empty(); }));
    }
    DrainEvents();
    ASSERT_EQ(watched.m_vLossMessages.size(), 1u);
    EXPECT_TRUE(watched.m_vLossMessages.front().startsWith(QStringLiteral("COM1 (%1): The device is no longer available").arg(strLink)))
        << watched.m_vLossMessages.front().toStdString();
    EXPECT_FALSE(watched.m_link.IsPolling());
    EXPECT_FALSE(watched.m_link.Comm().GetPortOpen());
    EXPECT_TRUE(watched.m_vPollErrors.empty());

    // A new simulator takes over the link left behind; choosing the port again reopens it.
    SimProcess newSim({QStringLiteral("--no-pacing"), QStringLiteral("--values"), QStringLiteral("222,0,0"),
                       QStringLiteral("--link"), strLink});
    ASSERT_FALSE(newSim.DevicePath().isEmpty());
    watched.m_link.ClosePort();
    watched.m_link.OpenPort(0);
    ASSERT_TRUE(watched.m_link.IsPolling());
    EXPECT_TRUE(watched.WaitForText(QStringLiteral("222")));
    EXPECT_EQ(watched.m_vLossMessages.size(), 1u);
    EXPECT_TRUE(watched.m_vPollErrors.empty());
}

TEST(DeviceIntegration, AnyProgramCanPollTheSimulatorThroughItsDevice)
{
    // What "printf '\x04\x76\xfd\x15' > $dev; head -c 150 < $dev" does: two separate opens of the device.
    SimProcess sim({QStringLiteral("--values"), QStringLiteral("1,2,3")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    const QByteArray abDevice = sim.DevicePath().toLocal8Bit();
    const int nWriter = open(abDevice.constData(), O_WRONLY | O_NOCTTY);
    ASSERT_GE(nWriter, 0);
    ASSERT_EQ(write(nWriter, "\x04\x76\xFD\x15", 4), 4);
    close(nWriter);

    const int nReader = open(abDevice.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(nReader, 0);
    QByteArray abAnswer;
    const QDeadlineTimer deadline(10000);
    while (abAnswer.size() < 150 && !deadline.hasExpired()) {
        pollfd fd{nReader, POLLIN, 0};
        if (poll(&fd, 1, 100) <= 0)
            continue;
        char abChunk[256];
        const ssize_t nRead = read(nReader, abChunk, sizeof abChunk);
        if (nRead > 0)
            abAnswer.append(abChunk, nRead);
    }
    close(nReader);
    ASSERT_EQ(abAnswer.size(), 150);
    EXPECT_EQ(abAnswer.left(15), QByteArray::fromHex("0476FD16") + QByteArray(5, '\0') + QByteArray::fromHex("000100020003"));
}

TEST(DeviceIntegration, SimulatorEndsCleanlyOnStopSignalsAndRemovesItsLink)
{
    for (const int nSignal : {SIGINT, SIGTERM}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString strLink = dir.filePath(QStringLiteral("unit"));
        SimProcess sim({QStringLiteral("--link"), strLink});
        ASSERT_FALSE(sim.DevicePath().isEmpty()) << nSignal;
        EXPECT_EQ(QFileInfo(strLink).symLinkTarget(), sim.DevicePath()) << nSignal;
        EXPECT_EQ(sim.StopWith(nSignal), 0) << nSignal;
        EXPECT_FALSE(QFileInfo(strLink).isSymLink()) << nSignal;
    }
}
