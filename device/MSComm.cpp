#include "MSComm.h"

#include "CommError.h"
#include "PortMap.h"
#include "QtSerialTransport.h"

#include <QPointer>

CMSComm::CMSComm(QObject* pParent)
    : CMSComm(nullptr, pParent)
{
}

CMSComm::CMSComm(std::unique_ptr<SerialTransport> pTransport, QObject* pParent)
    : QObject(pParent)
    , m_pTransport(pTransport ? std::move(pTransport) : std::make_unique<QtSerialTransport>())
{
    connect(m_pTransport.get(), &SerialTransport::DataArrived, this, &CMSComm::OnDataArrived);
    connect(m_pTransport.get(), &SerialTransport::Failed, this, &CMSComm::OnTransportFailed);
}

CMSComm::~CMSComm()
{
    m_pTransport->disconnect(this);
    m_pTransport->Close();
}

QString CMSComm::PortLabel() const
{
    const QString strDevice = PortMap::Current().DevicePath(m_nCommPort);
    if (strDevice.isEmpty())
        return QStringLiteral("COM%1").arg(m_nCommPort);
    return QStringLiteral("COM%1 (%2)").arg(m_nCommPort).arg(strDevice);
}

void CMSComm::Fail(const QString& strWhat) const
{
    throw CommError(PortLabel() + QStringLiteral(": ") + strWhat);
}

void CMSComm::FailFrom(const TransportError& error) const
{
    const QString strText = error.m_strText.isEmpty() ? QStringLiteral("Unknown error") : error.m_strText;
    switch (error.m_failure) {
    case TransportFailure::NotFound:
        Fail(QStringLiteral("No such device. Check that the unit is connected, or map COM%1 to its device in "
                            "the Ports section of the settings file.")
                 .arg(m_nCommPort));
    case TransportFailure::Permission:
        Fail(QStringLiteral("Permission denied. Add your user to the group that owns the device (dialout) and "
                            "log in again."));
    case TransportFailure::Busy:
        Fail(QStringLiteral("The device is in use by another program (%1). Close that program and try again.")
                 .arg(strText));
    case TransportFailure::Lost:
        Fail(QStringLiteral("%1. Check that the unit is connected and try again.").arg(strText));
    default:
        Fail(strText + QLatin1Char('.'));
    }
}

void CMSComm::RequireOpen(const char* szWhat) const
{
    if (!GetPortOpen())
        Fail(QStringLiteral("%1 needs an open port. Open the port first.").arg(QLatin1String(szWhat)));
}

void CMSComm::SetCommPort(short nPort)
{
    if (GetPortOpen())
        Fail(QStringLiteral("The port number cannot change while the port is open. Close the port first."));
    m_nCommPort = nPort;
}

short CMSComm::GetCommPort() const
{
    return m_nCommPort;
}

void CMSComm::SetSettings(const QString& strSettings)
{
    const std::optional<LineSettings> settings = ParseLineSettings(strSettings);
    if (!settings)
        Fail(QStringLiteral("\"%1\" is not a valid line setting. Use baud, parity (N, E, O, M or S), data bits "
                            "(5 to 8) and stop bits (1, 1.5 or 2), e.g. 2400,N,8,1.")
                 .arg(strSettings));
    if (GetPortOpen() && !m_pTransport->Configure(*settings, m_nHandshaking))
        FailFrom(m_pTransport->LastError());
    m_settings = *settings;
}

QString CMSComm::GetSettings() const
{
    return FormatLineSettings(m_settings);
}

void CMSComm::SetInputLen(short nLength)
{
    if (nLength < 0)
        Fail(QStringLiteral("InputLen cannot be negative (%1).").arg(nLength));
    m_nInputLen = nLength;
}

short CMSComm::GetInputLen() const
{
    return m_nInputLen;
}

