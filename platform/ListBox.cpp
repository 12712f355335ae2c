#include "ListBox.h"

#include "ScrollArrows.h"

#include <QScrollBar>

#include <algorithm>

CListBox::CListBox(QWidget* pParent) : QListWidget(pParent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setUniformItemSizes(true);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The stock scroll bar stays hidden and keeps the position; the arrow pair beside the items drives it.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pArrows = new CScrollArrows(verticalScrollBar(), this);
    setViewportMargins(0, 0, m_pArrows->sizeHint().width(), 0);
    PlaceArrows();
    // Arrows and wheel scroll the laid-out list: from then on the scroll bar holds the top index.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { m_nPendingTop = -1; });
}

int CListBox::RowHeight() const
{
    // One font line per row; a box too short for two rows shows its one row across its whole height.
    const int nLine = fontMetrics().height();
    const int nViewport = contentsRect().height(); // the viewport's height, known before the first layout
    return nViewport >= nLine && nViewport < 2 * nLine ? nViewport : nLine;
}

int CListBox::AddString(const QString& strItem)
{
    auto* pItem = new QListWidgetItem(strItem);
    pItem->setTextAlignment(m_alignment | Qt::AlignVCenter);
    pItem->setSizeHint(QSize(1, RowHeight()));
    addItem(pItem);
    return count() - 1;
}

int CListBox::GetCount() const
{
    return count();
}

QString CListBox::GetText(int nIndex) const
{
    const QListWidgetItem* pItem = item(nIndex);
    return pItem != nullptr ? pItem->text() : QString();
}

void CListBox::ResetContent()
{
    clear();
    m_nPendingTop = -1;
}

int CListBox::GetCurSel() const
{
    const QList<QListWidgetItem*> aSelected = selectedItems();
    return aSelected.isEmpty() ? -1 : row(aSelected.first());
}

int CListBox::SetCurSel(int nSelect)
{
    if (nSelect < 0 || nSelect >= count()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return -1;
    }
    setCurrentRow(nSelect, QItemSelectionModel::ClearAndSelect);
    scrollTo(model()->index(nSelect, 0));
    return nSelect;
}

int CListBox::GetTopIndex() const
{
    if (count() == 0)
        return 0;
    if (m_nPendingTop >= 0)
        return std::min(m_nPendingTop, MaxTopIndex());
    // Scrolling is per item, so the scroll position is the index of the first visible row.
    return std::clamp(verticalScrollBar()->value(), 0, count() - 1);
}

int CListBox::SetTopIndex(int nIndex)
{
    if (nIndex < 0 || nIndex >= count())
        return -1;
    ScrollTop(nIndex);
    return nIndex;
}

int CListBox::MaxTopIndex() const
{
    return std::max(0, count() - FullyVisibleRows());
}

void CListBox::ScrollTop(int nIndex)
{
    nIndex = std::clamp(nIndex, 0, MaxTopIndex());
    verticalScrollBar()->setValue(nIndex);
    // Before the list is first laid out the scroll bar has no range yet: keep the wish until it has one.
    m_nPendingTop = verticalScrollBar()->value() == nIndex ? -1 : nIndex;
}

void CListBox::updateGeometries()
{
    QListWidget::updateGeometries();
    if (m_nPendingTop >= 0)
        ScrollTop(m_nPendingTop);
}

void CListBox::SetItemAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    for (int i = 0; i < count(); ++i)
        item(i)->setTextAlignment(m_alignment | Qt::AlignVCenter);
}

int CListBox::FullyVisibleRows() const
{
    return std::max(1, contentsRect().height() / std::max(1, RowHeight()));
}

void CListBox::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // Scroll by whole rows, the way a list box brings an item into view: to the top when it lies above,
    // to the last fully visible row when it lies below.
    if (!index.isValid())
        return;
    const int nRow = index.row();
    const int nTop = GetTopIndex();
    const int nVisible = FullyVisibleRows();
    if (hint == PositionAtTop || nRow < nTop)
        ScrollTop(nRow);
    else if (hint == PositionAtBottom || nRow >= nTop + nVisible)
        ScrollTop(nRow - nVisible + 1);
    else if (hint == PositionAtCenter)
        ScrollTop(nRow - (nVisible - 1) / 2);
}

void CListBox::PlaceArrows()
{
    const QRect rcContents = contentsRect();
    const int nWidth = m_pArrows->sizeHint().width();
    m_pArrows->setGeometry(rcContents.right() + 1 - nWidth, rcContents.top(), nWidth, rcContents.height());
}

void CListBox::resizeEvent(QResizeEvent* pEvent)
{
    QListWidget::resizeEvent(pEvent);
    PlaceArrows();
    const int nRowHeight = RowHeight();
    for (int i = 0; i < count(); ++i) {
        if (item(i)->sizeHint().height() != nRowHeight)
            item(i)->setSizeHint(QSize(1, nRowHeight));
    }
}
