// The real serial path (CDeviceLink, CMSComm, QSerialPort) against a unit the test plays itself on a
// pseudo-terminal, misbehaving on purpose: noise bursts, answers in single bytes, answers glued to garbage, and a
// unit that vanishes in the middle of an answer and comes back. The link must never show a reading that did not
// come from a whole answer with the right header, must keep its event loop turning, and must open again.
#include "DeviceLink.h"

#include "EventWait.h"
#include "PtyPair.h"
#include "ScopedPortMap.h"
#include "WatchedLink.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

namespace
{
constexpr int TestPollPeriodMs = 1000;

QByteArray Answer(int nReading)
{
    QByteArray abAnswer = QByteArray::fromHex("0476FD16") + QByteArray(146, '\x5A');
    abAnswer[9] = static_cast<char>(nReading >> 8);
    abAnswer[10] = static_cast<char>(nReading & 0xFF);
    return abAnswer;
}

// Seeded noise with request codes and header fragments in it, but never a whole answer header, so nothing in it
// may ever be shown.
QByteArray Noise(int nSize, unsigned nSeed)
{
    std::mt19937 random(nSeed);
    QByteArray abNoise(nSize, '\0');
    for (char& c : abNoise)
        c = static_cast<char>(random() & 0xFF);
    for (int i = 0; i + 4 <= nSize; i += 97)
        abNoise.replace(i, 4, QByteArray::fromHex(i % 2 ? "0476FD15" : "0476FD17"));
    for (qsizetype i = abNoise.indexOf(QByteArray::fromHex("0476FD16")); i >= 0;
         i = abNoise.indexOf(QByteArray::fromHex("0476FD16"), i))
        abNoise[i + 3] = '\x17';
    return abNoise;
}

// The unit's side of the line, played by the test.
class PlayedUnit
{
public:
    PlayedUnit()
        : m_pPty(std::make_unique<PtyPair>())
    {
    }

    PtyPair& Pty() { return *m_pPty; }

    // Waits for a new poll request from the link; requests that came while the test was sending are old news
    // (the link has cleared its input since), so the wait starts from nothing.
    bool WaitForRequest()
    {
        m_pPty->ReadAvailable();
        m_abReceived.clear();
        const bool bSeen = WaitFor([this] {
            m_abReceived += m_pPty->ReadAvailable();
            return m_abReceived.contains(QByteArray::fromHex("0476FD15"));
        });
        m_abReceived.clear();
        return bSeen;
    }

    // Sends the bytes in pieces of nPiece (0: all at once); each piece is read by the port before the next goes.
    bool Send(const QByteArray& abBytes, int nPiece)
    {
        const qsizetype nStep = nPiece > 0 ? nPiece : abBytes.size();
        for (qsizetype i = 0; i < abBytes.size(); i += nStep) {
            if (!m_pPty->Write(abBytes.mid(i, nStep)))
                return false;
            if (nPiece > 0 && !WaitFor([this] { return m_pPty->SlaveQueued() == 0; }))
                return false;
        }
        return true;
    }

private:
    std::unique_ptr<PtyPair> m_pPty;
    QByteArray m_abReceived;
};

// What the unit sends in answer to one poll request, in pieces of m_nPiece bytes (0: at once).
struct Reply
{
    QByteArray m_abBytes;
    int m_nPiece = 0;
};

struct AbuseCase
{
    const char* m_szName;
    std::vector<Reply> m_vReplies;
    // Readings that may be shown (whole answers that reach the link aligned); the last one must be.
    std::set<int> m_setAllowed;
    int m_nLast;
};
} // namespace

