#pragma once

#include "Dialog.h"

// "About Velmora": the icon, the version text and OK. It keeps nothing and changes nothing.
class CAboutBox : public CDialog {
    Q_OBJECT

public:
    explicit CAboutBox(QWidget* pParent = nullptr);
};
