#include "QtSerialTransport.h"

#include <QDeadlineTimer>

namespace
{
// A few bytes to a serial line never take this long; a line that does not drain is a dead one.
constexpr int WriteTimeoutMs = 2000;
// QSerialPort stops reading from the driver when its own buffer is this full; CMSComm drains it at once.
constexpr qint64 ReadBufferLimit = 16384;
} // namespace

QtSerialTransport::QtSerialTransport(QObject* pParent)
    : SerialTransport(pParent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialTransport::DataArrived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialTransport::OnErrorOccurred);
    m_port.setReadBufferSize(ReadBufferLimit);
}

QtSerialTransport::~QtSerialTransport()
{
    // No signals into a half-destroyed owner.
    m_port.disconnect(this);
    m_port.close();
}

bool QtSerialTransport::Open(const QString& strDevice)
{
    m_lastError = TransportError();
    m_port.setPortName(strDevice);
    if (!m_port.open(QIODevice::ReadWrite)) {
        SetError(m_port.error());
        return false;
    }
    return true;
}

void QtSerialTransport::Close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

bool QtSerialTransport::IsOpen() const
{
    return m_port.isOpen();
}

bool QtSerialTransport::Configure(const LineSettings& settings, int nHandshaking)
{
    const QSerialPort::FlowControl flow = nHandshaking == 1   ? QSerialPort::SoftwareControl
                                          : nHandshaking == 2 ? QSerialPort::HardwareControl
                                                              : QSerialPort::NoFlowControl;
    if (m_port.setBaudRate(settings.m_nBaud) && m_port.setParity(settings.m_parity)
        && m_port.setDataBits(settings.m_dataBits) && m_port.setStopBits(settings.m_stopBits)
        && m_port.setFlowControl(flow))
        return true;
    SetError(m_port.error());
    return false;
}

bool QtSerialTransport::Write(const QByteArray& abBytes)
{
    if (m_port.write(abBytes) != abBytes.size()) {
        SetError(m_port.error());
        return false;
    }
    // write() only queues; push the bytes to the driver now.
    m_port.flush();
    const QDeadlineTimer deadline(WriteTimeoutMs);
    while (m_port.isOpen() && m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    if (!m_port.isOpen() || m_port.bytesToWrite() > 0) {
        SetError(m_port.error() == QSerialPort::NoError ? QSerialPort::TimeoutError : m_port.error());
        return false;
    }
    return true;
}

QByteArray QtSerialTransport::ReadAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

void QtSerialTransport::ClearInput()
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

TransportError QtSerialTransport::LastError() const
{
    return m_lastError;
}

void QtSerialTransport::SetError(QSerialPort::SerialPortError error)
{
    m_lastError.m_strText = m_port.errorString();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        m_lastError.m_failure = TransportFailure::NotFound;
        break;
    case QSerialPort::PermissionError:
        // QSerialPort reports a device held by another program as a permission error too.
        m_lastError.m_failure = m_lastError.m_strText.contains(QLatin1String("ermission denied"))
                                    ? TransportFailure::Permission
                                    : TransportFailure::Busy;
        break;
    case QSerialPort::ResourceError:
        m_lastError.m_failure = TransportFailure::Lost;
        break;
    default:
        m_lastError.m_failure = TransportFailure::Other;
        break;
    }
}

void QtSerialTransport::OnErrorOccurred(QSerialPort::SerialPortError error)
{
    // A vanished device shows as ResourceError or ReadError (Qt 6.4), and Qt repeats the error on every
    // turn of the event loop until the port is closed. Other errors belong to the operation that met them.
    if (!m_port.isOpen()
        || (error != QSerialPort::ResourceError && error != QSerialPort::ReadError && error != QSerialPort::WriteError))
        return;
    SetError(error);
    m_lastError.m_failure = TransportFailure::Lost;
    emit Failed(m_lastError);
}
