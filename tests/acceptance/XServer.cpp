#include "XServer.h"

#include "ChildProcess.h"

#include <QDeadlineTimer>
#include <QStandardPaths>

XServer::XServer()
{
    // -displayfd 1: Xvfb finds a free display itself and writes its number on standard output once it accepts
    // clients, so there is neither a guessed number nor a race with other servers on the machine.
    m_process.start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                     QStringLiteral("%1x%2x24").arg(ScreenWidth).arg(ScreenHeight), QStringLiteral("-dpi"),
                     QStringLiteral("96"), QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_process.waitForStarted(10000)) {
        m_strError = QStringLiteral("Xvfb did not start: ") + m_process.errorString();
        return;
    }
    const QDeadlineTimer deadline(20000);
    while (!m_process.canReadLine() && !deadline.hasExpired() && m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(100);
    if (!m_process.canReadLine()) {
        m_strError = QStringLiteral("Xvfb gave no display number: ")
            + QString::fromLocal8Bit(m_process.readAllStandardError());
        return;
    }
    m_strDisplay = QLatin1Char(':') + QString::fromLatin1(m_process.readLine()).trimmed();
}

XServer::~XServer()
{
    StopChildProcess(m_process);
}

bool XServer::IsInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty();
}
