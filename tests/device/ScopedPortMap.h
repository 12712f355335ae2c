#pragma once

#include "PortMap.h"

// Installs a port map for one test and puts the defaults back afterwards.
class ScopedPortMap
{
public:
    explicit ScopedPortMap(const PortMap& portMap) { PortMap::Install(portMap); }
    ~ScopedPortMap() { PortMap::Install(PortMap()); }
    ScopedPortMap(const ScopedPortMap&) = delete;
    ScopedPortMap& operator=(const ScopedPortMap&) = delete;
};

// A map that sends COM1 to strDevice and every other port to its default.
inline PortMap MapCom1To(const QString& strDevice)
{
    PortMap portMap;
    portMap.SetDevicePath(1, strDevice);
    return portMap;
}
