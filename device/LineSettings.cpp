#include "LineSettings.h"

#include <QStringList>

namespace
{
constexpr qint32 MaxBaud = 4000000;
} // namespace

std::optional<LineSettings> ParseLineSettings(const QString& strSettings)
{
    const QStringList vFields = strSettings.split(QLatin1Char(','));
    if (vFields.size() != 4)
        return std::nullopt;

    LineSettings settings;
    const QString strBaud = vFields[0].trimmed();
    bool bOk = false;
    const qint64 nBaud = strBaud.toLongLong(&bOk);
    // Only digits: toLongLong alone would take "+2400" as well.
    if (!bOk || strBaud.isEmpty() || !strBaud[0].isDigit() || nBaud < 1 || nBaud > MaxBaud)
        return std::nullopt;
    settings.m_nBaud = static_cast<qint32>(nBaud);

    const QString strParity = vFields[1].trimmed().toUpper();
    if (strParity == QLatin1String("N"))
        settings.m_parity = QSerialPort::NoParity;
    else if (strParity == QLatin1String("E"))
        settings.m_parity = QSerialPort::EvenParity;
    else if (strParity == QLatin1String("O"))
        settings.m_parity = QSerialPort::OddParity;
    else if (strParity == QLatin1String("M"))
        settings.m_parity = QSerialPort::MarkParity;
    else if (strParity == QLatin1String("S"))
        settings.m_parity = QSerialPort::SpaceParity;
    else
        return std::nullopt;

    const QString strDataBits = vFields[2].trimmed();
    if (strDataBits == QLatin1String("5"))
        settings.m_dataBits = QSerialPort::Data5;
    else if (strDataBits == QLatin1String("6"))
        settings.m_dataBits = QSerialPort::Data6;
    else if (strDataBits == QLatin1String("7"))
        settings.m_dataBits = QSerialPort::Data7;
    else if (strDataBits == QLatin1String("8"))
        settings.m_dataBits = QSerialPort::Data8;
    else
        return std::nullopt;

    const QString strStopBits = vFields[3].trimmed();
    if (strStopBits == QLatin1String("1"))
        settings.m_stopBits = QSerialPort::OneStop;
    else if (strStopBits == QLatin1String("1.5"))
        settings.m_stopBits = QSerialPort::OneAndHalfStop;
    else if (strStopBits == QLatin1String("2"))
        settings.m_stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return settings;
}

QString FormatLineSettings(const LineSettings& settings)
{
    QChar cParity = QLatin1Char('N');
    switch (settings.m_parity) {
    case QSerialPort::EvenParity: cParity = QLatin1Char('E'); break;
    case QSerialPort::OddParity: cParity = QLatin1Char('O'); break;
    case QSerialPort::MarkParity: cParity = QLatin1Char('M'); break;
    case QSerialPort::SpaceParity: cParity = QLatin1Char('S'); break;
    default: break;
    }
    const QString strStop = settings.m_stopBits == QSerialPort::OneAndHalfStop ? QStringLiteral("1.5")
                            : settings.m_stopBits == QSerialPort::TwoStop      ? QStringLiteral("2")
                                                                               : QStringLiteral("1");
    return QStringLiteral("%1,%2,%3,%4").arg(settings.m_nBaud).arg(cParity).arg(int(settings.m_dataBits)).arg(strStop);
}
