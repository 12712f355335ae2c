// CMSComm over a real pseudo-terminal through QSerialPort: the test plays the unit on the master side.
#include "MSComm.h"

#include "CommError.h"
#include "EventWait.h"
#include "FakeTransport.h"
#include "PtyPair.h"
#include "ScopedPortMap.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
QByteArray Counting(int nCount, int nStart = 0)
{
    QByteArray abBytes(nCount, '\0');
    for (int i = 0; i < nCount; ++i)
        abBytes[i] = static_cast<char>((nStart + i) % 251);
    return abBytes;
}

// The message of the CommError that fnCall throws, or "(no error)".
template <typename Fn>
std::string ErrorOf(Fn fnCall)
{
    try {
        fnCall();
    } catch (const CommError& e) {
        return e.what();
    }
    return "(no error)";
}

class CMSCommOnPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_pty.IsValid());
        m_comm.SetCommPort(1);
        m_comm.SetSettings(QStringLiteral("2400,N,8,1"));
        m_comm.SetInputMode(1);
        m_comm.SetInputLen(150);
        QObject::connect(&m_comm, &CMSComm::OnComm, [this] { OnComm(); });
        QObject::connect(&m_comm, &CMSComm::PortLost, [this](const QString& strMessage) {
            m_vLossMessages.push_back(strMessage);
        });
    }

    void OnComm()
    {
        m_vEventCodes.push_back(m_comm.GetCommEvent());
        m_vWaitingAtEvent.push_back(m_comm.GetInBufferCount());
        if (m_bHandlerReads)
            m_vBlocks.push_back(m_comm.GetInput().toByteArray());
    }

    PtyPair m_pty;
    ScopedPortMap m_portMap{MapCom1To(m_pty.SlavePath())};
    CMSComm m_comm;
    bool m_bHandlerReads = true;
    std::vector<short> m_vEventCodes;
    std::vector<short> m_vWaitingAtEvent;
    std::vector<QByteArray> m_vBlocks;
    std::vector<QString> m_vLossMessages;
};
} // namespace

TEST_F(CMSCommOnPty, OutputIsOnTheLineWhenThePutReturns)
{
    m_comm.SetPortOpen(true);
    ASSERT_TRUE(m_comm.GetPortOpen());
    m_comm.SetOutput(QVariant(QByteArray::fromHex("0476FD15")));
    // No event loop ran: the bytes must have left the process already.
    EXPECT_EQ(m_pty.ReadAvailable(), QByteArray::fromHex("0476FD15"));

    const QByteArray abAllValues = Counting(256);
    m_comm.SetOutput(QVariant(abAllValues));
    EXPECT_EQ(m_pty.ReadAvailable(), abAllValues);
}

TEST_F(CMSCommOnPty, InputLeftFromBeforeOpeningIsDropped)
{
    ASSERT_TRUE(m_pty.Write(Counting(200)));
    m_comm.SetRThreshold(0);
    m_comm.SetPortOpen(true);
    ASSERT_TRUE(m_pty.Write(QByteArray::fromHex("0476FD16")));
    ASSERT_TRUE(WaitFor([this] { return m_pty.SlaveQueued() == 0 && m_comm.GetInBufferCount() >= 4; }));
    m_comm.SetInputLen(0);
    EXPECT_EQ(m_comm.GetInput().toByteArray(), QByteArray::fromHex("0476FD16"));
}

TEST_F(CMSCommOnPty, ReceiveEventComesOnlyOnceTheThresholdIsReached)
{
    m_comm.SetRThreshold(150);
    m_comm.SetPortOpen(true);
    const QByteArray abAnswer = Counting(150);
    ASSERT_TRUE(m_pty.Write(abAnswer.left(149)));
    ASSERT_TRUE(WaitFor([this] { return m_comm.GetInBufferCount() == 149; }));
    DrainEvents();
    EXPECT_TRUE(m_vEventCodes.empty());

    ASSERT_TRUE(m_pty.Write(abAnswer.right(1)));
    ASSERT_TRUE(WaitFor([this] { return !m_vBlocks.empty(); }));
    DrainEvents();
    EXPECT_EQ(m_vEventCodes, std::vector<short>{CMSComm::EventReceive});
    EXPECT_EQ(m_vWaitingAtEvent, std::vector<short>{150});
    EXPECT_EQ(m_vBlocks.front(), abAnswer);
    EXPECT_EQ(m_comm.GetInBufferCount(), 0);
}

