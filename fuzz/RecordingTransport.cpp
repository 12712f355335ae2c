#include "RecordingTransport.h"

RecordingTransport::RecordingTransport()
    : m_vRuns(1)
{
}

QByteArray RecordingTransport::ReadAll()
{
    const QByteArray abBytes = FakeTransport::ReadAll();
    m_vRuns.back().append(abBytes);
    m_nHandedUp += abBytes.size();
    return abBytes;
}

void RecordingTransport::ClearInput()
{
    FakeTransport::ClearInput();
    m_vRuns.emplace_back();
}

void RecordingTransport::Close()
{
    FakeTransport::Close();
    m_vRuns.emplace_back();
}

bool RecordingTransport::WithinOneRun(const QByteArray& abBytes) const
{
    for (const QByteArray& abRun : m_vRuns)
        if (abRun.contains(abBytes))
            return true;
    return false;
}
