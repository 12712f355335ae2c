#include "PointListCtrl.h"

#include "CellEdit.h"
#include "EndLabelEditInfo.h"
#include "FixedFormat.h"
#include "LeadingNumber.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kFormatRole = Qt::UserRole;
constexpr int kDisplayValueColumn = 2;  // "Value On Display": stored as a number with four decimals
constexpr int kMinEditWidth = 5;

Qt::Alignment AlignmentOfFormat(int nFormat)
{
    switch (nFormat & CPointListCtrl::FormatJustifyMask)
    {
    case CPointListCtrl::FormatLeft:
        return Qt::AlignLeft;
    case CPointListCtrl::FormatRight:
        return Qt::AlignRight;
    default:
        return Qt::AlignHCenter;
    }
}
}  // namespace

CPointListCtrl::CPointListCtrl(QWidget* pParent)
    : QTableWidget(pParent)
{
    // A list view in report view: never sorted, one selection at a time, no editing of its own, whole rows
    // scrolled vertically and pixels horizontally, columns in index order that the user may make as narrow as 0.
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    SetExtendedStyle(0);
    ApplyRowHeight();
}

CPointListCtrl::~CPointListCtrl()
{
    // An editor still open must not report to a list that is half destroyed; it goes with the viewport.
    const auto aEditors = viewport()->findChildren<CCellEdit*>(Qt::FindDirectChildrenOnly);
    for (CCellEdit* pEdit : aEditors)
        pEdit->Abandon();
}

int CPointListCtrl::InsertColumn(int nCol, const QString& strCaption, int nFormat, int nWidth)
{
    if (nCol < 0)
        return -1;
    nCol = std::min(nCol, columnCount());
    insertColumn(nCol);
    auto* pHeaderItem = new QTableWidgetItem(strCaption);
    pHeaderItem->setTextAlignment(AlignmentOfFormat(nFormat) | Qt::AlignVCenter);
    pHeaderItem->setData(kFormatRole, nFormat);
    setHorizontalHeaderItem(nCol, pHeaderItem);
    setColumnWidth(nCol, std::max(0, nWidth));
    for (int nRow = 0; nRow < rowCount(); ++nRow)
        setItem(nRow, nCol, NewCell(nCol, QString()));
    return nCol;
}

int CPointListCtrl::GetColumnFormat(int nCol) const
{
    const QTableWidgetItem* pHeaderItem = nCol >= 0 && nCol < columnCount() ? horizontalHeaderItem(nCol) : nullptr;
    return pHeaderItem ? pHeaderItem->data(kFormatRole).toInt() : FormatLeft;
}

int CPointListCtrl::GetColumnWidth(int nCol) const
{
    return nCol >= 0 && nCol < columnCount() ? columnWidth(nCol) : 0;
}

bool CPointListCtrl::SetColumnWidth(int nCol, int nWidth)
{
    if (nCol < 0 || nCol >= columnCount())
        return false;
    setColumnWidth(nCol, std::max(0, nWidth));
    return true;
}

void CPointListCtrl::SetExtendedStyle(int nStyle)
{
    setShowGrid((nStyle & StyleGridLines) != 0);
    setSelectionBehavior((nStyle & StyleFullRowSelect) != 0 ? QAbstractItemView::SelectRows
                                                            : QAbstractItemView::SelectItems);
}

int CPointListCtrl::GetExtendedStyle() const
{
    return (showGrid() ? StyleGridLines : 0) |
           (selectionBehavior() == QAbstractItemView::SelectRows ? StyleFullRowSelect : 0);
}

int CPointListCtrl::GetItemCount() const
{
    return rowCount();
}

int CPointListCtrl::InsertItem(int nItem, const QString& strText)
{
    if (nItem < 0)
        return -1;
    nItem = std::min(nItem, rowCount());
    insertRow(nItem);
    for (int nCol = 0; nCol < columnCount(); ++nCol)
        setItem(nItem, nCol, NewCell(nCol, nCol == 0 ? strText : QString()));
    return nItem;
}

bool CPointListCtrl::SetItemText(int nItem, int nSubItem, const QString& strText)
{
    if (nItem < 0 || nItem >= rowCount() || nSubItem < 0 || nSubItem >= columnCount())
        return false;
    if (QTableWidgetItem* pCell = item(nItem, nSubItem))
        pCell->setText(strText);
    else
        setItem(nItem, nSubItem, NewCell(nSubItem, strText));
    return true;
}

QString CPointListCtrl::GetItemText(int nItem, int nSubItem) const
{
    if (nItem < 0 || nItem >= rowCount() || nSubItem < 0 || nSubItem >= columnCount())
        return QString();
    const QTableWidgetItem* pCell = item(nItem, nSubItem);
    return pCell ? pCell->text() : QString();
}

bool CPointListCtrl::DeleteAllItems()
{
    setRowCount(0);
    return true;
}

int CPointListCtrl::HitTestCell(const QPoint& point, int& nCol) const
{
    nCol = 0;
    // Only the visible page and the partly visible row below it can be under the point.
    const int nTop = TopIndex();
    const int nLast = std::min(nTop + CountPerPage(), rowCount() - 1);
    const int nColumns = columnCount();
    for (int nRow = nTop; nRow <= nLast; ++nRow)
    {
        const QRect rcRow = RowBounds(nRow);
        if (point.x() < rcRow.left() || point.x() >= rcRow.left() + rcRow.width() || point.y() < rcRow.top() ||
            point.y() >= rcRow.top() + rcRow.height())
            continue;
        // Both ends inclusive, so the border pixel between two columns belongs to the left one.
        int nX0 = rcRow.left();
        for (int j = 0; j < nColumns; ++j)
        {
            const int nWidth = columnWidth(j);
            if (nX0 <= point.x() && point.x() <= nX0 + nWidth)
            {
                nCol = j;
                return nRow;
            }
            nX0 += nWidth;
        }
    }
    return -1;
}