TEST_F(CMSCommOnPty, EventRepeatsWhileAFullThresholdStillWaits)
{
    m_comm.SetRThreshold(150);
    m_comm.SetPortOpen(true);
    const QByteArray abBurst = Counting(400);
    ASSERT_TRUE(m_pty.Write(abBurst));
    ASSERT_TRUE(WaitFor([this] { return m_vBlocks.size() >= 2 && m_comm.GetInBufferCount() == 100; }));
    DrainEvents();
    // 400 -> 250 -> 100: two blocks, oldest first, and no event for the 100 left over.
    ASSERT_EQ(m_vBlocks.size(), 2u);
    EXPECT_EQ(m_vBlocks[0], abBurst.mid(0, 150));
    EXPECT_EQ(m_vBlocks[1], abBurst.mid(150, 150));
    EXPECT_EQ(m_comm.GetInput().toByteArray(), abBurst.mid(300, 100));
}

TEST_F(CMSCommOnPty, HandlerThatReadsNothingGetsOneEventPerArrivalNotASpin)
{
    m_bHandlerReads = false;
    m_comm.SetRThreshold(150);
    m_comm.SetPortOpen(true);
    ASSERT_TRUE(m_pty.Write(Counting(300)));
    ASSERT_TRUE(WaitFor([this] { return m_comm.GetInBufferCount() == 300 && !m_vEventCodes.empty(); }));
    DrainEvents();
    const size_t nAfterFirst = m_vEventCodes.size();
    EXPECT_LE(nAfterFirst, 2u); // the 300 bytes may come in one read or two
    ASSERT_TRUE(m_pty.Write(Counting(1)));
    ASSERT_TRUE(WaitFor([&] { return m_vEventCodes.size() > nAfterFirst; }));
    DrainEvents();
    EXPECT_EQ(m_vEventCodes.size(), nAfterFirst + 1);
}

TEST_F(CMSCommOnPty, ZeroThresholdRaisesNoReceiveEvents)
{
    m_comm.SetRThreshold(0);
    m_comm.SetPortOpen(true);
    ASSERT_TRUE(m_pty.Write(Counting(300)));
    ASSERT_TRUE(WaitFor([this] { return m_comm.GetInBufferCount() == 300; }));
    DrainEvents();
    EXPECT_TRUE(m_vEventCodes.empty());
}

TEST_F(CMSCommOnPty, InBufferCountZeroDropsEverythingNotYetRead)
{
    m_comm.SetRThreshold(0);
    m_comm.SetPortOpen(true);
    ASSERT_TRUE(m_pty.Write(Counting(60)));
    ASSERT_TRUE(WaitFor([this] { return m_comm.GetInBufferCount() == 60; }));
    // These have not been collected yet: they wait in the driver when the put comes.
    ASSERT_TRUE(m_pty.Write(Counting(40, 100)));
    m_comm.SetInBufferCount(0);
    EXPECT_EQ(m_comm.GetInBufferCount(), 0);

    ASSERT_TRUE(m_pty.Write(QByteArray::fromHex("0476FD16")));
    ASSERT_TRUE(WaitFor([this] { return m_comm.GetInBufferCount() == 4; }));
    m_comm.SetInputLen(0);
    EXPECT_EQ(m_comm.GetInput().toByteArray(), QByteArray::fromHex("0476FD16"));
}

struct InputCase
{
    int m_nMode;
    short m_nInputLen;
    int m_nExpectedCount;
};

TEST_F(CMSCommOnPty, InputGivesAtMostInputLenOldestBytesAndRemovesThem)
{
    const InputCase aCases[] = {{1, 150, 150}, {1, 10, 10}, {1, 0, 200}, {1, 500, 200}, {0, 10, 10}};
    m_comm.SetRThreshold(0);
    m_comm.SetPortOpen(true);
    for (const InputCase& c : aCases) {
        m_comm.SetInBufferCount(0);
        const QByteArray abSent = Counting(200, 7);
        ASSERT_TRUE(m_pty.Write(abSent));
        ASSERT_TRUE(WaitFor([this] { return m_comm.GetInBufferCount() == 200; }));
        m_comm.SetInputMode(c.m_nMode);
        m_comm.SetInputLen(c.m_nInputLen);
        const QVariant vInput = m_comm.GetInput();
        const QByteArray abExpected = abSent.left(c.m_nExpectedCount);
        if (c.m_nMode == 1) {
            EXPECT_EQ(vInput.typeId(), QMetaType::QByteArray) << "InputLen " << c.m_nInputLen;
            EXPECT_EQ(vInput.toByteArray(), abExpected) << "InputLen " << c.m_nInputLen;
        } else {
            EXPECT_EQ(vInput.typeId(), QMetaType::QString);
            EXPECT_EQ(vInput.toString(), QString::fromLatin1(abExpected));
        }
        EXPECT_EQ(m_comm.GetInBufferCount(), 200 - c.m_nExpectedCount) << "InputLen " << c.m_nInputLen;
    }
}

