#pragma once

#include <QImage>
#include <QMessageBox>
#include <QString>

// The text of a message box with one OK button as it looks on the screen, drawn here on the offscreen platform
// with the same style and fonts as the program's. Qt on Linux cannot copy a message box's text (Ctrl+C does that
// on Windows only), so the test looks for this picture in a screenshot of the box instead.
QImage DrawMessageBoxText(QMessageBox::Icon icon, const QString& strCaption, const QString& strText);
