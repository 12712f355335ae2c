#pragma once

#include <QTimer>
#include <QWidget>

class QScrollBar;

// A compact up/down arrow pair that drives a (hidden) vertical scroll bar one step per click, repeating while held,
// like the arrows of a Windows scroll bar. It fits where a stock scroll bar has no room for both arrows
// (the one-row decimals scroller).
class CScrollArrows : public QWidget {
    Q_OBJECT

public:
    CScrollArrows(QScrollBar* pScrollBar, QWidget* pParent);

    QRect UpArrowRect() const;
    QRect DownArrowRect() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;

private:
    void Step();

    QScrollBar* m_pScrollBar;
    int m_nPressed = 0;       // -1 up arrow held, +1 down arrow held, 0 none
    bool m_bPressedInside = false;
    QTimer m_timerRepeat;
};
