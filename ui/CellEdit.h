#pragma once

#include <QLineEdit>
#include <QPointer>

class CPointListCtrl;

// The in-place editor over one cell of the point list. It starts with the cell's text wholly selected, widens as
// the text grows, and ends on any loss of focus: Return stores, Escape cancels, and the list gets the result
// before the editor goes away. It owns itself and deletes itself once the edit has ended.
class CCellEdit : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int kControlId = 32000;

    CCellEdit(int nItem, int nSubItem, const QString& strInitText);
    ~CCellEdit() override;

    // Places the editor over the list's rows area at rc (client coordinates) and starts the edit.
    void Create(Qt::Alignment alignment, const QRect& rc, CPointListCtrl* pList);
    // The list is going away: end without reporting to it.
    void Abandon();

    int m_nItem;
    int m_nSubItem;
    QString m_strInitText;
    bool m_bEscaped = false;

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private slots:
    void OnTextEdited();

private:
    void OnCreate();
    void OnKillFocus();

    QPointer<CPointListCtrl> m_pList;
    bool m_bEnded = false;
};
