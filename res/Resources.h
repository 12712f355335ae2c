#pragma once

#include "DialogTemplate.h"
#include "ResourceIds.h"

#include <QIcon>
#include <QString>

// Looking up the program's resources by id, as the dialog layer and the windows do.

// The template with that id (IDD_ABOUTBOX, IDD_VELMORA_DIALOG), or nullptr when there is none.
const DialogTemplate* FindDialogTemplate(int nId);

// The string with that id (IDS_ABOUTBOX); empty when there is none.
QString LoadResourceString(int nId);

// The icon with that id (IDR_MAINFRAME, 32x32 and 16x16 images); a null icon when there is none.
QIcon LoadIconResource(int nId);
