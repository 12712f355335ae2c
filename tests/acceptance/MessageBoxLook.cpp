#include "MessageBoxLook.h"

#include <QLabel>
#include <QTest>

QImage DrawMessageBoxText(QMessageBox::Icon icon, const QString& strCaption, const QString& strText)
{
    QMessageBox box(icon, strCaption, strText, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.show();
    if (!QTest::qWaitForWindowExposed(&box))
        return {};
    // Grabbed from the box, so that the background beneath the text is the box's own.
    const QLabel* pLabel = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    return pLabel != nullptr ? box.grab(pLabel->geometry()).toImage() : QImage();
}
