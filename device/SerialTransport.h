#pragma once

#include "LineSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// Why a transport operation failed, sorted by what the user has to do about it.
enum class TransportFailure
{
    None,
    NotFound,   // no such device
    Permission, // the user may not open the device
    Busy,       // another program holds the device
    Lost,       // the device went away while open
    Other,
};

struct TransportError
{
    TransportFailure m_failure = TransportFailure::None;
    QString m_strText; // the system's own words, e.g. "No such file or directory"
};

// The byte pipe under CMSComm. The real one is QtSerialTransport on QSerialPort; tests may put a scripted
// one in its place to reach states no real device produces on demand.
class SerialTransport : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // False with LastError() when the device cannot be opened. A transport may also return true and
    // still not be open, which the caller treats as an attempt to repeat.
    virtual bool Open(const QString& strDevice) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Applies line settings and flow control (0 none, 1 XON/XOFF, 2 RTS/CTS) to the open device.
    virtual bool Configure(const LineSettings& settings, int nHandshaking) = 0;
    // Hands every byte to the line before it returns, so a blocking wait afterwards cannot hold it back.
    virtual bool Write(const QByteArray& abBytes) = 0;
    // Everything received and not yet taken.
    virtual QByteArray ReadAll() = 0;
    // Drops everything received and not yet taken, down to the driver's queue.
    virtual void ClearInput() = 0;
    virtual TransportError LastError() const = 0;

signals:
    // New bytes can be taken with ReadAll().
    void DataArrived();
    // The open device failed for good (e.g. it was unplugged); it may be reported more than once.
    void Failed(const TransportError& error);
};
