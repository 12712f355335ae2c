#include "ChildLimits.h"
#include "TableBuilder.h"
#include "TableFile.h"
#include "TableFileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <map>
#include <ostream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace
{
std::string ReadAll(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll().toStdString();
}

void WriteAll(const QString& strPath, const QByteArray& abContent)
{
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << strPath.toStdString();
    ASSERT_EQ(file.write(abContent), abContent.size());
}

// The file the rules give for the linear table 0 to 1023, whose entry i is exactly i.
std::string ExpectedUnitStepFile(int nDecimals, const QByteArray& abUnits)
{
    const QByteArray abFraction = nDecimals > 0 ? "." + QByteArray(nDecimals, '0') : QByteArray();
    QByteArray ab;
    for (int i = 0; i < TableEntries; ++i)
        ab += QByteArray::number(i) + '\t' + QByteArray::number(i) + abFraction + "\r\n";
    return (ab + "0\r\n" + abUnits + "\r\n%." + QByteArray::number(nDecimals) + "f").toStdString();
}

class TableFileTest : public ::testing::Test
{
  protected:
    QString PathOf(const QString& strName) const
    {
        return m_dir.filePath(strName);
    }

    QStringList Names(const QString& strFolder) const
    {
        return QDir(strFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Name);
    }

    QTemporaryDir m_dir;
};

TEST_F(TableFileTest, WritesTheUnitStepTableByteForByte)
{
    const BuiltTable built = BuildLinearTable(0, 1023);
    for (const int nDecimals : {0, 2, 4})
    {
        const QString strPath = PathOf("t" + QString::number(nDecimals) + ".anl");
        WriteTableFile(strPath, built.m_table, built.m_strDirection, "", MakeNumberFormat(nDecimals));
        EXPECT_EQ(ReadAll(strPath), ExpectedUnitStepFile(nDecimals, "")) << nDecimals << " decimals";
    }
    // The first figures, written out literally.
    const QByteArray abTwo = QByteArray::fromStdString(ReadAll(PathOf("t2.anl")));
    EXPECT_TRUE(abTwo.startsWith("0\t0.00\r\n1\t1.00\r\n2\t2.00\r\n"));
    EXPECT_TRUE(abTwo.endsWith("\r\n1022\t1022.00\r\n1023\t1023.00\r\n0\r\n\r\n%.2f"));
    EXPECT_TRUE(QByteArray::fromStdString(ReadAll(PathOf("t0.anl"))).endsWith("\r\n1023\t1023\r\n0\r\n\r\n%.0f"));
}

struct LineCase
{
    std::string m_strName;
    double m_dLower;
    double m_dUpper;
    int m_nDecimals;
    QByteArray m_abUnits;
    std::map<int, QByteArray> m_lines; // 1-based line number -> its text without the line end
};

void PrintTo(const LineCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class TableFileLineTest : public TableFileTest, public ::testing::WithParamInterface<LineCase>
{
};

TEST_P(TableFileLineTest, WritesTheLines)
{
    const LineCase& c = GetParam();
    const BuiltTable built = BuildLinearTable(c.m_dLower, c.m_dUpper);
    const QString strPath = PathOf("t.anl");
    WriteTableFile(strPath, built.m_table, built.m_strDirection, c.m_abUnits, MakeNumberFormat(c.m_nDecimals));
    const QList<QByteArray> lines = QByteArray::fromStdString(ReadAll(strPath)).split('\n');
    ASSERT_EQ(lines.size(), 1027);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        ASSERT_TRUE(lines[i].endsWith('\r')) << "line " << i + 1;
    for (const auto& [nLine, abText] : c.m_lines)
    {
        QByteArray abLine = lines[nLine - 1];
        if (nLine < 1027)
            abLine.chop(1);
        EXPECT_EQ(abLine.toStdString(), abText.toStdString()) << "line " << nLine;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Figures, TableFileLineTest,
    ::testing::Values(
        LineCase{"halves away from zero", 0, 511.5, 0, "", {{2, "1\t1"}, {4, "3\t2"}, {6, "5\t3"}, {1027, "%.0f"}}},
        LineCase{"descending", 100, 0, 2, "", {{1, "0\t100.00"}, {2, "1\t99.90"}, {1024, "1023\t0.00"}, {1025, "1"}}},
        LineCase{"tiny negative last entry", -100, 0, 2, "", {{1, "0\t-100.00"}, {1024, "1023\t-0.00"}, {1025, "0"}}},
        LineCase{"units keep their blanks", 0, 1023, 2, "  mV ", {{1026, "  mV "}, {1027, "%.2f"}}},
        LineCase{"units as their bytes",
                 0,
                 1023,
                 3,
                 "\xC2\xB0"
                 "C",
                 {{1026, "\xC2\xB0"
                         "C"},
                  {1024, "1023\t1023.000"}}}));

TEST_F(TableFileTest, ReplacesAllOfALongerFile)
{
    const QString strPath = PathOf("t.anl");
    WriteAll(strPath, QByteArray(100000, 'x'));
    const BuiltTable built = BuildLinearTable(0, 1023);
    WriteTableFile(strPath, built.m_table, built.m_strDirection, "", "%.2f");
    EXPECT_EQ(ReadAll(strPath), ExpectedUnitStepFile(2, ""));
    EXPECT_EQ(Names(m_dir.path()), QStringList{"t.anl"});
}

struct RefusedInput
{
    std::string m_strName;
    QByteArray m_abDirection;
    QByteArray m_abUnits;
    QByteArray m_abFormat;
    double m_dEntry5;
    std::string m_strMessageStart;
};

void PrintTo(const RefusedInput& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class TableFileRefusalTest : public TableFileTest, public ::testing::WithParamInterface<RefusedInput>
{
};

TEST_P(TableFileRefusalTest, RefusesBeforeTouchingAnyFile)
{
    const RefusedInput& c = GetParam();
    BuiltTable built = BuildLinearTable(0, 1023);
    built.m_table[5] = c.m_dEntry5;
    const QString strOld = PathOf("old.anl");
    WriteAll(strOld, "old content");
    for (const QString& strPath : {strOld, PathOf("new.anl")})
    {
        try
        {
            WriteTableFile(strPath, built.m_table, c.m_abDirection, c.m_abUnits, c.m_abFormat);
            ADD_FAILURE() << "written to " << strPath.toStdString();
        }
        catch (const TableFileError& e)
        {
            EXPECT_EQ(std::string(e.what()).substr(0, c.m_strMessageStart.size()), c.m_strMessageStart) << e.what();
        }
    }
    EXPECT_EQ(ReadAll(strOld), "old content");
    EXPECT_EQ(Names(m_dir.path()), QStringList{"old.anl"});
}

constexpr double Inf = std::numeric_limits<double>::infinity();
const char* const LineBreakRefusal = "The units text contains a line break";

INSTANTIATE_TEST_SUITE_P(
    Inputs, TableFileRefusalTest,
    ::testing::Values(RefusedInput{"units with LF", "0", "m\nV", "%.2f", 5, LineBreakRefusal},
                      RefusedInput{"units with CR", "0", "mV\r", "%.2f", 5, LineBreakRefusal},
                      RefusedInput{"format %.2d", "0", "", "%.2d", 5, "The number format \"%.2d\" is not"},
                      RefusedInput{"format %.f", "0", "", "%.f", 5, "The number format \"%.f\" is not"},
                      RefusedInput{"format %.18f", "0", "", "%.18f", 5, "The number format \"%.18f\" is not"},
                      RefusedInput{"format 2f", "0", "", "2f", 5, "The number format \"2f\" is not"},
                      RefusedInput{"direction 2", "2", "", "%.2f", 5, "The direction flag"},
                      RefusedInput{"direction with CR LF", "0\r\n", "", "%.2f", 5, "The direction flag"},
                      RefusedInput{"entry not finite", "0", "", "%.2f", Inf, "Entry 5 of the table is not a finite"},
                      RefusedInput{"entry not a number", "0", "", "%.2f", std::nan(""), "Entry 5 of the table"}));

// Ways a write goes wrong on a real system; each must leave the folder exactly as it was.
enum class Failure
{
    MissingFolder,
    PathIsFolder,
    ReadOnlyFile,
    FolderNotWritable,
    DiskFull
};

struct FailureCase
{
    std::string m_strName;
    Failure m_failure;
    std::string m_strReason; // in the message after the path; empty for the full disk
};

void PrintTo(const FailureCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class TableFileFailureTest : public TableFileTest, public ::testing::WithParamInterface<FailureCase>
{
  protected:
    void SetUp() override
    {
        // The child that runs as "nobody" must reach the work folder.
        ASSERT_EQ(chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
        m_strWork = PathOf("work");
        ASSERT_TRUE(QDir().mkdir(m_strWork));
    }

    void TearDown() override
    {
        chmod(QFile::encodeName(m_strWork).constData(), 0755);
    }

    QString m_strWork;
};

TEST_P(TableFileFailureTest, ReportsAndLeavesTheOldFile)
{
    const FailureCase& c = GetParam();
    const QByteArray abWork = QFile::encodeName(m_strWork);
    QString strPath = m_strWork + "/t.anl";
    ChildLimits limits;
    bool bOldFile = false;
    switch (c.m_failure)
    {
    case Failure::MissingFolder:
        strPath = m_strWork + "/missing/t.anl";
        break;
    case Failure::PathIsFolder:
        ASSERT_TRUE(QDir().mkdir(strPath));
        break;
    case Failure::ReadOnlyFile:
        WriteAll(strPath, "old content");
        bOldFile = true;
        ASSERT_EQ(chmod(QFile::encodeName(strPath).constData(), 0444), 0);
        if (RunningAsRoot())
        {
            // Only the permission bits may stop the write, not the folder.
            ASSERT_EQ(chown(abWork.constData(), NobodyId, NobodyId), 0);
            ASSERT_EQ(chown(QFile::encodeName(strPath).constData(), NobodyId, NobodyId), 0);
        }
        limits.m_bUnprivileged = true;
        break;
    case Failure::FolderNotWritable:
        ASSERT_EQ(chmod(abWork.constData(), 0555), 0);
        limits.m_bUnprivileged = true;
        break;
    case Failure::DiskFull:
        WriteAll(strPath, "old content");
        bOldFile = true;
        limits.m_nFileSizeLimit = 4096;
        break;
    }
    const QStringList namesBefore = Names(m_strWork);

    const BuiltTable built = BuildLinearTable(0, 1023);
    const std::string strMessage =
        RunInChild([&] { WriteTableFile(strPath, built.m_table, built.m_strDirection, "mV", "%.2f"); }, limits);

    const std::string strFullPath = QFileInfo(strPath).absoluteFilePath().toStdString();
    if (c.m_failure == Failure::DiskFull)
        EXPECT_EQ(strMessage, "Disk full while accessing " + strFullPath + ".");
    else
    {
        const std::string strStart = "Cannot write the table file \"" + strFullPath + "\": ";
        EXPECT_EQ(strMessage.substr(0, strStart.size()), strStart) << strMessage;
        EXPECT_NE(strMessage.find(c.m_strReason, strStart.size()), std::string::npos) << strMessage;
        EXPECT_NE(strMessage.find("choose another file"), std::string::npos) << strMessage;
    }
    EXPECT_EQ(Names(m_strWork), namesBefore) << "a temporary file was left behind";
    if (bOldFile)
    {
        EXPECT_EQ(ReadAll(strPath), "old content");
    }
    EXPECT_EQ(QFileInfo(strPath).isDir(), c.m_failure == Failure::PathIsFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, TableFileFailureTest,
    ::testing::Values(FailureCase{"missing folder", Failure::MissingFolder, "No such file or directory"},
                      FailureCase{"path is a folder", Failure::PathIsFolder, "directory"},
                      FailureCase{"read-only file", Failure::ReadOnlyFile, "The file is read-only"},
                      FailureCase{"folder not writable", Failure::FolderNotWritable, "Permission denied"},
                      FailureCase{"disk full", Failure::DiskFull, ""}));

TEST_F(TableFileTest, WritesAgainOnceTheLimitIsGone)
{
    // The same write that a full disk stopped succeeds without the limit: the limit, not the data, was the cause.
    const QString strPath = PathOf("t.anl");
    const BuiltTable built = BuildLinearTable(0, 1023);
    ChildLimits limits;
    limits.m_nFileSizeLimit = 1 << 20;
    EXPECT_EQ(RunInChild([&] { WriteTableFile(strPath, built.m_table, built.m_strDirection, "", "%.2f"); }, limits),
              "");
    EXPECT_EQ(ReadAll(strPath), ExpectedUnitStepFile(2, ""));
}
}
