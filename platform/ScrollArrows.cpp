#include "ScrollArrows.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

// Delays of a held arrow, those of a Windows scroll bar.
constexpr int RepeatDelayMs = 500;
constexpr int RepeatIntervalMs = 50;

CScrollArrows::CScrollArrows(QScrollBar* pScrollBar, QWidget* pParent) : QWidget(pParent), m_pScrollBar(pScrollBar)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    connect(&m_timerRepeat, &QTimer::timeout, this, [this] {
        m_timerRepeat.setInterval(RepeatIntervalMs);
        if (m_bPressedInside)
            Step();
    });
    connect(m_pScrollBar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    connect(m_pScrollBar, &QScrollBar::rangeChanged, this, qOverload<>(&QWidget::update));
}

QRect CScrollArrows::UpArrowRect() const
{
    return QRect(0, 0, width(), height() / 2);
}

QRect CScrollArrows::DownArrowRect() const
{
    const int nTop = height() / 2;
    return QRect(0, nTop, width(), height() - nTop);
}

QSize CScrollArrows::sizeHint() const
{
    const int nWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QSize(nWidth, 2 * nWidth);
}

void CScrollArrows::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int nDirection : {-1, +1}) {
        const bool bUp = nDirection < 0;
        const bool bEnabled = isEnabled()
            && (bUp ? m_pScrollBar->value() > m_pScrollBar->minimum() : m_pScrollBar->value() < m_pScrollBar->maximum());
        const bool bSunken = m_nPressed == nDirection && m_bPressedInside;

        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = bUp ? UpArrowRect() : DownArrowRect();
        button.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        button.state |= bSunken ? QStyle::State_Sunken : QStyle::State_Raised;
        if (!bEnabled)
            button.state &= ~QStyle::State_Enabled;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);

        QStyleOption arrow = button;
        const int nInset = std::max(2, std::min(button.rect.width(), button.rect.height()) / 5);
        arrow.rect = button.rect.adjusted(nInset, nInset, -nInset, -nInset);
        if (bSunken)
            arrow.rect.translate(1, 1);
        style()->drawPrimitive(bUp ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    }
}

void CScrollArrows::Step()
{
    m_pScrollBar->triggerAction(m_nPressed < 0 ? QAbstractSlider::SliderSingleStepSub
                                               : QAbstractSlider::SliderSingleStepAdd);
}

void CScrollArrows::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->ignore();
        return;
    }
    m_nPressed = UpArrowRect().contains(pEvent->position().toPoint()) ? -1 : +1;
    m_bPressedInside = true;
    Step();
    m_timerRepeat.start(RepeatDelayMs);
    update();
}

void CScrollArrows::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (m_nPressed == 0)
        return;
    // Like a scroll bar arrow: repeating pauses while the pointer is off the held arrow.
    const QRect rcArrow = m_nPressed < 0 ? UpArrowRect() : DownArrowRect();
    const bool bInside = rcArrow.contains(pEvent->position().toPoint());
    if (bInside != m_bPressedInside) {
        m_bPressedInside = bInside;
        update();
    }
}

void CScrollArrows::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    m_timerRepeat.stop();
    m_nPressed = 0;
    m_bPressedInside = false;
    update();
}