TEST_F(CMSCommOnPty, NoiseBurstKeepsOnlyTheNewestBytes)
{
    m_comm.SetRThreshold(0);
    m_comm.SetPortOpen(true);
    const QByteArray abNoise = Counting(10000, 3);
    ASSERT_TRUE(m_pty.Write(abNoise));
    // Everything has passed once the driver holds nothing more for us.
    ASSERT_TRUE(WaitFor([this] { return m_pty.SlaveQueued() == 0 && m_comm.GetInBufferCount() > 0; }));
    m_comm.SetInputLen(0);
    const QByteArray abKept = m_comm.GetInput().toByteArray();
    EXPECT_EQ(abKept.size(), CMSComm::ReceiveBufferSize);
    EXPECT_EQ(abKept, abNoise.right(CMSComm::ReceiveBufferSize));
}

TEST_F(CMSCommOnPty, ThePortIsReleasedWhenTheObjectGoes)
{
    {
        CMSComm comm;
        comm.SetCommPort(1);
        comm.SetPortOpen(true);
        ASSERT_TRUE(comm.GetPortOpen());
        // While it holds the device nobody else gets it.
        EXPECT_NE(ErrorOf([this] { m_comm.SetPortOpen(true); }), "(no error)");
        EXPECT_FALSE(m_comm.GetPortOpen());
    }
    m_comm.SetPortOpen(true);
    EXPECT_TRUE(m_comm.GetPortOpen());
}

TEST_F(CMSCommOnPty, CloseAndReopenWork)
{
    m_comm.SetPortOpen(true);
    m_comm.SetPortOpen(true); // already open: nothing happens
    EXPECT_TRUE(m_comm.GetPortOpen());
    m_comm.SetPortOpen(false);
    EXPECT_FALSE(m_comm.GetPortOpen());
    m_comm.SetPortOpen(false);
    m_comm.SetPortOpen(true);
    ASSERT_TRUE(m_comm.GetPortOpen());
    m_comm.SetOutput(QVariant(QByteArray("x")));
    EXPECT_EQ(m_pty.ReadAvailable(), QByteArray("x"));
}

TEST_F(CMSCommOnPty, VanishedDeviceClosesThePortAndIsReportedOnce)
{
    m_comm.SetRThreshold(150);
    m_comm.SetPortOpen(true);
    m_pty.CloseMaster();
    ASSERT_TRUE(WaitFor([this] { return !m_vLossMessages.empty(); }));
    DrainEvents();
    ASSERT_EQ(m_vLossMessages.size(), 1u);
    EXPECT_EQ(m_vLossMessages.front(),
              QStringLiteral("COM1 (%1): The device is no longer available (unplugged or switched off?). The port was "
                             "closed. Reconnect the unit, then choose the port again.")
                  .arg(m_pty.SlavePath()));
    EXPECT_FALSE(m_comm.GetPortOpen());
}

struct LossPutCase
{
    const char* m_szName;
    std::function<void(CMSComm&)> m_fnPuts;
};

TEST(CMSCommLoss, PutsThatMeetTheLossDoNotReportItAgain)
{
    const QVariant vRequest(QByteArray::fromHex("0476FD15"));
    // What a poll does before the event loop has noticed anything; each put meets the loss first once.
    const LossPutCase aCases[] = {
        {"clear, send, clear, send", [&](CMSComm& comm) {
             comm.SetInBufferCount(0);
             comm.SetOutput(vRequest);
             comm.SetInBufferCount(0);
             comm.SetOutput(vRequest);
         }},
        {"send first", [&](CMSComm& comm) {
             comm.SetOutput(vRequest);
             comm.SetOutput(vRequest);
         }},
        {"read first", [&](CMSComm& comm) {
             comm.GetInput();
             comm.SetOutput(vRequest);
         }},
    };
    for (const LossPutCase& c : aCases) {
        PtyPair pty;
        ASSERT_TRUE(pty.IsValid());
        ScopedPortMap portMap(MapCom1To(pty.SlavePath()));
        CMSComm comm;
        std::vector<QString> vLossMessages;
        QObject::connect(&comm, &CMSComm::PortLost, [&](const QString& strMessage) { vLossMessages.push_back(strMessage); });
        comm.SetPortOpen(true);
        ASSERT_TRUE(comm.GetPortOpen());
        pty.CloseMaster();
        EXPECT_EQ(ErrorOf([&] { c.m_fnPuts(comm); }), "(no error)") << c.m_szName;
        ASSERT_TRUE(WaitFor([&] { return !vLossMessages.empty(); })) << c.m_szName;
        DrainEvents();
        EXPECT_EQ(vLossMessages.size(), 1u) << c.m_szName;
        EXPECT_FALSE(comm.GetPortOpen()) << c.m_szName;
    }
}