CCellEdit* CPointListCtrl::EditCell(int nItem, int nSubItem)
{
    // Scroll ranges and row positions must reflect rows and widths changed since the last layout pass.
    executeDelayedItemsLayout();
    updateGeometries();

    if (!EnsureRowVisible(nItem))
        return nullptr;
    if (nSubItem < 0 || nSubItem >= columnCount())
        return nullptr;
    const int nWidth = columnWidth(nSubItem);
    if (nWidth < kMinEditWidth)
        return nullptr;

    int nOffset = 0;
    for (int j = 0; j < nSubItem; ++j)
        nOffset += columnWidth(j);

    const QRect rcRow = RowBounds(nItem);
    const int nClientRight = viewport()->width();  // exclusive, as a client rectangle's right edge
    int nRowLeft = rcRow.left();
    const int nCellLeft = nRowLeft + nOffset;
    if (nCellLeft < 0 || nCellLeft > nClientRight)
    {
        QScrollBar* pBar = horizontalScrollBar();
        pBar->setValue(pBar->value() + nCellLeft);
        // Read back where the view went: near the end of the scroll range it cannot go the whole way, and the
        // editor has to sit over the cell wherever that is.
        nRowLeft = RowBounds(nItem).left();
    }

    const Qt::Alignment alignment = AlignmentOfFormat(GetColumnFormat(nSubItem));
    // 4 pixels inside the cell to 1 pixel past its right border, clipped at the client area.
    const int nLeft = nRowLeft + nOffset + 4;
    const int nRight = std::min(nLeft + nWidth - 3, nClientRight);
    const QRect rcEdit(nLeft, rcRow.top(), std::max(0, nRight - nLeft), rcRow.height());

    auto* pEdit = new CCellEdit(nItem, nSubItem, GetItemText(nItem, nSubItem));
    pEdit->Create(alignment, rcEdit, this);
    return pEdit;
}

CCellEdit* CPointListCtrl::EditCellAt(const QPoint& ptGlobal)
{
    if (!isEnabled())
        return nullptr;
    int nCol = 0;
    const int nItem = HitTestCell(viewport()->mapFromGlobal(ptGlobal), nCol);
    // Column 0 is the row number, never edited; it is also what a miss reports.
    if (nCol == 0)
        return nullptr;
    return EditCell(nItem, nCol);
}

void CPointListCtrl::OnEndCellEdit(const EndLabelEditInfo& info, qintptr* pResult)
{
    if (info.m_strText)
    {
        QString strText = *info.m_strText;
        if (info.m_nSubItem == kDisplayValueColumn)
        {
            // A number too large for a double would be stored as "inf", which reads back as 0: keep what was
            // typed instead, so building the table refuses the row by name rather than using a wrong value.
            const double dValue = ParseLeadingDouble(strText.toStdString());
            if (std::isfinite(dValue))
                strText = QString::fromStdString(FormatFixed(dValue, 4));
        }
        SetItemText(info.m_nItem, info.m_nSubItem, strText);
    }
    if (pResult)
        *pResult = 0;
}

void CPointListCtrl::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    QTableWidget::mouseDoubleClickEvent(pEvent);
    if (pEvent->button() == Qt::LeftButton)
        emit DblClk(pEvent->globalPosition().toPoint());
}

void CPointListCtrl::changeEvent(QEvent* pEvent)
{
    QTableWidget::changeEvent(pEvent);
    if (pEvent->type() == QEvent::FontChange)
        ApplyRowHeight();
}

QRect CPointListCtrl::RowBounds(int nItem) const
{
    // The whole row across all columns, moved by the horizontal scroll.
    const QHeaderView* pHeader = horizontalHeader();
    return QRect(-pHeader->offset(), rowViewportPosition(nItem), pHeader->length(), rowHeight(nItem));
}

int CPointListCtrl::TopIndex() const
{
    return std::max(0, rowAt(0));
}

int CPointListCtrl::CountPerPage() const
{
    const int nRowHeight = verticalHeader()->defaultSectionSize();
    return nRowHeight > 0 ? viewport()->height() / nRowHeight : 0;
}

bool CPointListCtrl::EnsureRowVisible(int nItem)
{
    if (nItem < 0 || nItem >= rowCount())
        return false;
    const int nY = rowViewportPosition(nItem);
    if (nY + rowHeight(nItem) > 0 && nY < viewport()->height())
        return true;  // partly visible is enough
    // Vertical only, by whole rows: above the page it becomes the top row, below it the last full one.
    const int nTop = nY < 0 ? nItem : std::max(0, nItem - CountPerPage() + 1);
    verticalScrollBar()->setValue(nTop);
    return true;
}

QTableWidgetItem* CPointListCtrl::NewCell(int nCol, const QString& strText) const
{
    auto* pCell = new QTableWidgetItem(strText);
    pCell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    pCell->setTextAlignment(AlignmentOfFormat(GetColumnFormat(nCol)) | Qt::AlignVCenter);
    return pCell;
}

void CPointListCtrl::ApplyRowHeight()
{
    // Rows as high as the font plus a small margin, like the list view's, so a page holds as many.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}
