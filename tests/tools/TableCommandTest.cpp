#include "ChildLimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace
{
struct CommandResult
{
    int m_nExitCode = -1;
    std::string m_strOut;
    std::string m_strErr;
};

std::string ReadAll(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll().toStdString();
}

void WriteAll(const QString& strPath, const std::string& strContent)
{
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << strPath.toStdString();
    ASSERT_EQ(file.write(strContent.data(), static_cast<qint64>(strContent.size())),
              static_cast<qint64>(strContent.size()));
}

// The lines of a table file, split at CR LF; the last has no line end.
std::vector<std::string> Lines(const std::string& strFile)
{
    std::vector<std::string> lines;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strFile.find("\r\n", nStart)) != std::string::npos; nStart = nEnd + 2)
        lines.push_back(strFile.substr(nStart, nEnd - nStart));
    lines.push_back(strFile.substr(nStart));
    return lines;
}

class TableCommandTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        // Reachable by "nobody" for the runs with an ordinary user's rights.
        ASSERT_EQ(chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
    }

    // Runs the real command in the temporary folder, optionally under ChildLimits or with its standard
    // output going to a file.
    CommandResult Run(const std::vector<std::string>& args, const ChildLimits& limits = {},
                      const QString& strStdoutFile = {})
    {
        QProcess process;
        process.setProgram(QStringLiteral(VELMORA_TABLE_EXE));
        QStringList arguments;
        for (const std::string& strArg : args)
            arguments << QString::fromStdString(strArg);
        process.setArguments(arguments);
        process.setWorkingDirectory(m_dir.path());
        if (!strStdoutFile.isEmpty())
            process.setStandardOutputFile(strStdoutFile);
        process.setChildProcessModifier([limits] {
            if (!ApplyChildLimits(limits))
                _exit(125);
        });
        process.start();
        CommandResult result;
        if (!process.waitForFinished(60000))
        {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "velmora-table did not finish";
            return result;
        }
        result.m_nExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.m_strOut = process.readAllStandardOutput().toStdString();
        result.m_strErr = process.readAllStandardError().toStdString();
        return result;
    }

    QString PathOf(const QString& strName) const
    {
        return m_dir.filePath(strName);
    }

    std::string FullPath(const QString& strName) const
    {
        return QFileInfo(PathOf(strName)).absoluteFilePath().toStdString();
    }

    QStringList Names(const QString& strFolder) const
    {
        return QDir(strFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Name);
    }

    QTemporaryDir m_dir;
};

