#include "CellEdit.h"

#include "EndLabelEditInfo.h"
#include "PointListCtrl.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include <algorithm>

namespace
{
// Keys the editor keeps for itself, ahead of the dialog's default button, Escape handling and shortcuts.
bool IsEditorKey(const QKeyEvent* pKey)
{
    switch (pKey->key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return true;
    default:
        return (pKey->modifiers() & Qt::ControlModifier) != 0;
    }
}
}  // namespace

CCellEdit::CCellEdit(int nItem, int nSubItem, const QString& strInitText)
    : m_nItem(nItem)
    , m_nSubItem(nSubItem)
    , m_strInitText(strInitText)
{
    connect(this, &QLineEdit::textEdited, this, &CCellEdit::OnTextEdited);
}

CCellEdit::~CCellEdit() = default;

void CCellEdit::Create(Qt::Alignment alignment, const QRect& rc, CPointListCtrl* pList)
{
    m_pList = pList;
    setParent(pList->viewport());
    setObjectName(QString::number(kControlId));
    // A plain one-pixel border, so the text gets nearly the whole box, as in a bordered edit control.
    setStyleSheet(QStringLiteral("CCellEdit { border: 1px solid palette(shadow); padding: 0px; }"));
    setAlignment(alignment | Qt::AlignVCenter);
    setGeometry(rc);
    OnCreate();
}

void CCellEdit::Abandon()
{
    m_bEnded = true;
    m_pList = nullptr;
}

void CCellEdit::OnCreate()
{
    setFont(m_pList->font());
    setText(m_strInitText);
    show();
    setFocus(Qt::OtherFocusReason);
    selectAll();  // leaves the caret at the end, scrolled into view
}

bool CCellEdit::event(QEvent* pEvent)
{
    // Claim these keys before any shortcut of the window can take them.
    if (pEvent->type() == QEvent::ShortcutOverride && IsEditorKey(static_cast<QKeyEvent*>(pEvent)))
    {
        pEvent->accept();
        return true;
    }
    return QLineEdit::event(pEvent);
}

void CCellEdit::keyPressEvent(QKeyEvent* pEvent)
{
    switch (pEvent->key())
    {
    case Qt::Key_Escape:
        m_bEscaped = true;
        [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Accepted, so the dialog never sees it: no default button, no reject. Handing the focus to the list
        // ends the edit.
        pEvent->accept();
        if (m_pList)
            m_pList->setFocus(Qt::OtherFocusReason);
        return;
    default:
        QLineEdit::keyPressEvent(pEvent);
        if (IsEditorKey(pEvent))
            pEvent->accept();
        return;
    }
}

void CCellEdit::focusOutEvent(QFocusEvent* pEvent)
{
    QLineEdit::focusOutEvent(pEvent);
    // The editor's own context menu takes the focus only while it is open; the edit goes on after it.
    if (pEvent->reason() == Qt::PopupFocusReason)
        return;
    OnKillFocus();
}

void CCellEdit::OnKillFocus()
{
    if (m_bEnded)
        return;
    m_bEnded = true;
    const QString strText = text();
    if (m_pList)
    {
        EndLabelEditInfo info;
        info.m_pSource = m_pList;
        info.m_nIdFrom = kControlId;
        info.m_nItem = m_nItem;
        info.m_nSubItem = m_nSubItem;
        if (!m_bEscaped)
            info.m_strText = strText;
        info.m_nTextMax = static_cast<int>(strText.size());
        qintptr nResult = 0;
        m_pList->OnEndCellEdit(info, &nResult);
    }
    // Gone from the screen at once; the object itself goes when control is back in the event loop, since this
    // may run inside one of its own event handlers.
    hide();
    deleteLater();
}

void CCellEdit::OnTextEdited()
{
    if (!m_pList)
        return;
    // Widen to the text plus a little room, up to the list's right edge, and never narrow again.
    const int nTextWidth = QFontMetrics(m_pList->font()).horizontalAdvance(text());
    const QRect rc = geometry();
    if (nTextWidth + 5 <= rc.width())
        return;
    const int nRight = std::min(rc.left() + nTextWidth + 5, m_pList->viewport()->width());
    if (nRight > rc.left() + rc.width())
        setGeometry(rc.left(), rc.top(), nRight - rc.left(), rc.height());
}
