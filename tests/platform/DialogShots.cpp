// Renders the main window's and the About box's templates to PNG files, for a look at the layout:
//   QT_QPA_PLATFORM=offscreen platform_dialog_shots <folder>
#include "Dialog.h"
#include "ListBox.h"
#include "Resources.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString strFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    CDialog main(IDD_VELMORA_DIALOG);
    main.Create();
    auto* pDecimals = qobject_cast<CListBox*>(main.GetDlgItem(IDC_DECIMALS));
    for (const char* psz : {"0", "1", "2", "3", "4"})
        pDecimals->AddString(QString::fromLatin1(psz));
    pDecimals->SetCurSel(2);
    qobject_cast<QComboBox*>(main.GetDlgItem(IDC_PORT))->setCurrentIndex(0);
    qobject_cast<QComboBox*>(main.GetDlgItem(IDC_CHANNEL))->setCurrentIndex(0);
    qobject_cast<QAbstractButton*>(main.GetDlgItem(IDC_LINEAR))->setChecked(true);
    for (int nId : {IDC_LOWER, IDC_UPPER, IDC_DISPLAY_VALUE, IDC_STEP})
        qobject_cast<QLineEdit*>(main.GetDlgItem(nId))->setText(QStringLiteral("0"));
    qobject_cast<QLabel*>(main.GetDlgItem(IDC_READING))->setText(QStringLiteral("XXXX"));
    main.show();
    QTest::qWait(50);
    main.grab().save(strFolder + QStringLiteral("/main.png"));
    // The same with the step and units boxes typed full, to see that a full box shows its whole text.
    for (int nId : {IDC_STEP, IDC_UNITS}) {
        auto* pEdit = qobject_cast<QLineEdit*>(main.GetDlgItem(nId));
        pEdit->clear();
        QTest::keyClicks(pEdit, QString(40, QLatin1Char(nId == IDC_STEP ? '8' : 'W')));
    }
    main.grab().save(strFolder + QStringLiteral("/main-full.png"));

    CDialog about(IDD_ABOUTBOX);
    about.Create();
    about.show();
    QTest::qWait(50);
    about.grab().save(strFolder + QStringLiteral("/about.png"));
    std::printf("main %dx%d, about %dx%d\n", main.width(), main.height(), about.width(), about.height());
    return 0;
}
