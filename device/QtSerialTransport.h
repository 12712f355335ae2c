#pragma once

#include "SerialTransport.h"

#include <QSerialPort>

// The real transport: a QSerialPort on the device path.
class QtSerialTransport : public SerialTransport
{
    Q_OBJECT

public:
    explicit QtSerialTransport(QObject* pParent = nullptr);
    ~QtSerialTransport() override;

    bool Open(const QString& strDevice) override;
    void Close() override;
    bool IsOpen() const override;
    bool Configure(const LineSettings& settings, int nHandshaking) override;
    bool Write(const QByteArray& abBytes) override;
    QByteArray ReadAll() override;
    void ClearInput() override;
    TransportError LastError() const override;

private:
    void OnErrorOccurred(QSerialPort::SerialPortError error);
    void SetError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    TransportError m_lastError;
};
