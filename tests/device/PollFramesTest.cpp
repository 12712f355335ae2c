#include "PollFrames.h"

#include <gtest/gtest.h>

namespace
{
// A whole answer with the given bytes set; everything else zero.
QByteArray Answer(std::initializer_list<std::pair<int, unsigned char>> vBytes, int nSize = PollAnswerSize)
{
    QByteArray abAnswer(nSize, '\0');
    const unsigned char abHeader[] = {0x04, 0x76, 0xFD, 0x16};
    for (int i = 0; i < 4 && i < nSize; ++i)
        abAnswer[i] = static_cast<char>(abHeader[i]);
    for (const auto& [nOffset, byte] : vBytes)
        abAnswer[nOffset] = static_cast<char>(byte);
    return abAnswer;
}
} // namespace

TEST(PollFrames, RequestIsTheFourHeaderBytes)
{
    EXPECT_EQ(PollRequest(), QByteArray::fromHex("0476FD15"));
}

struct AnswerCase
{
    const char* m_szName;
    QByteArray m_abBlock;
    bool m_bAccepted;
};

TEST(PollFrames, AnswerNeedsTheWholeHeaderAndAllOf150Bytes)
{
    const AnswerCase aCases[] = {
        {"whole answer", Answer({}), true},
        {"more than 150 bytes", Answer({}, 151), true},
        {"one byte short", Answer({}, 149), false},
        {"header only", Answer({}, 4), false},
        {"empty", QByteArray(), false},
        {"request code in place of the answer code", Answer({{3, 0x15}}), false},
        {"first header byte wrong", Answer({{0, 0x05}}), false},
        {"second header byte wrong", Answer({{1, 0x77}}), false},
        {"third header byte wrong", Answer({{2, 0xFC}}), false},
        {"all zeros", QByteArray(PollAnswerSize, '\0'), false},
    };
    for (const AnswerCase& c : aCases)
        EXPECT_EQ(IsPollAnswer(c.m_abBlock), c.m_bAccepted) << c.m_szName;
}

struct ReadingCase
{
    int m_nChannel;
    std::optional<int> m_nExpected;
};

TEST(PollFrames, ChannelReadingIsBigEndianFromItsOwnBytes)
{
    // Distinct values in each channel's bytes, so a wrong offset or byte order shows.
    const QByteArray abFrame = Answer({{9, 0x03}, {10, 0xFF}, {11, 0x12}, {12, 0x34}, {13, 0xFF}, {14, 0xFF},
                                       {8, 0x77}, {15, 0x66}});
    const ReadingCase aCases[] = {
        {0, 1023}, {1, 0x1234}, {2, 65535}, {-1, std::nullopt}, {3, std::nullopt}, {1000, std::nullopt},
    };
    for (const ReadingCase& c : aCases)
        EXPECT_EQ(ChannelReading(abFrame, c.m_nChannel), c.m_nExpected) << "channel " << c.m_nChannel;
}

TEST(PollFrames, ChannelReadingNeverReadsPastAShortFrame)
{
    EXPECT_EQ(ChannelReading(QByteArray::fromHex("0476FD1600000000000102"), 0), 0x0102);
    EXPECT_EQ(ChannelReading(QByteArray::fromHex("0476FD160000000000010203"), 1), std::nullopt);
    EXPECT_EQ(ChannelReading(QByteArray(), 2), std::nullopt);
}
