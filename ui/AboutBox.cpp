#include "AboutBox.h"

#include "ResourceIds.h"

CAboutBox::CAboutBox(QWidget* pParent)
    : CDialog(IDD_ABOUTBOX, pParent)
{
}
