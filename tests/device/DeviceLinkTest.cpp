// The link's algorithms on the real CMSComm over a scripted transport, with the 100 ms waits recorded
// instead of slept.
#include "DeviceLink.h"

#include "CommError.h"
#include "EventWait.h"
#include "FakeTransport.h"
#include "PollFrames.h"
#include "ScopedPortMap.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
PortMap FakeDevices()
{
    PortMap portMap;
    for (int nPort = 1; nPort <= 8; ++nPort)
        portMap.SetDevicePath(nPort, QStringLiteral("/dev/fake%1").arg(nPort));
    return portMap;
}

// An answer whose three channels read nChannel1, nChannel2 and nChannel3, with bytes 4 to 8 and 15 to 149
// set to bFiller so they can be told apart from a zero frame.
QByteArray Answer(int nChannel1, int nChannel2, int nChannel3, char bFiller = '\x5A')
{
    QByteArray abAnswer(PollAnswerSize, bFiller);
    abAnswer.replace(0, 4, QByteArray::fromHex("0476FD16"));
    const int anValues[] = {nChannel1, nChannel2, nChannel3};
    for (int i = 0; i < 3; ++i) {
        abAnswer[9 + 2 * i] = static_cast<char>(anValues[i] >> 8);
        abAnswer[10 + 2 * i] = static_cast<char>(anValues[i] & 0xFF);
    }
    return abAnswer;
}

class DeviceLinkTest : public ::testing::Test
{
protected:
    DeviceLinkTest()
    {
        auto pTransport = std::make_unique<FakeTransport>();
        m_pFake = pTransport.get();
        m_pLink = std::make_unique<CDeviceLink>(m_nChannel, std::move(pTransport));
        m_pLink->SetSleepFunction([this](int nMs) { m_vWaits.push_back(nMs); });
        QObject::connect(m_pLink.get(), &CDeviceLink::ReadingTextChanged,
                         [this](const QString& strText) { m_vTexts.push_back(strText); });
        QObject::connect(m_pLink.get(), &CDeviceLink::LinkLost,
                         [this](const QString& strMessage) { m_vLossMessages.push_back(strMessage); });
        QObject::connect(m_pLink.get(), &CDeviceLink::PollFailed,
                         [this](const QString& strMessage) { m_vPollErrors.push_back(strMessage); });
    }

    // The unit answers, and the control's receive event runs.
    void Deliver(const QByteArray& abBytes)
    {
        const size_t nTexts = m_vTexts.size();
        m_pFake->Receive(abBytes);
        ASSERT_TRUE(WaitFor([&] { return m_vTexts.size() > nTexts; }));
    }

    ScopedPortMap m_portMap{FakeDevices()};
    int m_nChannel = 0;
    FakeTransport* m_pFake = nullptr;
    std::unique_ptr<CDeviceLink> m_pLink;
    std::vector<int> m_vWaits;
    std::vector<QString> m_vTexts;
    std::vector<QString> m_vLossMessages;
    std::vector<QString> m_vPollErrors;
};
} // namespace

TEST_F(DeviceLinkTest, StartsWithAZeroFrameAndReadingZero)
{
    EXPECT_EQ(m_pLink->Frame(), QByteArray(PollAnswerSize, '\0'));
    EXPECT_EQ(m_pLink->Reading(), 0);
    EXPECT_FALSE(m_pLink->IsPolling());
    EXPECT_FALSE(m_pLink->Comm().GetPortOpen());
}

struct PortIndexCase
{
    int m_nIndex;
    short m_nPortNumber;
    const char* m_szDevice;
};

