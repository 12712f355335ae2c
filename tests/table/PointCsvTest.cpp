#include "PointCsv.h"
#include "PointCsvError.h"
#include "PointCsvFile.h"
#include "PointFileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

bool operator==(const PointRow& a, const PointRow& b)
{
    return a.m_strReading == b.m_strReading && a.m_strValue == b.m_strValue;
}

void PrintTo(const PointRow& row, std::ostream* pOut)
{
    *pOut << "{\"" << row.m_strReading << "\", \"" << row.m_strValue << "\"}";
}

namespace
{
const std::string Header = "Number,Value From PIC,Value On Display";

struct ReadCase
{
    std::string m_strName;
    std::string m_strText;
    std::vector<PointRow> m_rows;
};

void PrintTo(const ReadCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class PointCsvReadTest : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(PointCsvReadTest, ReadsTheRows)
{
    EXPECT_EQ(ReadPointCsv(GetParam().m_strText), GetParam().m_rows);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PointCsvReadTest,
    ::testing::Values(
        ReadCase{"LF", Header + "\n0,600,30.0000\n1,100,10.0000\n", {{"600", "30.0000"}, {"100", "10.0000"}}},
        ReadCase{"CR LF without a last line end",
                 Header + "\r\n0,600,30.0000\r\n1,100,10.0000",
                 {{"600", "30.0000"}, {"100", "10.0000"}}},
        ReadCase{"blank lines", "\n\r\n" + Header + "\n\n0,1,2\r\n\r\n\n1,3,4\n\n\n", {{"1", "2"}, {"3", "4"}}},
        ReadCase{"header only", Header + "\r\n", {}},
        ReadCase{"byte order mark", "\xEF\xBB\xBF" + Header + "\n0,1,2\n", {{"1", "2"}}},
        ReadCase{"number field not used", Header + "\n7,1,2\n-3,x,y\n", {{"1", "2"}, {"x", "y"}}},
        ReadCase{"empty and blank fields kept", Header + "\n0,,\n1,  42a , 3 \n", {{"", ""}, {"  42a ", " 3 "}}},
        ReadCase{"quoted fields",
                 Header + "\n\"0\",\"1,5\",\"say \"\"hi\"\"\"\n1,\"\",\"\"\"\"\n",
                 {{"1,5", "say \"hi\""}, {"", "\""}}},
        ReadCase{
            "line breaks inside quotes", Header + "\n0,\"a\nb\",\"c\r\nd\"\n1,e,f", {{"a\nb", "c\r\nd"}, {"e", "f"}}},
        ReadCase{"quoted header", "\"Number\",\"Value From PIC\",\"Value On Display\"\n0,1,2", {{"1", "2"}}},
        ReadCase{"lone CR is data", Header + "\n0,1\r2,3\n", {{"1\r2", "3"}}}));

struct ErrorCase
{
    std::string m_strName;
    std::string m_strText;
    int m_nLine;
    std::string m_strProblem;
};

void PrintTo(const ErrorCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class PointCsvErrorTest : public ::testing::TestWithParam<ErrorCase>
{
};

TEST_P(PointCsvErrorTest, NamesTheLine)
{
    try
    {
        ReadPointCsv(GetParam().m_strText);
        FAIL() << "read without error";
    }
    catch (const PointCsvError& e)
    {
        EXPECT_EQ(e.Line(), GetParam().m_nLine) << e.what();
        const std::string strStart = "Line " + std::to_string(GetParam().m_nLine) + ": ";
        EXPECT_EQ(std::string(e.what()).substr(0, strStart.size()), strStart) << e.what();
        EXPECT_NE(std::string(e.what()).find(GetParam().m_strProblem), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PointCsvErrorTest,
    ::testing::Values(ErrorCase{"empty text", "", 1, "no header"},
                      ErrorCase{"only blank lines", "\n\r\n\n", 1, "no header"},
                      ErrorCase{"wrong header", "Nr,PIC,Display\n0,1,2\n", 1, "not the header"},
                      ErrorCase{"header with a fourth field", Header + ",\n0,1,2\n", 1, "not the header"},
                      ErrorCase{"rows without header", "\n\n0,1,2\n", 3, "not the header"},
                      ErrorCase{"two fields", Header + "\n0,1,2\n1,2\n", 3, "found 2"},
                      ErrorCase{"four fields", Header + "\r\n0,1,2,3\r\n", 2, "found 4"},
                      ErrorCase{"blanks only", Header + "\n   \n", 2, "found 1"},
                      ErrorCase{"unterminated quote", Header + "\n0,1,2\n1,\"3,4\n2,5,6\n", 3, "not closed"},
                      ErrorCase{"text after closing quote", Header + "\n0,\"1\"x,2\n", 2, "follows a closing quote"},
                      ErrorCase{"quote inside a field", Header + "\n0,1\"2,3\n", 2, "quote inside a field"},
                      ErrorCase{"lines counted through quoted line breaks", Header + "\n0,\"a\nb\r\nc\",2\n1,2\n", 5,
                                "found 2"}));

struct WriteCase
{
    std::string m_strName;
    std::vector<PointRow> m_rows;
    std::string m_strText;
};

void PrintTo(const WriteCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class PointCsvWriteTest : public ::testing::TestWithParam<WriteCase>
{
};

TEST_P(PointCsvWriteTest, WritesAndReadsBack)
{
    const std::string strText = WritePointCsv(GetParam().m_rows);
    EXPECT_EQ(strText, GetParam().m_strText);
    EXPECT_EQ(ReadPointCsv(strText), GetParam().m_rows);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PointCsvWriteTest,
    ::testing::Values(WriteCase{"no rows", {}, Header + "\r\n"},
                      WriteCase{"plain cells",
                                {{"600", "30.0000"}, {"100", "10.0000"}},
                                Header + "\r\n0,600,30.0000\r\n1,100,10.0000\r\n"},
                      WriteCase{"cells that need quotes",
                                {{"1,5", "say \"hi\""}, {"a\nb", "c\r\nd"}, {"", " x "}},
                                Header + "\r\n0,\"1,5\",\"say \"\"hi\"\"\"\r\n1,\"a\nb\",\"c\r\nd\"\r\n2,, x \r\n"}));

class PointCsvFileTest : public ::testing::Test
{
  protected:
    std::string FullPath(const QString& strPath) const
    {
        return QFileInfo(strPath).absoluteFilePath().toStdString();
    }

    void ExpectError(const QString& strPath, const std::string& strStart, const std::string& strPart)
    {
        try
        {
            ReadPointCsvFile(strPath);
            ADD_FAILURE() << "read " << strPath.toStdString();
        }
        catch (const PointFileError& e)
        {
            EXPECT_EQ(std::string(e.what()).substr(0, strStart.size()), strStart) << e.what();
            EXPECT_NE(std::string(e.what()).find(strPart), std::string::npos) << e.what();
        }
    }

    QTemporaryDir m_dir;
};

TEST_F(PointCsvFileTest, WritesAndReadsAFile)
{
    const std::vector<PointRow> rows = {{"600", "30.0000"}, {"1,5", "\"x\""}};
    const QString strPath = m_dir.filePath("points.csv");
    WritePointCsvFile(strPath, rows);
    EXPECT_EQ(ReadPointCsvFile(strPath), rows);
}

TEST_F(PointCsvFileTest, ReportsFilesThatCannotBeRead)
{
    const QString strMissing = m_dir.filePath("missing.csv");
    ExpectError(strMissing, "Cannot read the point file \"" + FullPath(strMissing) + "\": ", "No such file");
    ExpectError(m_dir.path(), "Cannot read the point file \"" + FullPath(m_dir.path()) + "\": ", "folder");

    const QString strBad = m_dir.filePath("bad.csv");
    QFile bad(strBad);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray::fromStdString(Header + "\r\n0,1,2\r\n1,2\r\n"));
    bad.close();
    ExpectError(strBad, "The point file \"" + FullPath(strBad) + "\" cannot be read. Line 3: ", "found 2");

    // Not a point list at all: refused before it is taken in as a whole.
    const QString strHuge = m_dir.filePath("huge.csv");
    QFile huge(strHuge);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(MaxPointFileBytes + 1));
    huge.close();
    ExpectError(strHuge, "The point file \"" + FullPath(strHuge) + "\" is larger than 16 MiB", "Choose");
}

TEST_F(PointCsvFileTest, ReportsAFileThatCannotBeWritten)
{
    const QString strPath = m_dir.filePath("missing/points.csv");
    try
    {
        WritePointCsvFile(strPath, std::vector<PointRow>{{"1", "2"}});
        ADD_FAILURE() << "written";
    }
    catch (const PointFileError& e)
    {
        const std::string strStart = "Cannot write the point file \"" + FullPath(strPath) + "\": No such file";
        EXPECT_EQ(std::string(e.what()).substr(0, strStart.size()), strStart) << e.what();
    }
}
}