TEST_F(CMSCommOnPty, ReopensOnANewDeviceAfterALoss)
{
    m_comm.SetPortOpen(true);
    m_pty.CloseMaster();
    ASSERT_TRUE(WaitFor([this] { return !m_vLossMessages.empty(); }));

    PtyPair newPty;
    ASSERT_TRUE(newPty.IsValid());
    ScopedPortMap portMap(MapCom1To(newPty.SlavePath()));
    m_comm.SetRThreshold(4);
    m_comm.SetPortOpen(true);
    ASSERT_TRUE(m_comm.GetPortOpen());
    ASSERT_TRUE(newPty.Write(QByteArray::fromHex("0476FD16")));
    ASSERT_TRUE(WaitFor([this] { return !m_vBlocks.empty(); }));
    EXPECT_EQ(m_vBlocks.front(), QByteArray::fromHex("0476FD16"));
    EXPECT_EQ(m_vLossMessages.size(), 1u);
}

struct OpenFailureCase
{
    const char* m_szName;
    short m_nPort;
    QString m_strDevice;
    QString m_strMessage;
};

TEST(CMSCommOpen, FailuresNameThePortAndDeviceAndLeaveThePortClosed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString strMissing = dir.filePath(QStringLiteral("ttyUSB9"));
    const OpenFailureCase aCases[] = {
        {"missing device", 1, strMissing,
         QStringLiteral("COM1 (%1): No such device. Check that the unit is connected, or map COM1 to its device in "
                        "the Ports section of the settings file.")
             .arg(strMissing)},
        {"not a device", 1, dir.path(), QStringLiteral("COM1 (%1): Is a directory.").arg(dir.path())},
        {"port number 0", 0, QString(), QStringLiteral("COM0 is not a serial port. Choose a port from COM1 to COM8.")},
        {"negative port number", -3, QString(),
         QStringLiteral("COM-3 is not a serial port. Choose a port from COM1 to COM8.")},
    };
    for (const OpenFailureCase& c : aCases) {
        ScopedPortMap portMap(MapCom1To(c.m_strDevice));
        CMSComm comm;
        comm.SetCommPort(c.m_nPort); // no error yet: only opening can fail
        EXPECT_EQ(ErrorOf([&] { comm.SetPortOpen(true); }), c.m_strMessage.toStdString()) << c.m_szName;
        EXPECT_FALSE(comm.GetPortOpen()) << c.m_szName;
    }
}

TEST(CMSCommOpen, DeviceHeldByAnotherProgramSaysSo)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    ScopedPortMap portMap(MapCom1To(pty.SlavePath()));
    CMSComm first;
    first.SetPortOpen(true);
    ASSERT_TRUE(first.GetPortOpen());
    CMSComm second;
    const std::string strMessage = ErrorOf([&] { second.SetPortOpen(true); });
    EXPECT_EQ(strMessage.rfind("COM1 (" + pty.SlavePath().toStdString() + "): The device is in use by another program (", 0),
              0u)
        << strMessage;
    EXPECT_NE(strMessage.find("Close that program and try again."), std::string::npos) << strMessage;
}

struct TransportFailureCase
{
    TransportFailure m_failure;
    const char* m_szText;
    const char* m_szMessage;
};

TEST(CMSCommOpen, EachKindOfOpenFailureTellsWhatToDo)
{
    PortMap devices;
    devices.SetDevicePath(3, QStringLiteral("/dev/ttyUSB0"));
    ScopedPortMap portMap(devices);
    const TransportFailureCase aCases[] = {
        {TransportFailure::Permission, "Permission denied",
         "COM3 (/dev/ttyUSB0): Permission denied. Add your user to the group that owns the device (dialout) and log "
         "in again."},
        {TransportFailure::NotFound, "No such file or directory",
         "COM3 (/dev/ttyUSB0): No such device. Check that the unit is connected, or map COM3 to its device in the "
         "Ports section of the settings file."},
        {TransportFailure::Busy, "Device or resource busy",
         "COM3 (/dev/ttyUSB0): The device is in use by another program (Device or resource busy). Close that "
         "program and try again."},
        {TransportFailure::Lost, "Input/output error",
         "COM3 (/dev/ttyUSB0): Input/output error. Check that the unit is connected and try again."},
        {TransportFailure::Other, "Inappropriate ioctl for device",
         "COM3 (/dev/ttyUSB0): Inappropriate ioctl for device."},
    };
    for (const TransportFailureCase& c : aCases) {
        auto pTransport = std::make_unique<FakeTransport>();
        pTransport->m_openError = TransportError{c.m_failure, QString::fromLatin1(c.m_szText)};
        CMSComm comm(std::move(pTransport));
        comm.SetCommPort(3);
        EXPECT_EQ(ErrorOf([&] { comm.SetPortOpen(true); }), c.m_szMessage);
        EXPECT_FALSE(comm.GetPortOpen());
    }
}

