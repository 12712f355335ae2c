#include "DeviceLink.h"

#include "CommError.h"
#include "PollFrames.h"

#include <QThread>

namespace
{
void BlockingSleep(int nMs)
{
    QThread::msleep(static_cast<unsigned long>(nMs));
}
} // namespace

CDeviceLink::CDeviceLink(const int& nChannel, QObject* pParent)
    : CDeviceLink(nChannel, nullptr, pParent)
{
}

CDeviceLink::CDeviceLink(const int& nChannel, std::unique_ptr<SerialTransport> pTransport, QObject* pParent)
    : QObject(pParent)
    , m_nChannel(nChannel)
    , m_comm(std::move(pTransport))
    , m_abFrame(PollAnswerSize, '\0')
    , m_fnSleep(BlockingSleep)
{
    connect(&m_comm, &CMSComm::OnComm, this, &CDeviceLink::OnCommEvent);
    connect(&m_comm, &CMSComm::PortLost, this, &CDeviceLink::OnPortLost);
    connect(&m_timerPoll, &QTimer::timeout, this, &CDeviceLink::OnPollTick);
}

void CDeviceLink::OpenPort(int nPort)
{
    m_comm.SetCommPort(static_cast<short>(nPort + 1));
    m_comm.SetSettings(QStringLiteral("2400,N,8,1"));
    m_comm.SetInputLen(PollAnswerSize);
    m_comm.SetHandshaking(0);
    m_comm.SetInputMode(1);
    m_comm.SetRThreshold(PollAnswerSize);
    m_comm.SetOutBufferSize(PollAnswerSize);

    int nAttempts = 0;
    while (!m_comm.GetPortOpen() && nAttempts < MaxOpenAttempts) {
        m_fnSleep(OpenWaitMs);
        m_comm.SetPortOpen(true);
        ++nAttempts;
    }
    // Every opening restarts the period: the first request goes out one period after opening.
    if (m_comm.GetPortOpen())
        m_timerPoll.start(m_nPollPeriodMs);
}

void CDeviceLink::ClosePort()
{
    if (!m_comm.GetPortOpen())
        return;
    m_comm.SetPortOpen(false);
    m_timerPoll.stop();
}

void CDeviceLink::OnTimer(unsigned nIDEvent)
{
    if (nIDEvent != PollTimerId)
        return;
    m_comm.SetInBufferCount(0);
    m_comm.SetOutput(QVariant(PollRequest()));
    m_fnSleep(PollWaitMs);
}

void CDeviceLink::OnCommEvent()
{
    try {
        if (m_comm.GetCommEvent() == CMSComm::EventReceive) {
            const QVariant vBlock = m_comm.GetInput();
            // Anything but a whole answer with the right header is dropped; the kept frame stays.
            if (vBlock.typeId() == QMetaType::QByteArray) {
                const QByteArray abBlock = vBlock.toByteArray();
                if (IsPollAnswer(abBlock))
                    m_abFrame = abBlock.left(PollAnswerSize);
            }
        }
        // From the kept frame, not the block: a rejected block or another event shows the last good reading.
        if (const std::optional<int> nReading = ChannelReading(m_abFrame, m_nChannel))
            m_nReading = *nReading;
        m_strReadingText = QString::number(m_nReading);
        emit ReadingTextChanged(m_strReadingText);
    } catch (const std::exception&) {
        // The control's errors end this handler quietly; the next event tries again.
    }
}

void CDeviceLink::OnPollTick()
{
    // No exception may cross the event loop: the window shows the control's error and polling goes on.
    try {
        OnTimer(PollTimerId);
    } catch (const std::exception& e) {
        emit PollFailed(QString::fromUtf8(e.what()));
    }
}

void CDeviceLink::OnPortLost(const QString& strMessage)
{
    m_timerPoll.stop();
    emit LinkLost(strMessage);
}
