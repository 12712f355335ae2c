#pragma once

#include "FakeTransport.h"

#include <QByteArray>

#include <vector>

// The scripted transport, also recording what it hands up in unbroken runs: every clear or close of the
// device starts a new run, so a frame that mixes bytes from before and after a clear is in none of them.
class RecordingTransport : public FakeTransport
{
    Q_OBJECT

public:
    RecordingTransport();

    QByteArray ReadAll() override;
    void ClearInput() override;
    void Close() override;

    // True when abBytes lies whole within one run.
    bool WithinOneRun(const QByteArray& abBytes) const;
    qsizetype BytesHandedUp() const { return m_nHandedUp; }

private:
    std::vector<QByteArray> m_vRuns;
    qsizetype m_nHandedUp = 0;
};