void CMSComm::SetHandshaking(int nHandshaking)
{
    // 3 (RTS/CTS and XON/XOFF together) has no equivalent on this platform.
    if (nHandshaking < 0 || nHandshaking > 2)
        Fail(QStringLiteral("Handshaking %1 is not supported. Use 0 (none), 1 (XON/XOFF) or 2 (RTS/CTS).")
                 .arg(nHandshaking));
    if (GetPortOpen() && !m_pTransport->Configure(m_settings, nHandshaking))
        FailFrom(m_pTransport->LastError());
    m_nHandshaking = nHandshaking;
}

int CMSComm::GetHandshaking() const
{
    return m_nHandshaking;
}

void CMSComm::SetInputMode(int nMode)
{
    if (nMode != 0 && nMode != 1)
        Fail(QStringLiteral("InputMode %1 is not valid. Use 0 (text) or 1 (binary).").arg(nMode));
    m_nInputMode = nMode;
}

int CMSComm::GetInputMode() const
{
    return m_nInputMode;
}

void CMSComm::SetRThreshold(short nThreshold)
{
    if (nThreshold < 0)
        Fail(QStringLiteral("RThreshold cannot be negative (%1).").arg(nThreshold));
    m_nRThreshold = nThreshold;
    // Bytes already waiting may reach the new threshold.
    if (GetPortOpen())
        ScheduleDelivery();
}

short CMSComm::GetRThreshold() const
{
    return m_nRThreshold;
}

void CMSComm::SetOutBufferSize(short nSize)
{
    if (nSize < 1)
        Fail(QStringLiteral("OutBufferSize must be at least 1 (%1).").arg(nSize));
    m_nOutBufferSize = nSize;
}

short CMSComm::GetOutBufferSize() const
{
    return m_nOutBufferSize;
}

bool CMSComm::GetPortOpen() const
{
    return m_pTransport->IsOpen() && !m_bLost;
}

void CMSComm::ResetLoss()
{
    m_bLost = false;
    m_bLossReported = false;
    m_strLossMessage.clear();
}

void CMSComm::SetPortOpen(bool bOpen)
{
    if (!bOpen) {
        // Closing a lost port on purpose also settles the loss: nothing is reported afterwards.
        m_pTransport->Close();
        m_abReceived.clear();
        ResetLoss();
        return;
    }
    if (GetPortOpen())
        return;
    if (m_bLost) {
        m_pTransport->Close();
        ResetLoss();
    }

    const QString strDevice = PortMap::Current().DevicePath(m_nCommPort);
    if (strDevice.isEmpty())
        throw CommError(QStringLiteral("COM%1 is not a serial port. Choose a port from COM1 to COM8.").arg(m_nCommPort));
    if (!m_pTransport->Open(strDevice))
        FailFrom(m_pTransport->LastError());
    if (!m_pTransport->IsOpen())
        return; // no error, yet not open: the caller tries again
    if (!m_pTransport->Configure(m_settings, m_nHandshaking)) {
        const TransportError error = m_pTransport->LastError();
        m_pTransport->Close();
        FailFrom(error);
    }
    // Whatever the device sent before we opened it belongs to nobody.
    m_pTransport->ClearInput();
    m_abReceived.clear();
    m_nCommEvent = 0;
}

void CMSComm::SetInBufferCount(short nCount)
{
    if (nCount != 0)
        Fail(QStringLiteral("InBufferCount can only be set to 0 (%1).").arg(nCount));
    m_abReceived.clear();
    if (m_bLost)
        return; // the loss is reported once, by PortLost
    RequireOpen("Clearing the receive buffer");
    m_pTransport->ClearInput();
}

short CMSComm::GetInBufferCount()
{
    TakeArrivedBytes();
    return static_cast<short>(m_abReceived.size());
}

