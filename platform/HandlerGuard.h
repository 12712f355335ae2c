#pragma once

#include "MessageBox.h"

#include <QObject>

#include <exception>
#include <functional>

// Every handler of a window runs inside RunGuarded: an exception that escapes it is shown in a message box
// (stop icon, application title as caption) and the window carries on. No exception ever reaches Qt's event loop.

// Shows an exception's text, or "Internal application error." when it has none, in a box with the given icon.
void ReportException(const std::exception* pException, unsigned nIcon = MB_ICONSTOP);

// Runs fn; a UserException ends it quietly, any other exception is reported by ReportException.
// Returns whether fn ran to its end.
bool RunGuarded(const std::function<void()>& fn);

// Connects a signal to a member handler through the guard; the connection dies with pOwner. The handler may take
// the signal's arguments or fewer of them, e.g.
//     ConnectGuarded(pButton, &QPushButton::clicked, this, &CConfigDlg::OnSet);
//     ConnectGuarded(pList, &CPointListCtrl::DoubleClicked, this, &CConfigDlg::OnPointDblClk);
template <class Sender, class Signal, class Owner, class... Args>
QMetaObject::Connection ConnectGuarded(Sender* pSender, Signal signal, Owner* pOwner, void (Owner::*pfnHandler)(Args...))
{
    return QObject::connect(pSender, signal, pOwner, [pOwner, pfnHandler](Args... args) {
        RunGuarded([&] { (pOwner->*pfnHandler)(args...); });
    });
}
