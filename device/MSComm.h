#pragma once

#include "LineSettings.h"
#include "SerialTransport.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

// The communications control: a serial port driven through properties (CommPort, Settings, PortOpen,
// Input, Output, ...) and the OnComm event, with the accessor names of the old control wrapper. It needs
// no window. Every failure is a CommError whose text names the port and its device.
class CMSComm : public QObject
{
    Q_OBJECT

public:
    // CommEvent code of "received data reached the receive threshold".
    static constexpr short EventReceive = 2;
    // The receive buffer keeps at most this many bytes; on overflow the oldest are dropped, so a burst of
    // noise cannot grow memory and the newest bytes (the answer to the latest request) survive.
    static constexpr qsizetype ReceiveBufferSize = 4096;

    // On the real serial port.
    explicit CMSComm(QObject* pParent = nullptr);
    // On another transport (tests); null means the real serial port.
    explicit CMSComm(std::unique_ptr<SerialTransport> pTransport, QObject* pParent = nullptr);
    // Releases the port.
    ~CMSComm() override;

    // Port number n opens the device the port map gives for COMn. Only while the port is closed.
    void SetCommPort(short nPort);
    short GetCommPort() const;
    // "2400,N,8,1"; takes effect at once on an open port.
    void SetSettings(const QString& strSettings);
    QString GetSettings() const;
    // At most this many bytes per get of Input; 0 means all that wait.
    void SetInputLen(short nLength);
    short GetInputLen() const;
    // 0 none, 1 XON/XOFF, 2 RTS/CTS.
    void SetHandshaking(int nHandshaking);
    int GetHandshaking() const;
    // 0 text (Input gives a QString), 1 binary (Input gives a QByteArray).
    void SetInputMode(int nMode);
    int GetInputMode() const;
    // OnComm with CommEvent 2 is raised while this many bytes or more wait; 0 raises no receive events.
    void SetRThreshold(short nThreshold);
    short GetRThreshold() const;
    void SetOutBufferSize(short nSize);
    short GetOutBufferSize() const;
    // True exactly while the port is open.
    bool GetPortOpen() const;
    void SetPortOpen(bool bOpen);
    // Only 0 may be put: drops every received byte not yet read.
    void SetInBufferCount(short nCount);
    short GetInBufferCount();
    // A QByteArray (or text): every byte goes out on the line, in order, before this returns.
    void SetOutput(const QVariant& vOutput);
    // The oldest waiting bytes, at most InputLen of them, removed from the receive buffer.
    QVariant GetInput();
    // The code of the event being reported (0 before the first event).
    short GetCommEvent() const;

    // "COM3 (/dev/ttyUSB0)", as messages name the port.
    QString PortLabel() const;

signals:
    // A communication event; GetCommEvent() tells which. Raised from the event loop, never from inside a
    // property call.
    void OnComm();
    // The device went away while the port was open. The port is closed by then; sent once per loss.
    void PortLost(const QString& strMessage);

private:
    void OnDataArrived();
    void OnTransportFailed(const TransportError& error);
    void DeliverEvents();
    void ReportLoss();
    void ScheduleDelivery();
    void TakeArrivedBytes();
    void ResetLoss();
    [[noreturn]] void Fail(const QString& strWhat) const;
    [[noreturn]] void FailFrom(const TransportError& error) const;
    void RequireOpen(const char* szWhat) const;

    std::unique_ptr<SerialTransport> m_pTransport;
    short m_nCommPort = 1;
    LineSettings m_settings;
    short m_nInputLen = 0;
    int m_nHandshaking = 0;
    int m_nInputMode = 0;
    short m_nRThreshold = 0;
    short m_nOutBufferSize = 512;
    short m_nCommEvent = 0;
    QByteArray m_abReceived;
    bool m_bDeliveryQueued = false;
    // A loss is noticed inside Qt's signal (m_bLost), then reported once from the event loop.
    bool m_bLost = false;
    bool m_bLossReported = false;
    QString m_strLossMessage;
};
