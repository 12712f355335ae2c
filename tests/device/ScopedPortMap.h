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
