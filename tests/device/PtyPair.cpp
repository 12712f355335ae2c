#include "PtyPair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    m_nMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_nMaster < 0 || grantpt(m_nMaster) != 0 || unlockpt(m_nMaster) != 0)
        return;
    const char* szSlave = ptsname(m_nMaster);
    if (szSlave == nullptr)
        return;
    m_strSlavePath = QString::fromLocal8Bit(szSlave);
    m_nSlave = open(szSlave, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (m_nSlave >= 0 && tcgetattr(m_nSlave, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_nSlave, TCSANOW, &tio);
    }
}

PtyPair::~PtyPair()
{
    if (m_nSlave >= 0)
        close(m_nSlave);
    CloseMaster();
}

bool PtyPair::Write(const QByteArray& abBytes)
{
    const QDeadlineTimer deadline(10000);
    qsizetype nDone = 0;
    while (nDone < abBytes.size()) {
        const ssize_t nWritten = write(m_nMaster, abBytes.constData() + nDone, static_cast<size_t>(abBytes.size() - nDone));
        if (nWritten > 0) {
            nDone += nWritten;
            continue;
        }
        if (nWritten < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

QByteArray PtyPair::ReadAvailable()
{
    QByteArray abAll;
    char abChunk[4096];
    for (;;) {
        const ssize_t nRead = read(m_nMaster, abChunk, sizeof abChunk);
        if (nRead <= 0)
            return abAll;
        abAll.append(abChunk, nRead);
    }
}

int PtyPair::SlaveQueued() const
{
    // Polling first makes the kernel move bytes still in flight from the master into the slave's queue,
    // so 0 really means everything written has been read by the other side.
    pollfd fd{m_nSlave, POLLIN, 0};
    poll(&fd, 1, 0);
    int nQueued = 0;
    if (m_nSlave < 0 || ioctl(m_nSlave, FIONREAD, &nQueued) != 0)
        return -1;
    return nQueued;
}

void PtyPair::CloseMaster()
{
    if (m_nMaster >= 0)
        close(m_nMaster);
    m_nMaster = -1;
}
