#include "WindowLayout.h"

#include "ConfigDlg.h"
#include "ListBox.h"
#include "PointListCtrl.h"
#include "ScrollArrows.h"

#include <QLabel>
#include <QTest>

WindowLayout::WindowLayout() : m_pDlg(std::make_unique<CConfigDlg>())
{
    m_pDlg->Create();
    // Shown, as the real one is, so that every control has laid out its insides (the list's header and rows).
    m_pDlg->show();
    if (!QTest::qWaitForWindowExposed(m_pDlg.get()))
        qWarning("WindowLayout: the offscreen window was not exposed; its layout may be incomplete");
}

WindowLayout::~WindowLayout() = default;

QSize WindowLayout::WindowSize() const
{
    return m_pDlg->size();
}

QRect WindowLayout::ControlRect(int nId) const
{
    const QWidget* pControl = m_pDlg->GetDlgItem(nId);
    return pControl != nullptr ? pControl->geometry() : QRect();
}

QRect WindowLayout::DecimalsUpArrow() const
{
    const CScrollArrows* pArrows = m_pDlg->m_listDecimals->ScrollArrows();
    const QRect rc = pArrows->UpArrowRect();
    return QRect(pArrows->mapTo(m_pDlg.get(), rc.topLeft()), rc.size());
}

QRect WindowLayout::DecimalsDownArrow() const
{
    const CScrollArrows* pArrows = m_pDlg->m_listDecimals->ScrollArrows();
    const QRect rc = pArrows->DownArrowRect();
    return QRect(pArrows->mapTo(m_pDlg.get(), rc.topLeft()), rc.size());
}

QRect WindowLayout::CellRect(int nRows, int nRow, int nCol) const
{
    CPointListCtrl* pList = m_pDlg->m_listPoints;
    pList->DeleteAllItems();
    for (int i = 0; i < nRows; ++i)
        pList->InsertItem(i, QString::number(i));
    const QRect rc = pList->visualRect(pList->model()->index(nRow, nCol));
    return QRect(pList->viewport()->mapTo(m_pDlg.get(), rc.topLeft()), rc.size());
}

QImage WindowLayout::ReadingImage(const QString& strText) const
{
    m_pDlg->m_staticReading->setText(strText);
    // Grabbed from the window, so the group box it sits on is drawn beneath it as on the screen.
    return m_pDlg->grab(m_pDlg->m_staticReading->geometry()).toImage();
}
