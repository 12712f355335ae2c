#include "FakeTransport.h"

bool FakeTransport::Open(const QString& strDevice)
{
    m_vOpened.append(strDevice);
    if (m_openError.m_failure != TransportFailure::None) {
        m_lastError = m_openError;
        return false;
    }
    if (m_nSilentFailures != 0) {
        if (m_nSilentFailures > 0)
            --m_nSilentFailures;
        return true;
    }
    m_bOpen = true;
    return true;
}

void FakeTransport::Close()
{
    ++m_nCloseCalls;
    m_bOpen = false;
    m_abPending.clear();
}

bool FakeTransport::Configure(const LineSettings& settings, int nHandshaking)
{
    m_settings = settings;
    m_nHandshaking = nHandshaking;
    return true;
}

bool FakeTransport::Write(const QByteArray& abBytes)
{
    if (m_writeError.m_failure != TransportFailure::None) {
        m_lastError = m_writeError;
        return false;
    }
    m_abWritten.append(abBytes);
    return true;
}

QByteArray FakeTransport::ReadAll()
{
    QByteArray abAll;
    abAll.swap(m_abPending);
    return abAll;
}

void FakeTransport::ClearInput()
{
    ++m_nClearCalls;
    m_abPending.clear();
}

void FakeTransport::Receive(const QByteArray& abBytes)
{
    if (!m_bOpen)
        return;
    m_abPending.append(abBytes);
    emit DataArrived();
}

void FakeTransport::Vanish()
{
    emit Failed(TransportError{TransportFailure::Lost, QStringLiteral("Input/output error")});
}
