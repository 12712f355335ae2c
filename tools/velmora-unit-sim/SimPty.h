#pragma once

#include <string>

// The simulator's pseudo-terminal: the master side it talks through, and a slave descriptor it keeps open
// itself so the master never sees a hang-up when the tool closes the port between sessions.
class SimPty
{
public:
    SimPty() = default;
    ~SimPty();
    SimPty(const SimPty&) = delete;
    SimPty& operator=(const SimPty&) = delete;

    // Opens the pair, sets the slave raw (no echo, no line editing, every byte unchanged) and the master
    // non-blocking. False with strError on failure.
    bool Open(std::string& strError);

    int MasterFd() const { return m_nMaster; }
    const std::string& SlavePath() const { return m_strSlavePath; }

private:
    int m_nMaster = -1;
    int m_nSlave = -1;
    std::string m_strSlavePath;
};
