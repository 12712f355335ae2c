#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

// Line speed and character format, as the Settings property writes them: "2400,N,8,1".
struct LineSettings
{
    qint32 m_nBaud = 9600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
};

// "baud,parity,data bits,stop bits": baud a positive whole number, parity N, E, O, M or S (either case),
// data bits 5 to 8, stop bits 1, 1.5 or 2; blanks around a field are allowed. Anything else gives no value.
std::optional<LineSettings> ParseLineSettings(const QString& strSettings);

// Back to the text form, "2400,N,8,1".
QString FormatLineSettings(const LineSettings& settings);
