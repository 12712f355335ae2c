// "Generate" in the window: the table built from the boxes, the file chosen through the save prompt, the decimal
// places from the scroller's visible item, and what the user is told when nothing can be written.
#include "WindowFixture.h"

#include "CaseName.h"
#include "CellEdit.h"
#include "ListBox.h"
#include "ScrollArrows.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <map>

namespace
{
class GenerateFixture : public OpenWindowFixture {
protected:
    void ClickDecimalArrows(const char* szArrows)
    {
        CScrollArrows* pArrows = m_pDlg->m_listDecimals->ScrollArrows();
        for (const char* p = szArrows; *p != '\0'; ++p)
            QTest::mouseClick(pArrows, Qt::LeftButton, {},
                              (*p == 'u' ? pArrows->UpArrowRect() : pArrows->DownArrowRect()).center());
    }

    QString TablePath() const { return m_dir.filePath(QStringLiteral("table.anl")); }

    static QByteArray ReadFile(const QString& strPath)
    {
        QFile file(strPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Everything in the scratch folder, hidden files too: a failed write must leave no temporary file behind.
    QStringList FolderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

// The file's lines, split at CR LF; the last line is the text after the last CR LF.
QList<QByteArray> Lines(const QByteArray& abFile)
{
    QList<QByteArray> aLines;
    qsizetype nStart = 0;
    for (qsizetype nEnd = abFile.indexOf("\r\n"); nEnd >= 0; nEnd = abFile.indexOf("\r\n", nStart)) {
        aLines << abFile.mid(nStart, nEnd - nStart);
        nStart = nEnd + 2;
    }
    aLines << abFile.mid(nStart);
    return aLines;
}
}  // namespace

TEST_F(GenerateFixture, CancelWritesNothing)
{
    m_strSavePath.reset();
    Click(IDC_GENERATE);
    EXPECT_EQ(m_nSavePrompts, 1);
    EXPECT_TRUE(FolderEntries().isEmpty()) << FolderEntries().join(' ').toStdString();
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}

TEST_F(GenerateFixture, LinearZeroTo1023WithTwoDecimalsReplacesALongerFile)
{
    // Whatever was there before is gone, however long it was.
    {
        QFile old(TablePath());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    TypeInto(IDC_LOWER, QStringLiteral("0"));
    TypeInto(IDC_UPPER, QStringLiteral("1023"));
    TypeInto(IDC_UNITS, QStringLiteral("mV"));
    m_strSavePath = TablePath();
    Click(IDC_GENERATE);

    QByteArray abExpected;
    for (int i = 0; i < 1024; ++i)
        abExpected += QByteArray::number(i) + '\t' + QByteArray::number(i) + ".00\r\n";
    abExpected += "0\r\nmV\r\n%.2f";
    EXPECT_EQ(ReadFile(TablePath()), abExpected);
    EXPECT_EQ(m_nSavePrompts, 1);
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("table.anl")});
}

namespace
{
struct LinearCase {
    const char* m_szName;
    const char* m_szLower;
    const char* m_szUpper;
    const char* m_szArrows;  // clicks on the decimals scroller's arrows: u up, d down
    const char* m_szUnits;
    std::map<int, const char*> m_mapLines;  // 1-based line number -> text
};

class LinearFileTest : public GenerateFixture, public ::testing::WithParamInterface<LinearCase> {};
}  // namespace

TEST_P(LinearFileTest, FileHoldsTheTableInTheScrollersDecimals)
{
    const LinearCase& c = GetParam();
    TypeInto(IDC_LOWER, QString::fromLatin1(c.m_szLower));
    TypeInto(IDC_UPPER, QString::fromLatin1(c.m_szUpper));
    TypeInto(IDC_UNITS, QString::fromLatin1(c.m_szUnits));
    ClickDecimalArrows(c.m_szArrows);
    m_strSavePath = TablePath();
    Click(IDC_GENERATE);

    ASSERT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
    const QList<QByteArray> aLines = Lines(ReadFile(TablePath()));
    ASSERT_EQ(aLines.size(), 1027);
    for (const auto& [nLine, szText] : c.m_mapLines)
        EXPECT_EQ(aLines[nLine - 1], QByteArray(szText)) << "line " << nLine;
    EXPECT_EQ(aLines[1025], QByteArray(c.m_szUnits));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, LinearFileTest,
    ::testing::Values(
        // The scroller's arrows move the visible item and leave the selection on "2": the visible item counts.
        LinearCase{"no decimals", "0", "1023", "uu", "", {{1, "0\t0"}, {2, "1\t1"}, {1024, "1023\t1023"}, {1027, "%.0f"}}},
        LinearCase{"three decimals", "0", "1023", "d", "", {{2, "1\t1.000"}, {1027, "%.3f"}}},
        LinearCase{"four decimals", "0", "1023", "dddd", "", {{2, "1\t1.0000"}, {1027, "%.4f"}}},
        LinearCase{"one decimal", "0", "1023", "u", "", {{2, "1\t1.0"}, {1027, "%.1f"}}},
        // Halves go away from zero.
        LinearCase{"halves", "0", "511.5", "uu", "", {{2, "1\t1"}, {4, "3\t2"}, {6, "5\t3"}}},
        LinearCase{"descending", "100", "0", "", "", {{1, "0\t100.00"}, {1024, "1023\t0.00"}, {1025, "1"}}},
        // The accumulated last entry is a tiny negative number.
        LinearCase{"negative zero", "-100", "0", "", "", {{1024, "1023\t-0.00"}, {1025, "0"}}},
        LinearCase{"units with blanks", "0", "1", "", " mV ", {{1026, " mV "}, {1027, "%.2f"}}}),
    [](const auto& info) { return CaseName(info.param.m_szName); });

TEST_F(GenerateFixture, DecimalsFollowTheVisibleItemNotTheSelection)
{
    ClickDecimalArrows("uu");
    ASSERT_EQ(m_pDlg->m_listDecimals->GetTopIndex(), 0);
    ASSERT_EQ(m_pDlg->m_listDecimals->GetCurSel(), 2);
    m_strSavePath = TablePath();
    Click(IDC_GENERATE);
    EXPECT_TRUE(ReadFile(TablePath()).endsWith("\r\n\r\n%.0f"));
}

namespace
{
struct RefusedCase {
    const char* m_szName;
    bool m_bNonlinear;
    const char* m_szLower;
    const char* m_szUpper;
};

class RefusedTest : public GenerateFixture, public ::testing::WithParamInterface<RefusedCase> {};
}  // namespace

TEST_P(RefusedTest, RefusedTableIsToldOnceAndNothingIsWritten)
{
    const RefusedCase& c = GetParam();
    TypeInto(IDC_LOWER, QString::fromLatin1(c.m_szLower));
    TypeInto(IDC_UPPER, QString::fromLatin1(c.m_szUpper));
    if (c.m_bNonlinear)
        Click(IDC_NONLINEAR);
    m_strSavePath = TablePath();
    Click(IDC_GENERATE);

    ASSERT_EQ(m_aBoxes.size(), 1u) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(m_aBoxes[0].m_strCaption, TestAppTitle());
    EXPECT_EQ(m_aBoxes[0].m_nType & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_FALSE(m_aBoxes[0].m_strText.isEmpty());
    // The table is built before the file is asked for, so the user is not asked in vain.
    EXPECT_EQ(m_nSavePrompts, 0);
    EXPECT_TRUE(FolderEntries().isEmpty()) << FolderEntries().join(' ').toStdString();
    EXPECT_TRUE(m_pDlg->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Tables, RefusedTest,
                         ::testing::Values(RefusedCase{"nonlinear without points", true, "0", "0"},
                                           RefusedCase{"linear entries overflow", false, "-1e308", "1e308"}),
                         [](const auto& info) { return CaseName(info.param.m_szName); });

TEST_F(GenerateFixture, WriteFailureNamesThePathAndLeavesNothingBehind)
{
    const QString strMissingFolder = m_dir.filePath(QStringLiteral("gone"));
    m_strSavePath = strMissingFolder + QStringLiteral("/table.anl");
    Click(IDC_GENERATE);

    ASSERT_EQ(m_aBoxes.size(), 1u) << BoxTexts().join('\n').toStdString();
    EXPECT_TRUE(m_aBoxes[0].m_strText.contains(*m_strSavePath)) << m_aBoxes[0].m_strText.toStdString();
    EXPECT_EQ(m_aBoxes[0].m_strCaption, TestAppTitle());
    EXPECT_EQ(m_aBoxes[0].m_nType & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_TRUE(FolderEntries().isEmpty()) << FolderEntries().join(' ').toStdString();

    // The window carries on: the next Generate to a good path works.
    m_strSavePath = TablePath();
    Click(IDC_GENERATE);
    EXPECT_EQ(m_aBoxes.size(), 1u);
    EXPECT_EQ(Lines(ReadFile(TablePath())).size(), 1027);
}

TEST_F(GenerateFixture, ValueTypedInACellEditorCountsWhenGenerateIsClicked)
{
    // The user corrects a point and goes straight to "Generate": the click takes the focus from the editor,
    // which stores the value before the table is built.
    Click(IDC_NONLINEAR);
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("4"));
    Click(IDC_SET);
    CCellEdit* pEditor = DoubleClickCell(0, 2);
    ASSERT_NE(pEditor, nullptr);
    QTest::keyClick(pEditor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(pEditor, QStringLiteral("12.5"));

    m_strSavePath = TablePath();
    Click(IDC_GENERATE);
    EXPECT_EQ(PointRows(), QStringList{QStringLiteral("0|0|12.5000")});
    const QList<QByteArray> aLines = Lines(ReadFile(TablePath()));
    ASSERT_EQ(aLines.size(), 1027);
    EXPECT_EQ(aLines[0], QByteArray("0\t12.50"));
    EXPECT_EQ(aLines[1023], QByteArray("1023\t12.50"));
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}
