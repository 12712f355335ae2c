#pragma once

#include "SerialTransport.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

// A scripted stand-in for the serial port, for the link's algorithms: it reaches states a real device
// does not produce on demand (an open that silently fails 1000 times, a permission error as root) and
// records what the code did to it.
class FakeTransport : public SerialTransport
{
    Q_OBJECT

public:
    // Script.
    int m_nSilentFailures = 0;      // Open returns true but stays closed this many times; -1 for ever
    TransportError m_openError;     // when its failure is not None, Open fails with it
    TransportError m_writeError;    // when its failure is not None, Write fails with it

    // Record.
    QStringList m_vOpened;          // device of every Open call
    int m_nCloseCalls = 0;
    QByteArray m_abWritten;
    std::optional<LineSettings> m_settings;
    int m_nHandshaking = -1;
    int m_nClearCalls = 0;

    bool Open(const QString& strDevice) override;
    void Close() override;
    bool IsOpen() const override { return m_bOpen; }
    bool Configure(const LineSettings& settings, int nHandshaking) override;
    bool Write(const QByteArray& abBytes) override;
    QByteArray ReadAll() override;
    void ClearInput() override;
    TransportError LastError() const override { return m_lastError; }

    // The unit sends bytes (announced as a real port would).
    void Receive(const QByteArray& abBytes);
    // The device goes away while open.
    void Vanish();

private:
    bool m_bOpen = false;
    QByteArray m_abPending;
    TransportError m_lastError;
};
