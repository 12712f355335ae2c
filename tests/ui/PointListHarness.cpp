// Shows the point list with a few rows and the editor open over a cell, as the main window would.
// velmora_point_list_harness [--screenshot out.png [--zoom N]] [--row N] [--column N] [--type TEXT]
// With --screenshot the window is rendered to a PNG and the program ends; otherwise it stays open.
#include "CellEdit.h"
#include "PointListCtrl.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption optShot(QStringLiteral("screenshot"), QStringLiteral("Write a PNG and quit."),
                                     QStringLiteral("file"));
    const QCommandLineOption optRow(QStringLiteral("row"), QStringLiteral("Row to edit."), QStringLiteral("n"),
                                    QStringLiteral("1"));
    const QCommandLineOption optColumn(QStringLiteral("column"), QStringLiteral("Column to edit."),
                                       QStringLiteral("n"), QStringLiteral("2"));
    const QCommandLineOption optZoom(QStringLiteral("zoom"), QStringLiteral("Enlarge the screenshot n times."),
                                     QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption optType(QStringLiteral("type"), QStringLiteral("Text to type into the editor."),
                                     QStringLiteral("text"));
    parser.addHelpOption();
    parser.addOptions({optShot, optRow, optColumn, optType, optZoom});
    parser.process(app);

    QDialog dlg;
    dlg.setWindowTitle(QStringLiteral("Point list harness"));
    auto* pLayout = new QVBoxLayout(&dlg);
    auto* pList = new CPointListCtrl(&dlg);
    // About the size the main window gives it: 211 x 102 dialog units at 6 x 13 base units.
    pList->setFixedSize(316, 165);
    pLayout->addWidget(pList);
    auto* pExit = new QPushButton(QStringLiteral("Exit"), &dlg);
    pExit->setDefault(true);
    QObject::connect(pExit, &QPushButton::clicked, &dlg, &QDialog::accept);
    pLayout->addWidget(pExit);

    pList->SetExtendedStyle(CPointListCtrl::StyleGridLines | CPointListCtrl::StyleFullRowSelect);
    pList->InsertColumn(0, QStringLiteral("Number"), CPointListCtrl::FormatRight, 53);
    pList->InsertColumn(1, QStringLiteral("Value From PIC"), CPointListCtrl::FormatCenter, 90);
    pList->InsertColumn(2, QStringLiteral("Value On Display"), CPointListCtrl::FormatCenter, 170);
    const int anReading[] = {12, 240, 511, 768, 1010};
    const double adValue[] = {0.0, 25.5, 50.0, 75.25, 100.0};
    for (int n = 0; n < 5; ++n)
    {
        pList->InsertItem(n, QString::number(n));
        pList->SetItemText(n, 1, QString::number(anReading[n]));
        pList->SetItemText(n, 2, QString::number(adValue[n], 'f', 4));
    }
    QObject::connect(pList, &CPointListCtrl::DblClk, pList, &CPointListCtrl::EditCellAt);

    dlg.show();
    if (!QTest::qWaitForWindowExposed(&dlg))
        std::fprintf(stderr, "harness: window not exposed\n");
    dlg.activateWindow();
    if (!QTest::qWaitForWindowActive(&dlg))
        std::fprintf(stderr, "harness: window not active\n");

    CCellEdit* pEdit = pList->EditCell(parser.value(optRow).toInt(), parser.value(optColumn).toInt());
    if (pEdit && parser.isSet(optType))
        QTest::keyClicks(pEdit, parser.value(optType));
    if (pEdit)
        std::printf("editor at %d,%d size %dx%d in the rows area %dx%d\n", pEdit->x(), pEdit->y(), pEdit->width(),
                    pEdit->height(), pList->viewport()->width(), pList->viewport()->height());
    else
        std::printf("no editor opened\n");

    if (parser.isSet(optShot))
    {
        QApplication::processEvents();
        // Enlarged pixel for pixel, so the editor's position against the grid lines can be checked by eye.
        const QPixmap pixWindow = dlg.grab();
        const int nZoom = std::max(1, parser.value(optZoom).toInt());
        const QPixmap pix = pixWindow.scaled(pixWindow.size() * nZoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!pix.save(parser.value(optShot)))
        {
            std::fprintf(stderr, "harness: cannot write %s\n", qPrintable(parser.value(optShot)));
            return 1;
        }
        return 0;
    }
    dlg.exec();
    return 0;
}
