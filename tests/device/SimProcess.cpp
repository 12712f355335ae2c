#include "SimProcess.h"

#include "ChildProcess.h"

#include <QDeadlineTimer>

#include <csignal>

SimProcess::SimProcess(const QStringList& vArgs)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral(VELMORA_UNIT_SIM), QStringList(vArgs) << QStringLiteral("--verbose"));
    if (!m_process.waitForStarted(10000))
        return;
    const QDeadlineTimer deadline(10000);
    while (!m_process.canReadLine() && !deadline.hasExpired() && m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(100);
    if (m_process.canReadLine())
        m_strDevice = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

SimProcess::~SimProcess()
{
    StopChildProcess(m_process);
}

void SimProcess::Send(const QByteArray& abLine)
{
    m_process.write(abLine + '\n');
    m_process.waitForBytesWritten(5000);
}

QString SimProcess::Report()
{
    m_strReport += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_strReport;
}

int SimProcess::RequestsSeen()
{
    return static_cast<int>(Report().count(QStringLiteral("velmora-unit-sim: request")));
}

void SimProcess::Kill()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

int SimProcess::StopWith(int nSignal)
{
    ::kill(static_cast<pid_t>(m_process.processId()), nSignal);
    if (!m_process.waitForFinished(5000))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
