#include "LineSettings.h"

#include <gtest/gtest.h>

struct GoodSettingsCase
{
    const char* m_szText;
    qint32 m_nBaud;
    QSerialPort::Parity m_parity;
    QSerialPort::DataBits m_dataBits;
    QSerialPort::StopBits m_stopBits;
    const char* m_szFormatted;
};

TEST(LineSettings, ReadsEveryFieldOfAValidText)
{
    const GoodSettingsCase aCases[] = {
        {"2400,N,8,1", 2400, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop, "2400,N,8,1"},
        {"9600,e,7,2", 9600, QSerialPort::EvenParity, QSerialPort::Data7, QSerialPort::TwoStop, "9600,E,7,2"},
        {"115200,O,5,1.5", 115200, QSerialPort::OddParity, QSerialPort::Data5, QSerialPort::OneAndHalfStop,
         "115200,O,5,1.5"},
        {"300,M,6,1", 300, QSerialPort::MarkParity, QSerialPort::Data6, QSerialPort::OneStop, "300,M,6,1"},
        {" 1200 , s , 8 , 1 ", 1200, QSerialPort::SpaceParity, QSerialPort::Data8, QSerialPort::OneStop, "1200,S,8,1"},
    };
    for (const GoodSettingsCase& c : aCases) {
        const std::optional<LineSettings> settings = ParseLineSettings(QString::fromLatin1(c.m_szText));
        ASSERT_TRUE(settings.has_value()) << c.m_szText;
        EXPECT_EQ(settings->m_nBaud, c.m_nBaud) << c.m_szText;
        EXPECT_EQ(settings->m_parity, c.m_parity) << c.m_szText;
        EXPECT_EQ(settings->m_dataBits, c.m_dataBits) << c.m_szText;
        EXPECT_EQ(settings->m_stopBits, c.m_stopBits) << c.m_szText;
        EXPECT_EQ(FormatLineSettings(*settings), QString::fromLatin1(c.m_szFormatted)) << c.m_szText;
    }
}

TEST(LineSettings, RejectsBadTexts)
{
    const char* const aszBad[] = {
        "",           "2400",        "2400,N,8",     "2400,N,8,1,0", "0,N,8,1",     "-2400,N,8,1", "+2400,N,8,1",
        "24x0,N,8,1", "2400,X,8,1",  "2400,NN,8,1",  "2400,N,9,1",   "2400,N,4,1",  "2400,N,8,3",  "2400,N,8,1.0",
        "2400,,8,1",  "2400;N;8;1",  "99999999999,N,8,1",
    };
    for (const char* szText : aszBad)
        EXPECT_FALSE(ParseLineSettings(QString::fromLatin1(szText)).has_value()) << '"' << szText << '"';
}
