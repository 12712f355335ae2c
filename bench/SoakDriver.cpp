// velmora-soak: the real program (start-up, settings file, main window, serial link) with a user who never
// stops: it picks nonlinear mode, then presses Set at an interval, generates a table after every batch of
// points and clears the list, until the time is up. bench/soak runs it against velmora-unit-sim and samples its
// memory, descriptors and threads from outside.
#include "ConfigApp.h"
#include "ConfigDlg.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "SavePathPrompt.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace
{
struct SoakPlan
{
    int m_nSeconds = 1800;
    int m_nSetEveryMs = 2000;
    int m_nPointsPerTable = 50;
    QString m_strOutDir = QDir::tempPath();
};

struct SoakCounts
{
    int m_nSets = 0;
    int m_nTables = 0;
    int m_nBoxes = 0;
    int m_nPlaceholderSets = 0; // Set pressed while no reading had arrived yet
};

CConfigDlg* FindWindow()
{
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        if (auto* pDlg = qobject_cast<CConfigDlg*>(pWidget); pDlg != nullptr && pDlg->isVisible())
            return pDlg;
    return nullptr;
}

void Click(CConfigDlg* pDlg, int nId)
{
    QTest::mouseClick(pDlg->GetDlgItem(nId), Qt::LeftButton);
}

void Drive(const SoakPlan& plan, SoakCounts& counts)
{
    CConfigDlg* pDlg = FindWindow();
    if (pDlg == nullptr) {
        QTimer::singleShot(100, [&plan, &counts] { Drive(plan, counts); });
        return;
    }
    Click(pDlg, IDC_NONLINEAR);
    auto* pTimer = new QTimer(pDlg);
    const QDeadlineTimer end(static_cast<qint64>(plan.m_nSeconds) * 1000);
    QObject::connect(pTimer, &QTimer::timeout, pDlg, [pDlg, &plan, &counts, end] {
        if (end.hasExpired()) {
            pDlg->EndDialog(IDCANCEL);
            return;
        }
        if (pDlg->m_staticReading->text() == QStringLiteral("XXXX"))
            ++counts.m_nPlaceholderSets;
        Click(pDlg, counts.m_nSets % 3 == 0 ? IDC_STEP_UP : IDC_STEP_DOWN);
        Click(pDlg, IDC_SET);
        ++counts.m_nSets;
        if (counts.m_nSets % plan.m_nPointsPerTable == 0) {
            Click(pDlg, IDC_GENERATE);
            ++counts.m_nTables;
            Click(pDlg, IDC_CLEAR_ALL);
        }
    });
    pTimer->start(plan.m_nSetEveryMs);
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SoakPlan plan;
    const QStringList vArgs = QApplication::arguments();
    for (qsizetype i = 1; i + 1 < vArgs.size(); i += 2) {
        if (vArgs[i] == QLatin1String("--seconds"))
            plan.m_nSeconds = vArgs[i + 1].toInt();
        else if (vArgs[i] == QLatin1String("--set-every-ms"))
            plan.m_nSetEveryMs = vArgs[i + 1].toInt();
        else if (vArgs[i] == QLatin1String("--points-per-table"))
            plan.m_nPointsPerTable = vArgs[i + 1].toInt();
        else if (vArgs[i] == QLatin1String("--out"))
            plan.m_strOutDir = vArgs[i + 1];
    }
    if (plan.m_nSeconds <= 0 || plan.m_nSetEveryMs <= 0 || plan.m_nPointsPerTable <= 0) {
        std::fprintf(stderr, "usage: velmora-soak [--seconds N] [--set-every-ms N] [--points-per-table N] [--out DIR]\n");
        return 2;
    }

    // Nobody is there to answer a box or a save dialog: boxes are counted and printed (any box fails the run),
    // tables go to one file.
    SoakCounts counts;
    SetMessageBoxSink([&counts](const MessageBoxRequest& request) {
        ++counts.m_nBoxes;
        std::fprintf(stderr, "velmora-soak: message box: %s\n", qPrintable(request.m_strText));
        return IDOK;
    });
    const QString strTable = QDir(plan.m_strOutDir).filePath(QStringLiteral("soak.anl"));
    SetSavePathPrompt([strTable](QWidget*) { return std::optional<QString>(strTable); });

    QTimer::singleShot(0, [&plan, &counts] { Drive(plan, counts); });
    CConfigApp theApp;
    theApp.InitInstance();

    std::printf("sets %d, tables %d, message boxes %d, sets before the first reading %d\n", counts.m_nSets,
                counts.m_nTables, counts.m_nBoxes, counts.m_nPlaceholderSets);
    return counts.m_nBoxes == 0 ? 0 : 1;
}
