#pragma once

#include "MSComm.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

// The main window's side of the serial link: opens and closes the port, polls the unit every 2000 ms and
// turns its answers into the current reading of the chosen channel. The window owns one and delegates to it.
class CDeviceLink : public QObject
{
    Q_OBJECT

public:
    static constexpr unsigned PollTimerId = 1;
    static constexpr int DefaultPollPeriodMs = 2000;
    static constexpr int OpenWaitMs = 100;
    static constexpr int PollWaitMs = 100;
    static constexpr int MaxOpenAttempts = 1000;

    // Blocks the calling (user-interface) thread for the given milliseconds.
    using SleepFunction = std::function<void(int nMs)>;

    // nChannel is the window's channel index, read at each receive event.
    explicit CDeviceLink(const int& nChannel, QObject* pParent = nullptr);
    // On another serial transport (tests).
    CDeviceLink(const int& nChannel, std::unique_ptr<SerialTransport> pTransport, QObject* pParent = nullptr);

    // Configures the port for index nPort (0 for COM1), opens it and starts polling. A CommError from the
    // control passes out; a port that merely stays closed after 1000 attempts is given up silently.
    void OpenPort(int nPort);
    // Closes the port and stops polling; a closed port is left alone.
    void ClosePort();
    // One tick of window timer nIDEvent: timer 1 sends a poll request, others nothing.
    void OnTimer(unsigned nIDEvent);
    // The control's event: keeps an accepted answer and rewrites the reading display. Never throws.
    void OnCommEvent();

    CMSComm& Comm() { return m_comm; }
    const QByteArray& Frame() const { return m_abFrame; }
    int Reading() const { return m_nReading; }
    // The reading display's text as the last event wrote it (empty before the first event).
    const QString& ReadingText() const { return m_strReadingText; }
    bool IsPolling() const { return m_timerPoll.isActive(); }
    int PollPeriod() const { return m_nPollPeriodMs; }

    // Tests shorten the poll period; the program always polls every 2000 ms.
    void SetPollPeriodForTests(int nMs) { m_nPollPeriodMs = nMs; }
    void SetSleepFunction(SleepFunction fnSleep) { m_fnSleep = std::move(fnSleep); }

signals:
    void ReadingTextChanged(const QString& strText);
    // A poll tick failed; the text is the control's error for the window to show. Polling goes on.
    void PollFailed(const QString& strMessage);
    // The device went away: the port is closed and polling stopped. Sent once per loss.
    void LinkLost(const QString& strMessage);

private:
    void OnPollTick();
    void OnPortLost(const QString& strMessage);

    const int& m_nChannel;
    CMSComm m_comm;
    QByteArray m_abFrame;
    int m_nReading = 0;
    QString m_strReadingText;
    QTimer m_timerPoll;
    int m_nPollPeriodMs = DefaultPollPeriodMs;
    SleepFunction m_fnSleep;
};
