#include "PollFrames.h"

namespace
{
constexpr char AnswerHeader[] = {'\x04', '\x76', '\xFD', '\x16'};
} // namespace

QByteArray PollRequest()
{
    return QByteArray("\x04\x76\xFD\x15", 4);
}

bool IsPollAnswer(const QByteArray& abBlock)
{
    return abBlock.size() >= PollAnswerSize && abBlock.startsWith(QByteArrayView(AnswerHeader, sizeof AnswerHeader));
}

std::optional<int> ChannelReading(const QByteArray& abFrame, int nChannel)
{
    if (nChannel < 0 || nChannel > 2)
        return std::nullopt;
    const qsizetype nHigh = 9 + 2 * nChannel;
    if (abFrame.size() < nHigh + 2)
        return std::nullopt;
    return static_cast<unsigned char>(abFrame[nHigh]) * 256 + static_cast<unsigned char>(abFrame[nHigh + 1]);
}