TEST_F(TableCommandTest, WritesTheLinearUnitStepFile)
{
    const CommandResult result = Run({"--linear", "0", "1023", "--decimals", "2", "--output", "t.anl"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(result.m_strErr, "");
    EXPECT_EQ(result.m_strOut, "");

    std::string strExpected;
    for (int i = 0; i < 1024; ++i)
        strExpected += std::to_string(i) + "\t" + std::to_string(i) + ".00\r\n";
    strExpected += "0\r\n\r\n%.2f";
    const std::string strFile = ReadAll(PathOf("t.anl"));
    EXPECT_EQ(strFile, strExpected);
    const std::vector<std::string> lines = Lines(strFile);
    ASSERT_EQ(lines.size(), 1027u);
    EXPECT_EQ(lines[0], "0\t0.00");
    EXPECT_EQ(lines[1], "1\t1.00");
    EXPECT_EQ(lines[1023], "1023\t1023.00");
    EXPECT_EQ(lines[1024], "0");
    EXPECT_EQ(lines[1025], "");
    EXPECT_EQ(lines[1026], "%.2f");
}

struct SuccessCase
{
    std::string m_strName;
    std::vector<std::string> m_args;
    std::map<int, std::string> m_lines; // 1-based line -> text
};

void PrintTo(const SuccessCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class TableCommandSuccessTest : public TableCommandTest, public ::testing::WithParamInterface<SuccessCase>
{
};

TEST_P(TableCommandSuccessTest, WritesTheTable)
{
    WriteAll(PathOf("points.csv"), "Number,Value From PIC,Value On Display\r\n0,600,30.0000\r\n1,100,10.0000\r\n"
                                   "2,350,20.0000\r\n");
    const CommandResult result = Run(GetParam().m_args);
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(result.m_strErr, "");
    const bool bToStdout = GetParam().m_args.back() == "-";
    const std::string strFile = bToStdout ? result.m_strOut : ReadAll(PathOf("t.anl"));
    if (!bToStdout)
    {
        EXPECT_EQ(result.m_strOut, "");
    }
    const std::vector<std::string> lines = Lines(strFile);
    ASSERT_EQ(lines.size(), 1027u);
    for (const auto& [nLine, strText] : GetParam().m_lines)
        EXPECT_EQ(lines[static_cast<size_t>(nLine - 1)], strText) << "line " << nLine;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TableCommandSuccessTest,
    ::testing::Values(SuccessCase{"two decimals by default",
                                  {"--linear", "0", "1023", "--output", "t.anl"},
                                  {{1024, "1023\t1023.00"}, {1026, ""}, {1027, "%.2f"}}},
                      SuccessCase{
                          "negative limit and units to standard output",
                          {"--linear", "-100", "0", "--decimals", "2", "--units", " mV ", "--output", "-"},
                          {{1, "0\t-100.00"}, {1024, "1023\t-0.00"}, {1025, "0"}, {1026, " mV "}, {1027, "%.2f"}}},
                      SuccessCase{"number-box forms of the limits",
                                  {"--linear", " 1d2\t", "0.0", "--decimals", "0", "--output", "-"},
                                  {{1, "0\t100"}, {1024, "1023\t0"}, {1025, "1"}, {1027, "%.0f"}}},
                      SuccessCase{"option names as values",
                                  {"--units", "--help", "--linear", "-5", "-5", "--output", "-"},
                                  {{1, "0\t-5.00"}, {1025, "0"}, {1026, "--help"}}},
                      SuccessCase{"points file",
                                  {"--points", "points.csv", "--decimals", "4", "--units", "V", "--output", "t.anl"},
                                  {{1, "0\t10.0000"},
                                   {102, "101\t10.0400"},
                                   {226, "225\t15.0000"},
                                   {1024, "1023\t30.0000"},
                                   {1025, "0"},
                                   {1026, "V"},
                                   {1027, "%.4f"}}}));

struct ErrorCase
{
    std::string m_strName;
    std::vector<std::string> m_args;
    int m_nExitCode;
    std::string m_strMessage; // part of the one line on standard error
};

void PrintTo(const ErrorCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class TableCommandErrorTest : public TableCommandTest, public ::testing::WithParamInterface<ErrorCase>
{
};

TEST_P(TableCommandErrorTest, ReportsOneLineAndWritesNothing)
{
    WriteAll(PathOf("old.anl"), "old content");
    WriteAll(PathOf("header.csv"), "Number,Value From PIC,Value On Display\n");
    WriteAll(PathOf("bad.csv"), "Number,Value From PIC,Value On Display\n0,1,2\n1,2\n");
    WriteAll(PathOf("far.csv"), "Number,Value From PIC,Value On Display\n0,0,1\n1,5,1\n2,9,1\n3,2000,2\n");
    ASSERT_TRUE(QDir().mkdir(PathOf("folder.anl")));
    const QStringList namesBefore = Names(m_dir.path());

    const CommandResult result = Run(GetParam().m_args);
    EXPECT_EQ(result.m_nExitCode, GetParam().m_nExitCode) << result.m_strErr;
    EXPECT_EQ(result.m_strOut, "");
    EXPECT_EQ(result.m_strErr.rfind("velmora-table: ", 0), 0u) << result.m_strErr;
    EXPECT_EQ(result.m_strErr.find('\n'), result.m_strErr.size() - 1) << "not one line: " << result.m_strErr;
    EXPECT_NE(result.m_strErr.find(GetParam().m_strMessage), std::string::npos) << result.m_strErr;
    if (GetParam().m_nExitCode == 2)
    {
        EXPECT_NE(result.m_strErr.find("Try 'velmora-table --help'."), std::string::npos) << result.m_strErr;
    }
    EXPECT_EQ(Names(m_dir.path()), namesBefore);
    EXPECT_EQ(ReadAll(PathOf("old.anl")), "old content");
}

INSTANTIATE_TEST_SUITE_P(
    UsageErrors, TableCommandErrorTest,
    ::testing::Values(
        ErrorCase{"no arguments", {}, 2, "give --linear LOWER UPPER or --points FILE."},
        ErrorCase{"one limit", {"--linear", "0"}, 2, "--linear needs two values, LOWER and UPPER."},
        ErrorCase{"lower not a number",
                  {"--linear", "abc", "1", "--output", "old.anl"},
                  2,
                  "--linear: LOWER \"abc\" is not a number."},
        ErrorCase{"upper written as -0",
                  {"--linear", "0", "-0", "--output", "old.anl"},
                  2,
                  "--linear: UPPER \"-0\" is not a number."},
        ErrorCase{"upper followed by text",
                  {"--linear", "0", "12abc", "--output", "old.anl"},
                  2,
                  "--linear: UPPER \"12abc\" is not a number."},
        ErrorCase{"upper too large",
                  {"--linear", "0", "1e999", "--output", "old.anl"},
                  2,
                  "--linear: UPPER \"1e999\" is not a number."},
        ErrorCase{"empty lower", {"--linear", "", "1", "--output", "old.anl"}, 2, "--linear: LOWER \"\" is not"},
        ErrorCase{"five decimals",
                  {"--linear", "0", "1", "--decimals", "5", "--output", "old.anl"},
                  2,
                  "--decimals: \"5\" is not a number of decimal places from 0 to 4."},
        ErrorCase{"negative decimals",
                  {"--linear", "0", "1", "--decimals", "-1", "--output", "old.anl"},
                  2,
                  "--decimals: \"-1\""},
        ErrorCase{"fractional decimals",
                  {"--linear", "0", "1", "--decimals", "2.0", "--output", "old.anl"},
                  2,
                  "--decimals: \"2.0\""},
        ErrorCase{"no output", {"--linear", "0", "1"}, 2, "give --output FILE (- for standard output)."},
        ErrorCase{"output without a value", {"--linear", "0", "1", "--output"}, 2, "--output needs a value."},
        ErrorCase{"empty output", {"--linear", "0", "1", "--output", ""}, 2, "--output: the file name is empty."},
        ErrorCase{"both modes",
                  {"--points", "header.csv", "--linear", "0", "1", "--output", "old.anl"},
                  2,
                  "give either --linear or --points, not both."},
        ErrorCase{"an option twice",
                  {"--linear", "0", "1", "--output", "a.anl", "--output", "old.anl"},
                  2,
                  "--output is given more than once."},
        ErrorCase{"unknown option",
                  {"--linear", "0", "1", "--output", "old.anl", "--frobnicate"},
                  2,
                  "unknown option \"--frobnicate\"."},
        ErrorCase{"stray argument",
                  {"--linear", "0", "1", "--output", "old.anl", "extra"},
                  2,
                  "unexpected argument \"extra\"."},
        ErrorCase{"units with a line break",
                  {"--linear", "0", "1", "--units", "m\nV", "--output", "old.anl"},
                  2,
                  "--units: the units must not contain a line break."}));

INSTANTIATE_TEST_SUITE_P(Failures, TableCommandErrorTest,
                         ::testing::Values(ErrorCase{"points file missing",
                                                     {"--points", "none.csv", "--output", "old.anl"},
                                                     1,
                                                     "Cannot read the point file \""},
                                           ErrorCase{"points file with a short row",
                                                     {"--points", "bad.csv", "--output", "old.anl"},
                                                     1,
                                                     "bad.csv\" cannot be read. Line 3: expected 3 fields"},
                                           ErrorCase{"reading out of range",
                                                     {"--points", "far.csv", "--output", "old.anl"},
                                                     1,
                                                     "velmora-table: Row 3: the reading 2000 lies outside 0 to 1024."},
                                           ErrorCase{"no points",
                                                     {"--points", "header.csv", "--output", "old.anl"},
                                                     1,
                                                     "velmora-table: The point list is empty."},
                                           ErrorCase{"limits too far apart",
                                                     {"--linear", "-1.7e308", "1.7e308", "--output", "old.anl"},
                                                     1,
                                                     "are too far apart"},
                                           ErrorCase{"output folder missing",
                                                     {"--linear", "0", "1", "--output", "missing/t.anl"},
                                                     1,
                                                     "Cannot write the table file \""},
                                           ErrorCase{"output is a folder",
                                                     {"--linear", "0", "1", "--output", "folder.anl"},
                                                     1,
                                                     "folder.anl\": Filename refers to a directory."}));

TEST_F(TableCommandTest, ReportsAReadOnlyFileAndKeepsIt)
{
    const QString strWork = PathOf("work");
    ASSERT_TRUE(QDir().mkdir(strWork));
    const QString strTarget = strWork + "/t.anl";
    WriteAll(strTarget, "old content");
    ASSERT_EQ(chmod(QFile::encodeName(strTarget).constData(), 0444), 0);
    if (RunningAsRoot())
    {
        ASSERT_EQ(chown(QFile::encodeName(strWork).constData(), NobodyId, NobodyId), 0);
        ASSERT_EQ(chown(QFile::encodeName(strTarget).constData(), NobodyId, NobodyId), 0);
    }
    ChildLimits limits;
    limits.m_bUnprivileged = true;
    const CommandResult result = Run({"--linear", "0", "1023", "--output", "work/t.anl"}, limits);
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_EQ(result.m_strErr, "velmora-table: Cannot write the table file \"" + FullPath("work/t.anl") +
                                   "\": The file is read-only. Check that the folder exists and that you may "
                                   "write there, or choose another file.\n");
    EXPECT_EQ(ReadAll(strTarget), "old content");
    EXPECT_EQ(Names(strWork), QStringList{"t.anl"});
}

TEST_F(TableCommandTest, ReportsAFullDiskAndKeepsTheOldFile)
{
    WriteAll(PathOf("t.anl"), "old content");
    ChildLimits limits;
    limits.m_nFileSizeLimit = 4096;
    const CommandResult result = Run({"--linear", "0", "1023", "--output", "t.anl"}, limits);
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_EQ(result.m_strErr, "velmora-table: Disk full while accessing " + FullPath("t.anl") + ".\n");
    EXPECT_EQ(ReadAll(PathOf("t.anl")), "old content");
    EXPECT_EQ(Names(m_dir.path()), QStringList{"t.anl"});
}

TEST_F(TableCommandTest, ReportsAFullStandardOutput)
{
    const CommandResult result = Run({"--linear", "0", "1023", "--output", "-"}, {}, "/dev/full");
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_EQ(result.m_strErr, "velmora-table: Cannot write the table to standard output: No space left on device.\n");
}

TEST_F(TableCommandTest, PrintsTheUsage)
{
    const CommandResult result = Run({"--help"});
    EXPECT_EQ(result.m_nExitCode, 0);
    EXPECT_EQ(result.m_strErr, "");
    EXPECT_EQ(result.m_strOut.rfind("Usage: velmora-table (--linear LOWER UPPER | --points FILE) [--decimals N] "
                                    "[--units TEXT] --output FILE\n",
                                    0),
              0u)
        << result.m_strOut;
}
}
