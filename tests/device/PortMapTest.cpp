#include "PortMap.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
QString WriteIni(const QTemporaryDir& dir, const QByteArray& abText)
{
    const QString strPath = dir.filePath(QStringLiteral("velmora.INI"));
    QFile file(strPath);
    if (file.open(QIODevice::WriteOnly))
        file.write(abText);
    return strPath;
}
} // namespace

struct PortCase
{
    int m_nPort;
    const char* m_szDevice;
};

TEST(PortMap, EntriesOfThePortsSectionOverrideTheDefaults)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString strPath = WriteIni(dir, "[Settings]\nPortName=2\nCOM2=/dev/wrong-section\n"
                                          "[Ports]\nCOM1=/dev/ttyUSB0\nCOM3 = /tmp/velmora unit\nCOM0=/dev/null\n"
                                          "COMX=/dev/x\nCOM4=\nLPT1=/dev/lp0\n");
    const PortMap portMap = PortMap::FromIniFile(strPath);
    const PortCase aCases[] = {
        {1, "/dev/ttyUSB0"},        // mapped
        {2, "/dev/ttyS1"},          // only in another section: default
        {3, "/tmp/velmora unit"},   // a path with a blank
        {4, "/dev/ttyS3"},          // empty entry: default
        {8, "/dev/ttyS7"},
        {0, ""},                    // no port below 1, whatever the file says
        {-1, ""},
    };
    for (const PortCase& c : aCases)
        EXPECT_EQ(portMap.DevicePath(c.m_nPort), QString::fromUtf8(c.m_szDevice)) << "COM" << c.m_nPort;
}

TEST(PortMap, MissingOrBrokenFilesGiveTheDefaults)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString aPaths[] = {
        dir.filePath(QStringLiteral("absent.INI")),
        WriteIni(dir, QByteArray("\x00\xFF[Ports\nCOM1\n=/dev/x\n", 20)),
        dir.path(), // a folder, not a file
    };
    for (const QString& strPath : aPaths) {
        const PortMap portMap = PortMap::FromIniFile(strPath);
        EXPECT_EQ(portMap.DevicePath(1), QStringLiteral("/dev/ttyS0")) << strPath.toStdString();
        EXPECT_EQ(portMap.DevicePath(8), QStringLiteral("/dev/ttyS7")) << strPath.toStdString();
    }
}

TEST(PortMap, InstalledMapIsTheCurrentOne)
{
    EXPECT_EQ(PortMap::Current().DevicePath(2), QStringLiteral("/dev/ttyS1"));
    PortMap portMap;
    portMap.SetDevicePath(2, QStringLiteral("/dev/pts/9"));
    PortMap::Install(portMap);
    EXPECT_EQ(PortMap::Current().DevicePath(2), QStringLiteral("/dev/pts/9"));
    PortMap::Install(PortMap());
    EXPECT_EQ(PortMap::Current().DevicePath(2), QStringLiteral("/dev/ttyS1"));
}

TEST(PortMap, ReadingNeverWritesTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray abText = "[Ports]\nCOM1=/dev/ttyUSB0\n";
    const QString strPath = WriteIni(dir, abText);
    PortMap::FromIniFile(strPath);
    PortMap::FromIniFile(dir.filePath(QStringLiteral("absent.INI")));
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), abText);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("absent.INI"))));
}
