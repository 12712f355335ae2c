#pragma once

#include <QString>

#include <map>

// Which device stands behind COM1, COM2, ...: the Ports section of the settings file (COM1=/dev/ttyUSB0),
// and /dev/ttyS<n-1> for COMn without an entry. The program only reads this section, it never writes it.
class PortMap
{
public:
    // The defaults only.
    PortMap() = default;

    // The Ports section of an INI file. A missing or unreadable file, or a bad entry, leaves the defaults:
    // start-up must not fail over it.
    static PortMap FromIniFile(const QString& strPath);

    // The device of COMn; empty for port numbers below 1, which name no port.
    QString DevicePath(int nPort) const;

    void SetDevicePath(int nPort, const QString& strDevice);

    // The process-wide map, installed once at start-up; the defaults until then.
    static void Install(const PortMap& portMap);
    static const PortMap& Current();

private:
    std::map<int, QString> m_mapDevices;
};