TEST(CMSCommProperties, BadValuesAndMisuseAreErrorsThatNameThePort)
{
    PortMap devices;
    devices.SetDevicePath(2, QStringLiteral("/dev/ttyUSB1"));
    ScopedPortMap portMap(devices);
    auto pTransport = std::make_unique<FakeTransport>();
    CMSComm comm(std::move(pTransport));
    comm.SetCommPort(2);

    struct MisuseCase
    {
        const char* m_szName;
        std::function<void()> m_fnCall;
        const char* m_szMessageStart;
    };
    const char* const szPort = "COM2 (/dev/ttyUSB1): ";
    const MisuseCase aClosed[] = {
        {"settings text", [&] { comm.SetSettings(QStringLiteral("2400,N,8")); }, "\"2400,N,8\" is not a valid line setting."},
        {"input mode", [&] { comm.SetInputMode(2); }, "InputMode 2 is not valid."},
        {"handshaking", [&] { comm.SetHandshaking(3); }, "Handshaking 3 is not supported."},
        {"input length", [&] { comm.SetInputLen(-1); }, "InputLen cannot be negative"},
        {"threshold", [&] { comm.SetRThreshold(-1); }, "RThreshold cannot be negative"},
        {"out buffer", [&] { comm.SetOutBufferSize(0); }, "OutBufferSize must be at least 1"},
        {"in buffer count", [&] { comm.SetInBufferCount(5); }, "InBufferCount can only be set to 0"},
        {"output type", [&] { comm.SetOutput(QVariant(42)); }, "Output takes a byte array or text"},
        {"output while closed", [&] { comm.SetOutput(QVariant(QByteArray("x"))); }, "Sending needs an open port."},
        {"input while closed", [&] { comm.GetInput(); }, "Reading needs an open port."},
        {"clear while closed", [&] { comm.SetInBufferCount(0); }, "Clearing the receive buffer needs an open port."},
    };
    for (const MisuseCase& c : aClosed) {
        const std::string strMessage = ErrorOf(c.m_fnCall);
        EXPECT_EQ(strMessage.rfind(std::string(szPort) + c.m_szMessageStart, 0), 0u) << c.m_szName << ": " << strMessage;
    }
    // The rejected values changed nothing.
    EXPECT_EQ(comm.GetSettings(), QStringLiteral("9600,N,8,1"));
    EXPECT_EQ(comm.GetInputMode(), 0);
    EXPECT_EQ(comm.GetHandshaking(), 0);

    comm.SetPortOpen(true);
    ASSERT_TRUE(comm.GetPortOpen());
    EXPECT_EQ(ErrorOf([&] { comm.SetCommPort(5); }),
              std::string(szPort) + "The port number cannot change while the port is open. Close the port first.");
    EXPECT_EQ(comm.GetCommPort(), 2);
}

TEST(CMSCommProperties, LineSettingsReachTheOpenPort)
{
    auto pTransport = std::make_unique<FakeTransport>();
    FakeTransport* pFake = pTransport.get();
    CMSComm comm(std::move(pTransport));
    comm.SetSettings(QStringLiteral("2400,N,8,1"));
    comm.SetHandshaking(2);
    comm.SetPortOpen(true);
    ASSERT_TRUE(pFake->m_settings.has_value());
    EXPECT_EQ(pFake->m_settings->m_nBaud, 2400);
    EXPECT_EQ(pFake->m_nHandshaking, 2);
    EXPECT_EQ(pFake->m_nClearCalls, 1); // stale input dropped on opening

    // Changes while open apply at once.
    comm.SetSettings(QStringLiteral("9600,E,7,2"));
    comm.SetHandshaking(0);
    EXPECT_EQ(pFake->m_settings->m_nBaud, 9600);
    EXPECT_EQ(pFake->m_settings->m_parity, QSerialPort::EvenParity);
    EXPECT_EQ(pFake->m_nHandshaking, 0);
}