TEST(DeviceLinkPorts, PortIndexOpensThePortNumberOneHigher)
{
    ScopedPortMap portMap(FakeDevices());
    const PortIndexCase aCases[] = {{0, 1, "/dev/fake1"}, {3, 4, "/dev/fake4"}, {7, 8, "/dev/fake8"}};
    for (const PortIndexCase& c : aCases) {
        int nChannel = 0;
        auto pTransport = std::make_unique<FakeTransport>();
        FakeTransport* pFake = pTransport.get();
        CDeviceLink link(nChannel, std::move(pTransport));
        link.SetSleepFunction([](int) {});
        link.OpenPort(c.m_nIndex);
        EXPECT_EQ(link.Comm().GetCommPort(), c.m_nPortNumber) << "index " << c.m_nIndex;
        EXPECT_EQ(pFake->m_vOpened, QStringList{QString::fromLatin1(c.m_szDevice)}) << "index " << c.m_nIndex;
        EXPECT_TRUE(link.IsPolling()) << "index " << c.m_nIndex;
    }
}

TEST_F(DeviceLinkTest, OpeningWritesTheLineSettingsWaitsOnceAndStartsTheTimer)
{
    m_pLink->OpenPort(0);
    const CMSComm& comm = m_pLink->Comm();
    EXPECT_EQ(comm.GetSettings(), QStringLiteral("2400,N,8,1"));
    EXPECT_EQ(comm.GetInputLen(), 150);
    EXPECT_EQ(comm.GetHandshaking(), 0);
    EXPECT_EQ(comm.GetInputMode(), 1);
    EXPECT_EQ(comm.GetRThreshold(), 150);
    EXPECT_EQ(comm.GetOutBufferSize(), 150);
    ASSERT_TRUE(m_pFake->m_settings.has_value());
    EXPECT_EQ(m_pFake->m_settings->m_nBaud, 2400);
    EXPECT_EQ(m_pFake->m_settings->m_parity, QSerialPort::NoParity);
    EXPECT_EQ(m_pFake->m_settings->m_dataBits, QSerialPort::Data8);
    EXPECT_EQ(m_pFake->m_settings->m_stopBits, QSerialPort::OneStop);
    EXPECT_EQ(m_pFake->m_nHandshaking, 0);

    EXPECT_EQ(m_vWaits, std::vector<int>{100});
    EXPECT_TRUE(comm.GetPortOpen());
    EXPECT_TRUE(m_pLink->IsPolling());
    EXPECT_EQ(m_pLink->PollPeriod(), 2000);
    // The first request waits for the first tick.
    EXPECT_TRUE(m_pFake->m_abWritten.isEmpty());
}

struct AttemptCase
{
    int m_nSilentFailures;
    size_t m_nExpectedAttempts;
    bool m_bOpen;
};

TEST(DeviceLinkPorts, OpenIsRetriedUpTo1000TimesThenGivenUpSilently)
{
    ScopedPortMap portMap(FakeDevices());
    const AttemptCase aCases[] = {{0, 1, true}, {2, 3, true}, {999, 1000, true}, {1000, 1000, false}, {-1, 1000, false}};
    for (const AttemptCase& c : aCases) {
        int nChannel = 0;
        auto pTransport = std::make_unique<FakeTransport>();
        FakeTransport* pFake = pTransport.get();
        pFake->m_nSilentFailures = c.m_nSilentFailures;
        CDeviceLink link(nChannel, std::move(pTransport));
        std::vector<int> vWaits;
        link.SetSleepFunction([&vWaits](int nMs) { vWaits.push_back(nMs); });
        EXPECT_NO_THROW(link.OpenPort(2)) << c.m_nSilentFailures;
        EXPECT_EQ(static_cast<size_t>(pFake->m_vOpened.size()), c.m_nExpectedAttempts) << c.m_nSilentFailures;
        // A wait of 100 ms before every attempt, none after.
        EXPECT_EQ(vWaits, std::vector<int>(c.m_nExpectedAttempts, 100)) << c.m_nSilentFailures;
        EXPECT_EQ(link.Comm().GetPortOpen(), c.m_bOpen) << c.m_nSilentFailures;
        EXPECT_EQ(link.IsPolling(), c.m_bOpen) << c.m_nSilentFailures;
    }
}

