#include "Edit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>


// Hands every change to CEdit::AdjustUserChange; only user changes are ever cut or refused.
class FitValidator : public QValidator {
public:
    explicit FitValidator(CEdit* pEdit) : QValidator(pEdit), m_pEdit(pEdit) {}

    State validate(QString& strInput, int& nPos) const override
    {
        return m_pEdit->AdjustUserChange(strInput, nPos) ? Acceptable : Invalid;
    }

private:
    CEdit* m_pEdit;
};

// Marks a user action for the validator; restores the previous state so nested actions stay marked.
class UserInputScope {
public:
    explicit UserInputScope(bool& bFlag) : m_bFlag(bFlag), m_bSaved(bFlag) { m_bFlag = true; }
    ~UserInputScope() { m_bFlag = m_bSaved; }
    UserInputScope(const UserInputScope&) = delete;
    UserInputScope& operator=(const UserInputScope&) = delete;

private:
    bool& m_bFlag;
    bool m_bSaved;
};

CEdit::CEdit(QWidget* pParent) : QLineEdit(pParent)
{
    setValidator(new FitValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& strText) { m_strPrevious = strText; });
}

void CEdit::SetAutoHScroll(bool bAutoHScroll)
{
    m_bAutoHScroll = bAutoHScroll;
}

int CEdit::TextWidth(const QString& strText) const
{
    return qRound(QFontMetricsF(font()).horizontalAdvance(strText));
}

bool CEdit::TextFits(const QString& strText) const
{
    // QLineEdit's own test for "no scrolling needed": the text and the cursor's pixel within the contents
    // rectangle less the text margins and its fixed margin of 2 pixels on each side.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect rcContents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this)
                                 .marginsRemoved(textMargins());
    return TextWidth(strText) + 1 <= rcContents.width() - 4;
}

bool CEdit::AdjustUserChange(QString& strInput, int& nPos) const
{
    if (m_bAutoHScroll || !m_bUserInput || TextFits(strInput))
        return true;
    const QString& strOld = m_strPrevious;
    // A change that makes a too-wide text (one the program set) no wider is fine: deleting must always work.
    if (TextWidth(strInput) <= TextWidth(strOld))
        return true;

    // Find what was inserted: the text after the cursor is the unchanged tail, the common start the head.
    qsizetype nTail = strInput.size() - nPos;
    if (nPos < 0 || nPos > strInput.size() || !strOld.endsWith(strInput.mid(nPos)))
        nTail = 0;
    const qsizetype nInsertEnd = strInput.size() - nTail;
    const qsizetype nOldBodyEnd = strOld.size() - nTail;
    qsizetype nHead = 0;
    while (nHead < nInsertEnd && nHead < nOldBodyEnd && strInput[nHead] == strOld[nHead])
        ++nHead;

    // Keep as much of the inserted text as fits, like a box that simply stops taking characters.
    const QString strHead = strInput.left(nHead);
    const QString strInserted = strInput.mid(nHead, nInsertEnd - nHead);
    const QString strTail = strInput.right(nTail);
    for (qsizetype nKeep = strInserted.size() - 1; nKeep > 0; --nKeep) {
        const QString strCandidate = strHead + strInserted.left(nKeep) + strTail;
        if (TextFits(strCandidate)) {
            strInput = strCandidate;
            nPos = static_cast<int>(nHead + nKeep);
            return true;
        }
    }
    return false;
}

void CEdit::keyPressEvent(QKeyEvent* pEvent)
{
    // Undo and redo bring back earlier states, which the program may have set wider than the box.
    if (pEvent->matches(QKeySequence::Undo) || pEvent->matches(QKeySequence::Redo)) {
        QLineEdit::keyPressEvent(pEvent);
        return;
    }
    UserInputScope scope(m_bUserInput);
    QLineEdit::keyPressEvent(pEvent);
}

void CEdit::inputMethodEvent(QInputMethodEvent* pEvent)
{
    UserInputScope scope(m_bUserInput);
    QLineEdit::inputMethodEvent(pEvent);
}

void CEdit::dropEvent(QDropEvent* pEvent)
{
    UserInputScope scope(m_bUserInput);
    QLineEdit::dropEvent(pEvent);
}

static QString ShortcutText(QKeySequence::StandardKey key)
{
    const QKeySequence sequence(key);
    return sequence.isEmpty() ? QString() : QLatin1Char('\t') + sequence.toString(QKeySequence::NativeText);
}

void CEdit::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // The usual edit menu, built here so that its Paste counts as user input and its Undo does not.
    auto* pMenu = new QMenu(this);
    pMenu->setAttribute(Qt::WA_DeleteOnClose);
    const bool bWritable = !isReadOnly();
    const bool bShown = echoMode() == QLineEdit::Normal;
    const auto add = [&](const char* pszText, QKeySequence::StandardKey key, bool bEnabled, auto fnAction) {
        QAction* pAction = pMenu->addAction(QCoreApplication::translate("QLineEdit", pszText) + ShortcutText(key));
        pAction->setEnabled(bEnabled);
        connect(pAction, &QAction::triggered, this, fnAction);
    };
    add("&Undo", QKeySequence::Undo, bWritable && isUndoAvailable(), [this] { undo(); });
    add("&Redo", QKeySequence::Redo, bWritable && isRedoAvailable(), [this] { redo(); });
    pMenu->addSeparator();
    add("Cu&t", QKeySequence::Cut, bWritable && bShown && hasSelectedText(), [this] { cut(); });
    add("&Copy", QKeySequence::Copy, bShown && hasSelectedText(), [this] { copy(); });
    add("&Paste", QKeySequence::Paste, bWritable && !QGuiApplication::clipboard()->text().isEmpty(), [this] {
        UserInputScope scope(m_bUserInput);
        paste();
    });
    add("Delete", QKeySequence::UnknownKey, bWritable && hasSelectedText(), [this] { del(); });
    pMenu->addSeparator();
    add("Select All", QKeySequence::SelectAll, !text().isEmpty() && selectedText() != text(), [this] { selectAll(); });
    pMenu->popup(pEvent->globalPos());
    pEvent->accept();
}