void CMSComm::SetOutput(const QVariant& vOutput)
{
    QByteArray abBytes;
    if (vOutput.typeId() == QMetaType::QByteArray)
        abBytes = vOutput.toByteArray();
    else if (vOutput.typeId() == QMetaType::QString)
        abBytes = vOutput.toString().toLatin1();
    else
        Fail(QStringLiteral("Output takes a byte array or text, not %1.")
                 .arg(QLatin1String(vOutput.metaType().isValid() ? vOutput.metaType().name() : "nothing")));
    if (m_bLost)
        return;
    RequireOpen("Sending");
    if (!m_pTransport->Write(abBytes)) {
        // A device that vanished during the write is reported by PortLost, not a second time here.
        if (!m_bLost && m_pTransport->LastError().m_failure == TransportFailure::Lost)
            OnTransportFailed(m_pTransport->LastError());
        if (m_bLost)
            return;
        Fail(QStringLiteral("Sending failed: %1.").arg(m_pTransport->LastError().m_strText));
    }
}

QVariant CMSComm::GetInput()
{
    if (!m_bLost) {
        RequireOpen("Reading");
        TakeArrivedBytes();
    }
    const qsizetype nCount = m_nInputLen == 0 ? m_abReceived.size() : qMin<qsizetype>(m_nInputLen, m_abReceived.size());
    const QByteArray abBlock = m_abReceived.left(nCount);
    m_abReceived.remove(0, nCount);
    if (m_nInputMode == 1)
        return QVariant(abBlock);
    return QVariant(QString::fromLatin1(abBlock));
}

short CMSComm::GetCommEvent() const
{
    return m_nCommEvent;
}

void CMSComm::TakeArrivedBytes()
{
    if (!m_pTransport->IsOpen() || m_bLost)
        return;
    m_abReceived.append(m_pTransport->ReadAll());
    if (m_abReceived.size() > ReceiveBufferSize)
        m_abReceived.remove(0, m_abReceived.size() - ReceiveBufferSize);
}

void CMSComm::OnDataArrived()
{
    // Only collect here: this can run inside a write's wait, and OnComm must come from the event loop.
    TakeArrivedBytes();
    ScheduleDelivery();
}

void CMSComm::ScheduleDelivery()
{
    if (m_bDeliveryQueued)
        return;
    m_bDeliveryQueued = true;
    QMetaObject::invokeMethod(this, &CMSComm::DeliverEvents, Qt::QueuedConnection);
}

void CMSComm::DeliverEvents()
{
    m_bDeliveryQueued = false;
    if (!GetPortOpen())
        return;
    TakeArrivedBytes();
    if (m_nRThreshold <= 0 || m_abReceived.size() < m_nRThreshold)
        return;

    const qsizetype nBefore = m_abReceived.size();
    m_nCommEvent = EventReceive;
    const QPointer<CMSComm> pAlive(this);
    emit OnComm();
    if (!pAlive)
        return;
    // Raise again while a full threshold still waits, but only if the handler took something: a handler
    // that reads nothing waits for new bytes instead of spinning.
    if (GetPortOpen() && m_nRThreshold > 0 && m_abReceived.size() >= m_nRThreshold && m_abReceived.size() < nBefore)
        ScheduleDelivery();
}

void CMSComm::OnTransportFailed(const TransportError&)
{
    if (m_bLost || !m_pTransport->IsOpen())
        return;
    m_bLost = true;
    // The system's text says little here (Qt 6.4 often reports a stale errno), so the message does not use it.
    m_strLossMessage = PortLabel()
                       + QStringLiteral(": The device is no longer available (unplugged or switched off?). The port "
                                        "was closed. Reconnect the unit, then choose the port again.");
    // Qt is inside its own notifier here: close and report from the event loop instead.
    QMetaObject::invokeMethod(this, &CMSComm::ReportLoss, Qt::QueuedConnection);
}

void CMSComm::ReportLoss()
{
    if (!m_bLost || m_bLossReported)
        return; // closed or reopened on purpose in the meantime
    m_bLossReported = true;
    m_pTransport->Close();
    m_abReceived.clear();
    emit PortLost(m_strLossMessage);
}
