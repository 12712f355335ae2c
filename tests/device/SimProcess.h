#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A running velmora-unit-sim for integration tests: started with the given options (and --verbose, so
// its requests can be counted), stopped with SIGTERM when the test ends.
class SimProcess
{
public:
    explicit SimProcess(const QStringList& vArgs);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The device path it printed; empty when it did not start.
    const QString& DevicePath() const { return m_strDevice; }
    // A line on its standard input, e.g. "2 512".
    void Send(const QByteArray& abLine);
    // How many requests it has reported so far, and the report lines themselves.
    int RequestsSeen();
    QString Report();
    // Kills it without warning (the unit's cable pulled).
    void Kill();
    // Sends a signal and waits for it to end; its exit code, or -1 if it did not exit normally.
    int StopWith(int nSignal);

private:
    QProcess m_process;
    QString m_strDevice;
    QString m_strReport;
};
