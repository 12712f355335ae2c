#pragma once

#include "ResourceIds.h"

#include <QString>

#include <functional>

class QWidget;

// Message boxes of the program, all captioned with the application title and all passing through one
// replaceable sink, so that tests can record them instead of blocking on a modal box.

// Buttons (low nibble) and icon (second nibble) of a message box, combined with "|".
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_YESNOCANCEL = 0x03;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONERROR = MB_ICONSTOP;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_TYPEMASK = 0x0F;
constexpr unsigned MB_ICONMASK = 0xF0;

// Answers besides IDOK and IDCANCEL (ResourceIds.h).
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct MessageBoxRequest {
    QString m_strCaption;
    QString m_strText;
    unsigned m_nType;   // MB_ buttons | MB_ icon
    QWidget* m_pOwner;  // the window the box is modal to, or nullptr
};

// Shows the box (or records it) and returns the button chosen: IDOK, IDCANCEL, IDYES or IDNO.
using MessageBoxSink = std::function<int(const MessageBoxRequest&)>;

// Installs a sink and returns the one it replaces; an empty sink restores the default (a modal QMessageBox).
MessageBoxSink SetMessageBoxSink(MessageBoxSink sink);

// A message box captioned with ApplicationTitle(), owned by the active modal window or else the active window.
int AfxMessageBox(const QString& strText, unsigned nType = MB_OK);

// The application title: the executable's file name without folder and extension ("velmora").
QString ApplicationTitle();