TEST_F(DeviceLinkTest, PortThatCannotBeOpenedGivesOneErrorAndNoPolling)
{
    m_pFake->m_openError = TransportError{TransportFailure::NotFound, QStringLiteral("No such file or directory")};
    int nErrors = 0;
    try {
        m_pLink->OpenPort(4);
    } catch (const CommError& e) {
        ++nErrors;
        EXPECT_STREQ(e.what(), "COM5 (/dev/fake5): No such device. Check that the unit is connected, or map COM5 to "
                               "its device in the Ports section of the settings file.");
    }
    EXPECT_EQ(nErrors, 1);
    EXPECT_EQ(m_pFake->m_vOpened.size(), 1);
    EXPECT_EQ(m_vWaits, std::vector<int>{100});
    EXPECT_FALSE(m_pLink->Comm().GetPortOpen());
    EXPECT_FALSE(m_pLink->IsPolling());
    // The settings written before the failure stay.
    EXPECT_EQ(m_pLink->Comm().GetCommPort(), 5);
}

TEST_F(DeviceLinkTest, NoPortSelectedIsPortZeroAndAnOpenError)
{
    EXPECT_THROW(
        {
            try {
                m_pLink->OpenPort(-1);
            } catch (const CommError& e) {
                EXPECT_STREQ(e.what(), "COM0 is not a serial port. Choose a port from COM1 to COM8.");
                throw;
            }
        },
        CommError);
    EXPECT_EQ(m_pLink->Comm().GetCommPort(), 0);
    EXPECT_TRUE(m_pFake->m_vOpened.isEmpty());
    EXPECT_FALSE(m_pLink->IsPolling());
}

TEST_F(DeviceLinkTest, ClosePortOnAClosedPortChangesNothing)
{
    m_pLink->ClosePort();
    EXPECT_EQ(m_pFake->m_nCloseCalls, 0);
    EXPECT_FALSE(m_pLink->IsPolling());

    m_pLink->OpenPort(0);
    m_pLink->ClosePort();
    EXPECT_FALSE(m_pLink->Comm().GetPortOpen());
    EXPECT_FALSE(m_pLink->IsPolling());
    EXPECT_EQ(m_pFake->m_nCloseCalls, 1);
    m_pLink->ClosePort();
    EXPECT_EQ(m_pFake->m_nCloseCalls, 1);
}

TEST_F(DeviceLinkTest, PollTickDropsWaitingInputSendsTheRequestAndWaits)
{
    m_pLink->OpenPort(0);
    m_vWaits.clear();
    m_pFake->Receive(QByteArray(40, '\x11')); // leftovers of an earlier exchange
    m_pLink->OnTimer(1);
    EXPECT_EQ(m_pFake->m_abWritten, QByteArray::fromHex("0476FD15"));
    EXPECT_EQ(m_vWaits, std::vector<int>{100});
    EXPECT_EQ(m_pLink->Comm().GetInBufferCount(), 0);
}

TEST_F(DeviceLinkTest, OtherTimerIdsSendNothing)
{
    m_pLink->OpenPort(0);
    m_vWaits.clear();
    for (const unsigned nId : {0u, 2u, 1000u}) {
        m_pLink->OnTimer(nId);
        EXPECT_TRUE(m_pFake->m_abWritten.isEmpty()) << nId;
    }
    EXPECT_TRUE(m_vWaits.empty());
}

TEST_F(DeviceLinkTest, TheTimerItselfPolls)
{
    m_pLink->SetPollPeriodForTests(20);
    m_pLink->OpenPort(0);
    EXPECT_EQ(m_pLink->PollPeriod(), 20);
    ASSERT_TRUE(WaitFor([this] { return m_pFake->m_abWritten.size() >= 8; }));
    EXPECT_EQ(m_pFake->m_abWritten.left(8), QByteArray::fromHex("0476FD150476FD15"));
}

