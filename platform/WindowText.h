#pragma once

#include <QString>

class QWidget;

// A control's "window text" whatever its widget class: an edit's or combo's text, a label's, a button's or
// group box's caption, a window's title. Widgets without a text give an empty one and ignore a new one.
QString GetWindowText(const QWidget* pWidget);
void SetWindowText(QWidget* pWidget, const QString& strText);
