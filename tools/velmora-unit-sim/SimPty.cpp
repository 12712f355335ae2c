#include "SimPty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

SimPty::~SimPty()
{
    if (m_nSlave >= 0)
        close(m_nSlave);
    if (m_nMaster >= 0)
        close(m_nMaster);
}

bool SimPty::Open(std::string& strError)
{
    m_nMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_nMaster < 0 || grantpt(m_nMaster) != 0 || unlockpt(m_nMaster) != 0) {
        strError = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* szSlave = ptsname(m_nMaster);
    if (szSlave == nullptr) {
        strError = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    m_strSlavePath = szSlave;

    m_nSlave = open(szSlave, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_nSlave < 0) {
        strError = "cannot open " + m_strSlavePath + ": " + std::strerror(errno);
        return false;
    }
    termios tio{};
    if (tcgetattr(m_nSlave, &tio) != 0) {
        strError = "cannot read the settings of " + m_strSlavePath + ": " + std::strerror(errno);
        return false;
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B2400);
    cfsetospeed(&tio, B2400);
    if (tcsetattr(m_nSlave, TCSANOW, &tio) != 0) {
        strError = "cannot set " + m_strSlavePath + " raw: " + std::strerror(errno);
        return false;
    }

    const int nFlags = fcntl(m_nMaster, F_GETFL);
    if (nFlags < 0 || fcntl(m_nMaster, F_SETFL, nFlags | O_NONBLOCK) != 0) {
        strError = std::string("cannot make the pseudo-terminal non-blocking: ") + std::strerror(errno);
        return false;
    }
    return true;
}
