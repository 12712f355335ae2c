#pragma once

#include "ConversionTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string>

// The number format of a table file for nDecimals decimal places: "%.0f" to "%.4f" for the window's choices.
std::string MakeNumberFormat(int nDecimals);

// The decimal places of a number format "%.<N>f" (N from 0 to 17), or nothing when it is not one.
std::optional<int> ParseNumberFormat(QByteArrayView strFormat);

// The table file's bytes: 1024 lines "<index>TAB<entry>", then the direction flag, the units (written as
// given, e.g. UTF-8) and the number format, lines ending in CR LF except the last.
// Throws TableFileError for a direction other than "0" or "1", units holding a line break, a number format
// that is not "%.<N>f", or an entry that is not finite.
QByteArray FormatTableFile(const ConversionTable& table, QByteArrayView strDirection, QByteArrayView strUnits,
                           QByteArrayView strFormat);

// Writes the table file at strPath in one piece: on any failure the old file stays as it was, no temporary
// file remains and TableFileError says what went wrong ("Disk full while accessing <path>." for a full disk).
void WriteTableFile(const QString& strPath, const ConversionTable& table, QByteArrayView strDirection,
                    QByteArrayView strUnits, QByteArrayView strFormat);