TEST_F(DeviceLinkTest, ErrorInAPollTickIsReportedAndPollingGoesOn)
{
    m_pLink->SetPollPeriodForTests(20);
    m_pLink->OpenPort(1);
    m_pFake->m_writeError = TransportError{TransportFailure::Other, QStringLiteral("Resource temporarily unavailable")};
    ASSERT_TRUE(WaitFor([this] { return m_vPollErrors.size() >= 2; }));
    EXPECT_EQ(m_vPollErrors.front(), QStringLiteral("COM2 (/dev/fake2): Sending failed: Resource temporarily unavailable."));
    EXPECT_TRUE(m_pLink->IsPolling());
    EXPECT_EQ(m_pFake->m_vOpened.size(), 1);
}

struct ReceiveCase
{
    const char* m_szName;
    QByteArray m_abBlock;
    int m_nChannel;
    int m_nExpectedReading;
    bool m_bAccepted;
};

TEST_F(DeviceLinkTest, ReceiveKeepsOnlyWholeAnswersAndShowsTheChannelFromTheKeptFrame)
{
    const QByteArray abFirst = Answer(111, 222, 333);
    QByteArray abRequestCode = Answer(7, 8, 9);
    abRequestCode[3] = '\x15';
    const ReceiveCase aCases[] = {
        {"03 FF on channel 1", Answer(0x03FF, 1, 2), 0, 1023, true},
        {"FF FF on channel 3", Answer(1, 2, 0xFFFF), 2, 65535, true},
        {"channel 2", Answer(1, 0x1234, 2), 1, 0x1234, true},
        {"request code in the header", abRequestCode, 0, 111, false},
        {"wrong first byte", QByteArray(1, '\x05') + Answer(7, 8, 9).mid(1), 0, 111, false},
        {"noise", QByteArray(150, '\xAA'), 1, 222, false},
        {"channel index out of range keeps the reading", Answer(7, 8, 9), 3, 111, true},
    };
    for (const ReceiveCase& c : aCases) {
        m_pLink->OpenPort(0);
        m_nChannel = 0;
        Deliver(abFirst);
        ASSERT_EQ(m_pLink->Reading(), 111) << c.m_szName;

        m_nChannel = c.m_nChannel;
        Deliver(c.m_abBlock);
        EXPECT_EQ(m_pLink->Reading(), c.m_nExpectedReading) << c.m_szName;
        EXPECT_EQ(m_vTexts.back(), QString::number(c.m_nExpectedReading)) << c.m_szName;
        EXPECT_EQ(m_pLink->ReadingText(), m_vTexts.back()) << c.m_szName;
        EXPECT_EQ(m_pLink->Frame(), c.m_bAccepted ? c.m_abBlock : abFirst) << c.m_szName;
        m_pLink->ClosePort();
    }
}

TEST_F(DeviceLinkTest, BlocksThatAreNotWholeAnswersAreDropped)
{
    m_pLink->OpenPort(0);
    Deliver(Answer(500, 600, 700));
    // A lower threshold lets the control hand over a shorter block, as a real control could.
    m_pLink->Comm().SetRThreshold(100);
    Deliver(Answer(1, 2, 3).left(100));
    EXPECT_EQ(m_pLink->Reading(), 500);
    EXPECT_EQ(m_vTexts.back(), QStringLiteral("500"));
    EXPECT_EQ(m_pLink->Frame(), Answer(500, 600, 700));

    // Text instead of a byte array.
    m_pLink->Comm().SetRThreshold(150);
    m_pLink->Comm().SetInputMode(0);
    Deliver(Answer(1, 2, 3));
    EXPECT_EQ(m_pLink->Reading(), 500);
    EXPECT_EQ(m_pLink->Frame(), Answer(500, 600, 700));
}

TEST_F(DeviceLinkTest, MoreThan150BytesAreTakenOldestFirst150AtATime)
{
    m_pLink->OpenPort(0);
    m_pFake->Receive(Answer(10, 20, 30) + Answer(40, 50, 60) + QByteArray(20, '\x01'));
    ASSERT_TRUE(WaitFor([this] { return m_vTexts.size() >= 2; }));
    DrainEvents();
    EXPECT_EQ(m_vTexts, (std::vector<QString>{QStringLiteral("10"), QStringLiteral("40")}));
    EXPECT_EQ(m_pLink->Comm().GetInBufferCount(), 20);
}