TEST(SerialAbuse, OnlyWholeAnswersWithTheRightHeaderAreEverShown)
{
    const QByteArray abNoise10k = Noise(10000, 7);
    const AbuseCase aCases[] = {
        {"10,000 random bytes at once, then an answer", {{abNoise10k, 0}, {Answer(1001), 0}}, {1001}, 1001},
        {"10,000 random bytes in pieces of 333 and of 13, then an answer",
         {{abNoise10k, 333}, {Noise(10000, 8), 13}, {Answer(1002), 0}}, {1002}, 1002},
        {"an answer in 1-byte pieces", {{Answer(1003), 1}}, {1003}, 1003},
        {"an answer in 7-byte pieces after one in 149+1", {{Answer(1004).left(149) + Answer(1004).right(1), 149},
                                                           {Answer(1005), 7}}, {1004, 1005}, 1005},
        {"an answer glued to garbage after it", {{Answer(1006) + Noise(60, 9), 0}}, {1006}, 1006},
        {"garbage glued before an answer, then an answer",
         {{Noise(37, 10) + Answer(4444), 0}, {Answer(1007), 0}}, {1007}, 1007},
        {"a whole block of garbage before an answer", {{Noise(150, 11) + Answer(1008), 0}}, {1008}, 1008},
        {"half an answer cut off by the next poll, then the rest and an answer",
         {{Answer(4445).left(75), 0}, {Answer(4445).mid(75) + Answer(1009), 0}, {Answer(1010), 0}}, {1010}, 1010},
        {"an answer with the request's code, then an answer",
         {{QByteArray::fromHex("0476FD15") + Answer(4446).mid(4), 0}, {Answer(1011), 0}}, {1011}, 1011},
    };
    for (const AbuseCase& c : aCases) {
        PlayedUnit unit;
        ASSERT_TRUE(unit.Pty().IsValid());
        ScopedPortMap portMap(MapCom1To(unit.Pty().SlavePath()));
        WatchedLink watched(TestPollPeriodMs);
        watched.m_link.OpenPort(0);
        ASSERT_TRUE(watched.m_link.IsPolling()) << c.m_szName;

        for (const Reply& reply : c.m_vReplies) {
            ASSERT_TRUE(unit.WaitForRequest()) << c.m_szName;
            ASSERT_TRUE(unit.Send(reply.m_abBytes, reply.m_nPiece)) << c.m_szName;
        }
        EXPECT_TRUE(watched.WaitForText(QString::number(c.m_nLast))) << c.m_szName;
        // One more poll: whatever was left of the last reply is dropped, nothing more is shown from it.
        ASSERT_TRUE(unit.WaitForRequest()) << c.m_szName;
        DrainEvents();

        EXPECT_EQ(watched.Strays(c.m_setAllowed), std::vector<QString>{}) << c.m_szName;
        EXPECT_EQ(watched.m_vTexts.back(), QString::number(c.m_nLast)) << c.m_szName;
        EXPECT_TRUE(watched.m_bFramesWhole) << c.m_szName;
        EXPECT_TRUE(watched.m_vLossMessages.empty()) << c.m_szName;
        EXPECT_TRUE(watched.m_vPollErrors.empty()) << c.m_szName;
        EXPECT_TRUE(watched.m_link.IsPolling()) << c.m_szName;
    }
}

TEST(SerialAbuse, UnitVanishingInMidAnswerIsReportedOnceAndTheUnitCanComeBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // COM1 is a link the test points at whichever pseudo-terminal plays the unit, as a udev name would be.
    const QString strDevice = dir.filePath(QStringLiteral("unit"));
    ScopedPortMap portMap(MapCom1To(strDevice));
    WatchedLink watched(TestPollPeriodMs);

    auto pFirst = std::make_unique<PlayedUnit>();
    ASSERT_TRUE(QFile::link(pFirst->Pty().SlavePath(), strDevice));
    watched.m_link.OpenPort(0);
    ASSERT_TRUE(watched.m_link.IsPolling());
    ASSERT_TRUE(pFirst->WaitForRequest());
    ASSERT_TRUE(pFirst->Send(Answer(1111), 0));
    ASSERT_TRUE(watched.WaitForText(QStringLiteral("1111")));

    // Half of the next answer reaches the port, then the unit is gone.
    ASSERT_TRUE(pFirst->WaitForRequest());
    ASSERT_TRUE(pFirst->Send(Answer(2222).left(75), 1));
    pFirst->Pty().CloseMaster();
    ASSERT_TRUE(WaitFor([&] { return !watched.m_vLossMessages.empty(); }));
    pFirst.reset();
    const size_t nTextsAtLoss = watched.m_vTexts.size();
    DrainEvents();
    EXPECT_EQ(watched.m_vLossMessages.size(), 1u);
    EXPECT_FALSE(watched.m_link.IsPolling());
    EXPECT_FALSE(watched.m_link.Comm().GetPortOpen());
    // A port that is gone raises nothing more: no spinning on a dead device.
    EXPECT_EQ(watched.m_vTexts.size(), nTextsAtLoss);
    EXPECT_EQ(watched.m_link.Reading(), 1111);

    // The unit comes back under the same name; choosing the port again opens it.
    PlayedUnit second;
    ASSERT_TRUE(QFile::remove(strDevice));
    ASSERT_TRUE(QFile::link(second.Pty().SlavePath(), strDevice));
    watched.m_link.ClosePort();
    watched.m_link.OpenPort(0);
    ASSERT_TRUE(watched.m_link.IsPolling());
    ASSERT_TRUE(second.WaitForRequest());
    ASSERT_TRUE(second.Send(Answer(3333), 1));
    EXPECT_TRUE(watched.WaitForText(QStringLiteral("3333")));

    EXPECT_EQ(watched.Strays({1111, 3333}), std::vector<QString>{});
    EXPECT_TRUE(watched.m_bFramesWhole);
    EXPECT_EQ(watched.m_vLossMessages.size(), 1u);
    EXPECT_TRUE(watched.m_vPollErrors.empty());
}
