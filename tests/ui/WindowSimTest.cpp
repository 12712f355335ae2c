// End to end: the main window against the real velmora-unit-sim on a pseudo-terminal. Points are recorded from
// live readings, one is corrected in its cell, and the generated file is checked against the velmora-table
// command given the same points and against the table worked out here from the interpolation rules.
#include "WindowFixture.h"

#include "CellEdit.h"
#include "EventWait.h"
#include "ListBox.h"
#include "ScrollArrows.h"
#include "SimProcess.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <cstdio>
#include <vector>

namespace
{
constexpr int TestPollPeriodMs = 200;

QByteArray ReadFile(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The table file for points given in ascending order of reading, worked out from the rules: the first
// point's value up to its reading, then each segment stepped on from the entry before, then the last entry held.
QByteArray ExpectedFile(const std::vector<std::pair<int, double>>& aPoints, int nDecimals, const QByteArray& abUnits)
{
    std::vector<double> adEntry(1024);
    for (int i = 0; i <= aPoints.front().first; ++i)
        adEntry[static_cast<size_t>(i)] = aPoints.front().second;
    for (size_t k = 0; k + 1 < aPoints.size(); ++k) {
        const auto [nA, dA] = aPoints[k];
        const auto [nB, dB] = aPoints[k + 1];
        const double dStep = (dB - dA) / (nB - nA);
        for (int j = nA + 1; j <= nB; ++j)
            adEntry[static_cast<size_t>(j)] = adEntry[static_cast<size_t>(j - 1)] + dStep;
    }
    for (int j = aPoints.back().first + 1; j < 1024; ++j)
        adEntry[static_cast<size_t>(j)] = adEntry[static_cast<size_t>(j - 1)];

    QByteArray abFile;
    char szEntry[64];
    for (int i = 0; i < 1024; ++i) {
        std::snprintf(szEntry, sizeof szEntry, "%.*f", nDecimals, adEntry[static_cast<size_t>(i)]);
        abFile += QByteArray::number(i) + '\t' + szEntry + "\r\n";
    }
    const bool bDescending = aPoints.size() > 1 && aPoints[0].second > aPoints[1].second;
    abFile += QByteArray(bDescending ? "1" : "0") + "\r\n" + abUnits + "\r\n%." + QByteArray::number(nDecimals) + 'f';
    return abFile;
}
}  // namespace

TEST_F(WindowFixture, TableFromPointsRecordedAgainstTheSimulatedUnit)
{
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--values"), QStringLiteral("123,40000,7")});
    ASSERT_FALSE(sim.DevicePath().isEmpty()) << "velmora-unit-sim did not start";
    MapPort(1, sim.DevicePath());
    OpenWindow();
    m_pDlg->m_link.SetPollPeriodForTests(TestPollPeriodMs);
    QLabel* pReading = m_pDlg->m_staticReading;

    Click(IDC_NONLINEAR);
    ASSERT_TRUE(m_pDlg->m_link.IsPolling());
    ASSERT_TRUE(WaitFor([&] { return pReading->text() == QStringLiteral("123"); })) << pReading->text().toStdString();
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("10"));
    Click(IDC_SET);

    // The unit's input moves; the next answers show it.
    sim.Send("1 871");
    ASSERT_TRUE(WaitFor([&] { return pReading->text() == QStringLiteral("871"); })) << pReading->text().toStdString();
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("80"));
    Click(IDC_SET);
    ASSERT_EQ(PointRows(), (QStringList{"0|123|10.0000", "1|871|80.0000"}));

    // The second point's value is corrected in place: double-click its cell, type, Enter.
    CCellEdit* pEditor = DoubleClickCell(1, 2);
    ASSERT_NE(pEditor, nullptr) << "no cell editor after a double-click";
    QTest::keyClick(pEditor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(pEditor, QStringLiteral("95.7"));
    QTest::keyClick(pEditor, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return OpenEditor() == nullptr; }));
    ASSERT_EQ(PointRows(), (QStringList{"0|123|10.0000", "1|871|95.7000"}));

    // Three decimal places (one click down from "2") and a units label.
    CScrollArrows* pArrows = m_pDlg->m_listDecimals->ScrollArrows();
    QTest::mouseClick(pArrows, Qt::LeftButton, {}, pArrows->DownArrowRect().center());
    TypeInto(IDC_UNITS, QStringLiteral("mV"));

    const QString strWindowFile = m_dir.filePath(QStringLiteral("window.anl"));
    m_strSavePath = strWindowFile;
    Click(IDC_GENERATE);
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
    const QByteArray abWindow = ReadFile(strWindowFile);
    ASSERT_FALSE(abWindow.isEmpty());

    // The same points through the command-line tool.
    const QString strCsv = m_dir.filePath(QStringLiteral("points.csv"));
    {
        QFile csv(strCsv);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("Number,Value From PIC,Value On Display\r\n0,123,10.0000\r\n1,871,95.7000\r\n");
    }
    const QString strToolFile = m_dir.filePath(QStringLiteral("tool.anl"));
    QProcess tool;
    tool.start(QStringLiteral(VELMORA_TABLE_EXE),
               {QStringLiteral("--points"), strCsv, QStringLiteral("--decimals"), QStringLiteral("3"),
                QStringLiteral("--units"), QStringLiteral("mV"), QStringLiteral("--output"), strToolFile});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(abWindow, ReadFile(strToolFile));

    // These points give no halves at three decimals, so printf's rounding agrees with the file's.
    EXPECT_EQ(abWindow, ExpectedFile({{123, 10.0}, {871, 95.7}}, 3, "mV"));

    // The unit was polled throughout and never went away.
    EXPECT_GE(sim.RequestsSeen(), 2);
    EXPECT_TRUE(m_pDlg->m_link.IsPolling());
}
