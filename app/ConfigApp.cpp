#include "ConfigApp.h"

#include "ConfigDlg.h"
#include "PortMap.h"
#include "Profile.h"

bool CConfigApp::InitInstance()
{
    // The serial transport learns once which device stands behind each COM port; a missing or unreadable
    // settings file leaves the defaults and is not worth a message.
    PortMap::Install(PortMap::FromIniFile(GetProfilePath()));

    CConfigDlg dlg;
    dlg.DoModal();
    return false;
}
