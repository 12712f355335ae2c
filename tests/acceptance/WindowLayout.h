#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>

class CConfigDlg;

// Where things are in the main window, learnt from the same window built here on the offscreen platform: the
// same templates, dialog font and layer that place the controls of the real program. Rectangles are in the
// window's client coordinates. Nothing is added to the program for the test.
class WindowLayout
{
public:
    WindowLayout();
    ~WindowLayout();
    WindowLayout(const WindowLayout&) = delete;
    WindowLayout& operator=(const WindowLayout&) = delete;

    QSize WindowSize() const;
    QRect ControlRect(int nId) const;
    // The decimals scroller's arrows.
    QRect DecimalsUpArrow() const;
    QRect DecimalsDownArrow() const;
    // A point-list cell once the list holds nRows rows.
    QRect CellRect(int nRows, int nRow, int nCol) const;
    // The reading display as it looks with this text (for comparing with the screen).
    QImage ReadingImage(const QString& strText) const;

private:
    std::unique_ptr<CConfigDlg> m_pDlg;
};
