#pragma once

#include <QTableWidget>

class CCellEdit;
struct EndLabelEditInfo;

// The calibration points in report view: one row per point, three text cells, rows kept in the order they were
// added. The cells are the only store of the points. Cells are edited only through CCellEdit, opened by
// EditCell; the list never edits on its own. Positions are in client coordinates, which here are the
// viewport's: the first row starts at y = 0 below the header.
class CPointListCtrl : public QTableWidget
{
    Q_OBJECT

public:
    // Column formats and extended styles keep the list view's values.
    enum ColumnFormat
    {
        FormatLeft = 0,
        FormatRight = 1,
        FormatCenter = 2,
        FormatJustifyMask = 3,
    };
    enum ExtendedStyle
    {
        StyleGridLines = 0x1,
        StyleFullRowSelect = 0x20,
    };

    explicit CPointListCtrl(QWidget* pParent = nullptr);
    ~CPointListCtrl() override;

    // Inserts before nCol (past the end appends); caption and cells are aligned by nFormat.
    // Returns the new column's index, or -1.
    int InsertColumn(int nCol, const QString& strCaption, int nFormat, int nWidth);
    int GetColumnFormat(int nCol) const;
    int GetColumnWidth(int nCol) const;
    bool SetColumnWidth(int nCol, int nWidth);
    // Replaces all extended styles: grid lines, and full-row selection (otherwise single cells are selected).
    void SetExtendedStyle(int nStyle);
    int GetExtendedStyle() const;

    int GetItemCount() const;
    // Inserts a row before nItem (past the end appends) with strText in column 0. Returns its index, or -1.
    int InsertItem(int nItem, const QString& strText);
    bool SetItemText(int nItem, int nSubItem, const QString& strText);
    QString GetItemText(int nItem, int nSubItem) const;
    bool DeleteAllItems();

    // Row under a client point, -1 if none; nCol gets the column, 0 when no cell is hit. Only the visible page
    // is searched, and a point on the border between two columns belongs to the left one.
    int HitTestCell(const QPoint& point, int& nCol) const;
    // Opens the editor over a cell, scrolling it into view; none for a missing row, a column past the last or
    // one narrower than 5 pixels. The editor owns itself.
    CCellEdit* EditCell(int nItem, int nSubItem);
    // What the window does on a double-click at a screen position: edit the cell there unless it is a "Number"
    // cell or no cell at all.
    CCellEdit* EditCellAt(const QPoint& ptGlobal);
    // The editor's end-of-edit report: stores its text unless cancelled; "Value On Display" keeps four decimals.
    void OnEndCellEdit(const EndLabelEditInfo& info, qintptr* pResult);

signals:
    // A left double-click on the rows area, at this screen position (the list view's NM_DBLCLK).
    void DblClk(const QPoint& ptGlobal);

protected:
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    QRect RowBounds(int nItem) const;
    int TopIndex() const;
    int CountPerPage() const;
    bool EnsureRowVisible(int nItem);
    QTableWidgetItem* NewCell(int nCol, const QString& strText) const;
    void ApplyRowHeight();
};
