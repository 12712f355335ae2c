// The settings file on disk: reading the port index, and writing it without disturbing the rest of the file
// (the Ports section, comments, other sections, the line ends the user chose).
#include "Profile.h"

#include "CaseName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include <unistd.h>

// File contents print as text in failure messages.
void PrintTo(const QByteArray& ab, std::ostream* pOut)
{
    *pOut << '"' << ab.toStdString() << '"';
}

namespace
{
class ProfileFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        SetProfilePath(Path());
    }
    void TearDown() override { SetProfilePath(QString()); }

    QString Path() const { return m_dir.filePath(QStringLiteral("velmora.INI")); }

    void Write(const QString& strPath, const QByteArray& abContent) const
    {
        QFile file(strPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(abContent), abContent.size());
    }

    static std::optional<QByteArray> Read(const QString& strPath)
    {
        QFile file(strPath);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }

    QTemporaryDir m_dir;
};

constexpr int Default = -7;

struct ReadCase {
    const char* m_szName;
    const char* m_szContent;  // nullptr: no file
    int m_nValue;
};

class ReadTest : public ProfileFixture, public ::testing::WithParamInterface<ReadCase> {};
}  // namespace

TEST_P(ReadTest, ReadsThePortIndexOrTheDefault)
{
    const ReadCase& c = GetParam();
    if (c.m_szContent != nullptr)
        Write(Path(), c.m_szContent);
    EXPECT_EQ(GetProfileInt(QStringLiteral("Settings"), QStringLiteral("PortName"), Default), c.m_nValue);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadTest,
    ::testing::Values(ReadCase{"no file", nullptr, Default},
                      ReadCase{"empty file", "", Default},
                      ReadCase{"the value", "[Settings]\nPortName=3\n", 3},
                      ReadCase{"CR LF lines", "[Settings]\r\nPortName=3\r\n", 3},
                      ReadCase{"names in other case, no last line end", "[SETTINGS]\r\nportname=5", 5},
                      ReadCase{"blanks around", "[Settings]\n  PortName = 6 \n", 6},
                      ReadCase{"negative", "[Settings]\nPortName=-2\n", -2},
                      ReadCase{"leading number only", "[Settings]\nPortName=12abc\n", 12},
                      ReadCase{"no number", "[Settings]\nPortName=COM2\n", 0},
                      ReadCase{"empty value", "[Settings]\nPortName=\n", 0},
                      ReadCase{"first of two", "[Settings]\nPortName=4\nPortName=5\n", 4},
                      ReadCase{"other keys first", "[Ports]\nCOM1=/dev/ttyUSB0\n\n[Settings]\nOther=1\nPortName=7\n", 7},
                      ReadCase{"key before any section", "PortName=4\n[Settings]\n", Default},
                      ReadCase{"key in another section", "[Ports]\nPortName=4\n", Default},
                      ReadCase{"key of the next section", "[Settings]\nOther=1\n[Next]\nPortName=4\n", Default},
                      ReadCase{"commented out", "[Settings]\n;PortName=4\n", Default},
                      ReadCase{"section not closed", "[Settings\nPortName=4\n", Default}),
    [](const auto& info) { return CaseName(info.param.m_szName); });

namespace
{
struct WriteCase {
    const char* m_szName;
    const char* m_szBefore;  // nullptr: no file
    const char* m_szAfter;
};

class WriteTest : public ProfileFixture, public ::testing::WithParamInterface<WriteCase> {};
}  // namespace

