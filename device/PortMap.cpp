#include "PortMap.h"

#include <QSettings>

namespace
{
PortMap& CurrentMap()
{
    static PortMap s_portMap;
    return s_portMap;
}
} // namespace

PortMap PortMap::FromIniFile(const QString& strPath)
{
    PortMap portMap;
    QSettings settings(strPath, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Ports"));
    const QStringList vKeys = settings.childKeys();
    for (const QString& strKey : vKeys) {
        if (!strKey.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive))
            continue;
        bool bOk = false;
        const int nPort = strKey.mid(3).toInt(&bOk);
        const QString strDevice = settings.value(strKey).toString().trimmed();
        if (bOk && nPort >= 1 && !strDevice.isEmpty())
            portMap.SetDevicePath(nPort, strDevice);
    }
    return portMap;
}

QString PortMap::DevicePath(int nPort) const
{
    if (nPort < 1)
        return QString();
    const auto it = m_mapDevices.find(nPort);
    if (it != m_mapDevices.end())
        return it->second;
    return QStringLiteral("/dev/ttyS%1").arg(nPort - 1);
}

void PortMap::SetDevicePath(int nPort, const QString& strDevice)
{
    m_mapDevices[nPort] = strDevice;
}

void PortMap::Install(const PortMap& portMap)
{
    CurrentMap() = portMap;
}

const PortMap& PortMap::Current()
{
    return CurrentMap();
}
