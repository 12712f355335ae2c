#include "MessageBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <utility>

static int ShowQMessageBox(const MessageBoxRequest& request)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (request.m_nType & MB_ICONMASK) {
    case MB_ICONSTOP:
        icon = QMessageBox::Critical;
        break;
    case MB_ICONQUESTION:
        icon = QMessageBox::Question;
        break;
    case MB_ICONEXCLAMATION:
        icon = QMessageBox::Warning;
        break;
    case MB_ICONINFORMATION:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    QMessageBox box(icon, request.m_strCaption, request.m_strText, QMessageBox::NoButton, request.m_pOwner);
    box.setTextFormat(Qt::PlainText);
    switch (request.m_nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        // Escape or the close box on a box without Cancel still has to give an answer the caller knows.
        return (request.m_nType & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    }
}

static MessageBoxSink& CurrentSink()
{
    static MessageBoxSink sink;
    return sink;
}

MessageBoxSink SetMessageBoxSink(MessageBoxSink sink)
{
    return std::exchange(CurrentSink(), std::move(sink));
}

int AfxMessageBox(const QString& strText, unsigned nType)
{
    QWidget* pOwner = QApplication::activeModalWidget();
    if (pOwner == nullptr)
        pOwner = QApplication::activeWindow();
    const MessageBoxRequest request{ApplicationTitle(), strText, nType, pOwner};
    // A copy, so a sink that replaces itself while it runs stays alive until it returns.
    const MessageBoxSink sink = CurrentSink();
    return sink ? sink(request) : ShowQMessageBox(request);
}

QString ApplicationTitle()
{
    const QString strPath = QCoreApplication::applicationFilePath();
    if (strPath.isEmpty())
        return QCoreApplication::applicationName();
    return QFileInfo(strPath).completeBaseName();
}