TEST_F(DeviceLinkTest, AnEventOfAnotherKindRewritesTheDisplayWithoutReadingInput)
{
    m_pLink->OpenPort(0);
    Deliver(Answer(321, 654, 987));
    m_pLink->ClosePort();
    m_pLink->OpenPort(0); // CommEvent is 0 again after opening
    m_pFake->Receive(Answer(1, 2, 3));
    m_nChannel = 1;
    ASSERT_NE(m_pLink->Comm().GetCommEvent(), CMSComm::EventReceive);
    m_pLink->OnCommEvent();
    EXPECT_EQ(m_vTexts.back(), QStringLiteral("654"));
    EXPECT_EQ(m_pLink->Comm().GetInBufferCount(), 150);
}

TEST_F(DeviceLinkTest, NewChannelShowsAtTheNextEvent)
{
    m_pLink->OpenPort(0);
    Deliver(Answer(111, 222, 333));
    m_nChannel = 2;
    EXPECT_EQ(m_pLink->ReadingText(), QStringLiteral("111"));
    EXPECT_EQ(m_pLink->Reading(), 111);
    m_pLink->OnCommEvent();
    EXPECT_EQ(m_pLink->ReadingText(), QStringLiteral("333"));
}

TEST_F(DeviceLinkTest, FrameSurvivesClosingAndAChangeOfPort)
{
    m_pLink->OpenPort(0);
    Deliver(Answer(4321, 0, 0));
    m_pLink->ClosePort();
    m_pLink->OpenPort(5);
    m_pFake->Receive(QByteArray(4, '\0') + Answer(1, 2, 3).mid(4)); // no header: rejected
    ASSERT_TRUE(WaitFor([this] { return m_vTexts.size() >= 2; }));
    EXPECT_EQ(m_vTexts.back(), QStringLiteral("4321"));
}

TEST_F(DeviceLinkTest, ControlErrorsInTheReceiveHandlerAreSwallowedWithoutAnUpdate)
{
    m_pLink->OpenPort(0);
    Deliver(Answer(9, 9, 9));
    m_pLink->ClosePort();
    const size_t nTexts = m_vTexts.size();
    // CommEvent is still 2 and Input on a closed port fails.
    ASSERT_EQ(m_pLink->Comm().GetCommEvent(), CMSComm::EventReceive);
    EXPECT_NO_THROW(m_pLink->OnCommEvent());
    EXPECT_EQ(m_vTexts.size(), nTexts);
}

TEST_F(DeviceLinkTest, VanishedDeviceStopsPollingWithOneMessageAndCanBeReopened)
{
    m_pLink->SetPollPeriodForTests(20);
    m_pLink->OpenPort(2);
    m_pFake->Vanish();
    m_pFake->Vanish(); // Qt repeats the error until the port is closed
    ASSERT_TRUE(WaitFor([this] { return !m_vLossMessages.empty(); }));
    DrainEvents();
    ASSERT_EQ(m_vLossMessages.size(), 1u);
    EXPECT_TRUE(m_vLossMessages.front().startsWith(QStringLiteral("COM3 (/dev/fake3): The device is no longer available")));
    EXPECT_FALSE(m_pLink->IsPolling());
    EXPECT_FALSE(m_pLink->Comm().GetPortOpen());
    EXPECT_TRUE(m_vPollErrors.empty());

    // What choosing the port again does.
    m_pLink->ClosePort();
    m_pLink->OpenPort(2);
    EXPECT_TRUE(m_pLink->Comm().GetPortOpen());
    EXPECT_TRUE(m_pLink->IsPolling());
    Deliver(Answer(77, 0, 0));
    EXPECT_EQ(m_pLink->Reading(), 77);
    EXPECT_EQ(m_vLossMessages.size(), 1u);
}
