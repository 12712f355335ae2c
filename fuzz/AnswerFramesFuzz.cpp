// The receive path of the serial link (CMSComm and CDeviceLink) driven by a script of events: bytes from the
// unit in blocks of any size, whole answers, poll ticks, other timers, the device vanishing, the port closed
// and opened again, the channel changed and the event loop run. Whatever happens, the kept frame is either the
// start value or 150 bytes that arrived in one unbroken run and begin with the answer header, and every
// reading shown is the chosen channel's value in that frame.
#include "DeviceLink.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "RecordingTransport.h"

#include <QCoreApplication>

#include <cstdint>
#include <memory>
#include <string>

namespace
{
const QByteArray AnswerHeader = QByteArray::fromHex("0476FD16");

enum Step : uint8_t
{
    StepReceive,
    StepReceiveAnswer,
    StepPoll,
    StepOtherTimer,
    StepVanish,
    StepReopen,
    StepClose,
    StepChannel,
    StepRunEvents,
    StepCount,
};

int ChannelValue(const QByteArray& abFrame, int nChannel)
{
    const auto nHigh = static_cast<unsigned char>(abFrame[9 + 2 * nChannel]);
    const auto nLow = static_cast<unsigned char>(abFrame[10 + 2 * nChannel]);
    return nHigh * 256 + nLow;
}

class Harness
{
public:
    Harness()
    {
        auto pTransport = std::make_unique<RecordingTransport>();
        m_pTransport = pTransport.get();
        m_pLink = std::make_unique<CDeviceLink>(m_nChannel, std::move(pTransport));
        m_pLink->SetSleepFunction([](int) {});
        QObject::connect(m_pLink.get(), &CDeviceLink::ReadingTextChanged,
                         [this](const QString& strText) { OnShown(strText); });
    }

    void CheckFrame() const
    {
        const QByteArray& abFrame = m_pLink->Frame();
        FuzzRequire(abFrame.size() == 150, "the kept frame has " + std::to_string(abFrame.size()) + " bytes");
        if (abFrame == QByteArray(150, '\0'))
            return;
        FuzzRequire(abFrame.startsWith(AnswerHeader), "the kept frame does not start with the answer header");
        FuzzRequire(m_pTransport->WithinOneRun(abFrame), "the kept frame is not 150 bytes received in one run");
    }

    void OnShown(const QString& strText)
    {
        CheckFrame();
        ++m_nShown;
        const QByteArray& abFrame = m_pLink->Frame();
        const int nExpected = m_nChannel >= 0 && m_nChannel <= 2 ? ChannelValue(abFrame, m_nChannel) : m_nLastReading;
        FuzzRequire(strText == QString::number(nExpected),
                    "shown " + strText.toStdString() + ", expected " + std::to_string(nExpected));
        FuzzRequire(m_pLink->Reading() == nExpected, "reading differs from the text shown");
        m_nLastReading = nExpected;
    }

    void Run(FuzzInput& input)
    {
        int nOpens = 0;
        Reopen(nOpens);
        while (!input.AtEnd()) {
            switch (input.TakeByte() % StepCount) {
            case StepReceive: {
                const size_t nLength = input.TakeByte() + (input.TakeByte() % 4) * 256;
                const std::string_view strBytes = input.TakeBytes(nLength);
                m_pTransport->Receive(QByteArray(strBytes.data(), static_cast<qsizetype>(strBytes.size())));
                break;
            }
            case StepReceiveAnswer: {
                QByteArray abAnswer = AnswerHeader + QByteArray(146, '\0');
                const std::string_view strBody = input.TakeBytes(11);
                for (size_t i = 0; i < strBody.size(); ++i)
                    abAnswer[static_cast<qsizetype>(4 + i)] = strBody[i];
                // Sometimes only a piece of it, as a line cut short or a block boundary leaves it.
                const uint8_t nCut = input.TakeByte();
                m_pTransport->Receive(nCut < 200 ? abAnswer : abAnswer.left(nCut - 200 + 1));
                break;
            }
            case StepPoll:
                Guarded([this] { m_pLink->OnTimer(CDeviceLink::PollTimerId); });
                break;
            case StepOtherTimer:
                Guarded([this] { m_pLink->OnTimer(2); });
                break;
            case StepVanish:
                m_pTransport->Vanish();
                break;
            case StepReopen:
                Reopen(nOpens);
                break;
            case StepClose:
                Guarded([this] { m_pLink->ClosePort(); });
                break;
            case StepChannel:
                m_nChannel = static_cast<int>(input.TakeByte() % 5) - 1; // -1 (no selection) to 3 (none such)
                break;
            case StepRunEvents:
                QCoreApplication::processEvents();
                break;
            }
            CheckFrame();
        }
        for (int i = 0; i < 4; ++i)
            QCoreApplication::processEvents();
        CheckFrame();
        // Each receive event takes at least one byte, so events beyond the bytes received mean a spin.
        FuzzRequire(m_nShown <= m_pTransport->BytesHandedUp() + nOpens + 1,
                    std::to_string(m_nShown) + " events for " + std::to_string(m_pTransport->BytesHandedUp()) +
                        " bytes");
    }

private:
    template <typename F> void Guarded(F fn)
    {
        // The window's guard shows the control's errors and carries on; here they are simply dropped.
        try {
            fn();
        } catch (const std::exception&) {
        }
    }

    // As the window does when the port is chosen again: close, then open.
    void Reopen(int& nOpens)
    {
        ++nOpens;
        Guarded([this] {
            m_pLink->ClosePort();
            m_pLink->OpenPort(0);
        });
    }

    int m_nChannel = 0;
    int m_nLastReading = 0;
    qsizetype m_nShown = 0;
    RecordingTransport* m_pTransport = nullptr;
    std::unique_ptr<CDeviceLink> m_pLink;
};
} // namespace

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    static QCoreApplication s_app(*pArgc, *pArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    FuzzInput input(pData, nSize);
    Harness harness;
    harness.Run(input);
    return 0;
}