TEST_P(WriteTest, WritesTheKeyAndKeepsEveryOtherLine)
{
    const WriteCase& c = GetParam();
    if (c.m_szBefore != nullptr)
        Write(Path(), c.m_szBefore);
    EXPECT_TRUE(WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PortName"), 3));
    EXPECT_EQ(Read(Path()), QByteArray(c.m_szAfter));
    EXPECT_EQ(GetProfileInt(QStringLiteral("Settings"), QStringLiteral("PortName"), Default), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WriteTest,
    ::testing::Values(
        WriteCase{"no file", nullptr, "[Settings]\nPortName=3\n"},
        WriteCase{"the same value again", "[Settings]\nPortName=3\n", "[Settings]\nPortName=3\n"},
        WriteCase{"another value", "[Settings]\nPortName=0\n", "[Settings]\nPortName=3\n"},
        WriteCase{"Ports and comments in CR LF",
                  "; Velmora\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n[Settings]\r\n; last port\r\nPortName=0\r\n",
                  "; Velmora\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n[Settings]\r\n; last port\r\nPortName=3\r\n"},
        WriteCase{"no Settings section", "[Ports]\nCOM1=/dev/ttyUSB0\n",
                  "[Ports]\nCOM1=/dev/ttyUSB0\n\n[Settings]\nPortName=3\n"},
        WriteCase{"section without the key", "[Settings]\nOther=1\n\n[Ports]\nCOM1=x\n",
                  "[Settings]\nOther=1\nPortName=3\n\n[Ports]\nCOM1=x\n"},
        WriteCase{"key of another section left alone", "[Ports]\nPortName=9\n[Settings]\nPortName=1\n",
                  "[Ports]\nPortName=9\n[Settings]\nPortName=3\n"},
        WriteCase{"no last line end", "[Settings]\nPortName=1", "[Settings]\nPortName=3\n"}),
    [](const auto& info) { return CaseName(info.param.m_szName); });

TEST_F(ProfileFixture, WriteCreatesAMissingFolder)
{
    const QString strPath = m_dir.filePath(QStringLiteral("config/velmora.INI"));
    SetProfilePath(strPath);
    EXPECT_TRUE(WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PortName"), 2));
    EXPECT_EQ(Read(strPath), QByteArray("[Settings]\nPortName=2\n"));
}

TEST_F(ProfileFixture, WriteThatCannotHappenReportsFalseAndCreatesNothing)
{
    // The folder the file would go in is a plain file.
    Write(m_dir.filePath(QStringLiteral("config")), "not a folder");
    SetProfilePath(m_dir.filePath(QStringLiteral("config/velmora.INI")));
    EXPECT_FALSE(WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PortName"), 2));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("config")});
    EXPECT_EQ(Read(m_dir.filePath(QStringLiteral("config"))), QByteArray("not a folder"));
}

TEST_F(ProfileFixture, SettingsFileKeptAsALinkStaysALink)
{
    // Users who keep their settings elsewhere link them into the configuration folder.
    const QString strTarget = m_dir.filePath(QStringLiteral("kept.INI"));
    Write(strTarget, "[Ports]\nCOM1=/dev/ttyUSB0\n[Settings]\nPortName=0\n");
    ASSERT_TRUE(QFile::link(strTarget, Path()));
    EXPECT_TRUE(WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PortName"), 5));
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    EXPECT_EQ(Read(strTarget), QByteArray("[Ports]\nCOM1=/dev/ttyUSB0\n[Settings]\nPortName=5\n"));
}

TEST_F(ProfileFixture, UnreadableFileIsNotReplaced)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const QByteArray abContent = "[Ports]\nCOM1=/dev/ttyUSB0\n[Settings]\nPortName=0\n";
    Write(Path(), abContent);
    ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::WriteOwner));
    EXPECT_FALSE(WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PortName"), 5));
    ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_EQ(Read(Path()), abContent);
}

TEST_F(ProfileFixture, DefaultFileIsTheExecutablesNameInTheConfigurationFolder)
{
    const QByteArray abSaved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    SetProfilePath(QString());
    const QString strPath = GetProfilePath();
    if (abSaved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", abSaved);
    EXPECT_EQ(strPath, m_dir.filePath(QStringLiteral(VELMORA_TEST_EXE_NAME ".INI")));
}
