#pragma once

#include <QByteArray>

#include <optional>

// The two frames the unit and the tool exchange: a 4-byte poll request and a 150-byte answer whose bytes
// 9 to 14 carry the three channels' raw readings, each high byte first.

constexpr int PollAnswerSize = 150;

// 04 76 FD 15.
QByteArray PollRequest();

// True for a block of at least 150 bytes that starts with the answer header 04 76 FD 16.
bool IsPollAnswer(const QByteArray& abBlock);

// The raw reading of channel index 0, 1 or 2 (bytes 9/10, 11/12, 13/14 as an unsigned 16-bit value);
// no value for any other index or a frame too short to hold it.
std::optional<int> ChannelReading(const QByteArray& abFrame, int nChannel);
