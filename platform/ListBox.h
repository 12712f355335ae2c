#pragma once

#include <QListWidget>

class CScrollArrows;

// A single-selection list box with the list box operations the windows use. Rows are one font line high and may
// be cut at the bottom. Its vertical scroll bar is a compact arrow pair that scrolls the items by whole rows and
// leaves the selection where it is; the arrow keys move the selection and scroll it into view; a click selects.
// The decimals scroller of the main window is one row high, so its top index is the item it shows.
class CListBox : public QListWidget {
    Q_OBJECT

public:
    explicit CListBox(QWidget* pParent = nullptr);

    // Appends an item (the box never sorts) and returns its index.
    int AddString(const QString& strItem);
    int GetCount() const;
    // The item's text, or an empty text for an index outside the list.
    QString GetText(int nIndex) const;
    void ResetContent();

    // The selected item, -1 when none is.
    int GetCurSel() const;
    // Selects the item and scrolls it into view; -1 clears the selection. Returns -1 for an index outside the
    // list (and then clears the selection, as -1 does), otherwise the index.
    int SetCurSel(int nSelect);

    // The first visible item (0 when the list is empty).
    int GetTopIndex() const;
    // Scrolls so that the item is the first visible one, as far as the list can scroll; -1 for an index outside
    // the list, otherwise the index.
    int SetTopIndex(int nIndex);

    // Horizontal alignment of the items' texts (right-aligned when the template asks for it).
    void SetItemAlignment(Qt::Alignment alignment);

    CScrollArrows* ScrollArrows() const { return m_pArrows; }

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void updateGeometries() override;

private:
    int RowHeight() const;
    int FullyVisibleRows() const;
    int MaxTopIndex() const;
    void ScrollTop(int nIndex);
    void PlaceArrows();

    CScrollArrows* m_pArrows;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    int m_nPendingTop = -1; // top index asked for before the list had its scroll range, -1 for none
};
