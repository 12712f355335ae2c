#pragma once

#include <QLineEdit>
#include <QString>

// A single-line edit box as the dialogs use it. Without automatic horizontal scrolling (the default, as all edits
// of our templates have it) the box stops taking characters, typed, pasted or dropped, once the text would no
// longer fit its visible width; the text never scrolls sideways. Text set by the program (setText, a data
// exchange load) is kept whole even when it is wider than the box, so no value is cut.
class CEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CEdit(QWidget* pParent = nullptr);

    void SetAutoHScroll(bool bAutoHScroll);
    bool GetAutoHScroll() const { return m_bAutoHScroll; }

    // Whether the text can be shown whole, without scrolling, in the box's visible width.
    bool TextFits(const QString& strText) const;

    // The validator's rule for a change made by the user: accepted whole, cut to what fits, or refused.
    bool AdjustUserChange(QString& strInput, int& nPos) const;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void inputMethodEvent(QInputMethodEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    int TextWidth(const QString& strText) const;

    bool m_bAutoHScroll = false;
    bool m_bUserInput = false;  // set while a user action (keys, paste, drop) changes the text
    QString m_strPrevious;      // the text before the change being validated
};
