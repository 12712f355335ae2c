#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal for tests of the real serial path: the test plays the unit on the master side, the code
// under test opens the slave path as its serial device. A slave descriptor stays open here, as in the
// simulator, so bytes written before the code opens the device wait in its input queue.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsValid() const { return m_nMaster >= 0 && m_nSlave >= 0; }
    const QString& SlavePath() const { return m_strSlavePath; }

    // Writes every byte, running the event loop while the slave's queue is full; false on error or timeout.
    bool Write(const QByteArray& abBytes);
    // What the other side has sent so far, without waiting.
    QByteArray ReadAvailable();
    // Bytes written here that the slave side has not read yet.
    int SlaveQueued() const;
    // The unit goes away: the slave side sees a hang-up.
    void CloseMaster();

private:
    int m_nMaster = -1;
    int m_nSlave = -1;
    QString m_strSlavePath;
};
