#include "TableFile.h"

#include "AtomicFile.h"
#include "FixedFormat.h"
#include "TableFileError.h"

#include <cmath>

namespace
{
constexpr int MaxFormatDecimals = 17;
}

std::string MakeNumberFormat(int nDecimals)
{
    return "%." + std::to_string(nDecimals) + "f";
}

std::optional<int> ParseNumberFormat(QByteArrayView strFormat)
{
    if (strFormat.size() < 4 || strFormat.size() > 5 || !strFormat.startsWith("%.") || !strFormat.endsWith("f"))
        return std::nullopt;
    int nDecimals = 0;
    for (qsizetype i = 2; i + 1 < strFormat.size(); ++i)
    {
        const char c = strFormat[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        nDecimals = nDecimals * 10 + (c - '0');
    }
    if (nDecimals > MaxFormatDecimals)
        return std::nullopt;
    return nDecimals;
}

QByteArray FormatTableFile(const ConversionTable& table, QByteArrayView strDirection, QByteArrayView strUnits,
                           QByteArrayView strFormat)
{
    if (strDirection != "0" && strDirection != "1")
        throw TableFileError("The direction flag of a table must be \"0\" or \"1\".");
    // The units have exactly one line of the file; a line break would shift the number format off the end.
    if (strUnits.contains('\r') || strUnits.contains('\n'))
        throw TableFileError("The units text contains a line break, which the table file cannot hold. "
                             "Enter the units on one line.");
    const std::optional<int> nDecimals = ParseNumberFormat(strFormat);
    if (!nDecimals)
        throw TableFileError("The number format \"" + strFormat.toByteArray().toStdString() +
                             "\" is not of the form %.<N>f. Choose 0 to 4 decimal places.");

    QByteArray abContent;
    abContent.reserve(TableEntries * (12 + *nDecimals) + 64);
    for (int i = 0; i < TableEntries; ++i)
    {
        const double dEntry = table[static_cast<size_t>(i)];
        if (!std::isfinite(dEntry))
            throw TableFileError("Entry " + std::to_string(i) +
                                 " of the table is not a finite number. Build the table again.");
        abContent.append(QByteArray::number(i));
        abContent.append('\t');
        abContent.append(FormatFixed(dEntry, *nDecimals));
        abContent.append("\r\n");
    }
    abContent.append(strDirection.data(), strDirection.size());
    abContent.append("\r\n");
    abContent.append(strUnits.data(), strUnits.size());
    abContent.append("\r\n");
    abContent.append(strFormat.data(), strFormat.size());
    return abContent;
}

void WriteTableFile(const QString& strPath, const ConversionTable& table, QByteArrayView strDirection,
                    QByteArrayView strUnits, QByteArrayView strFormat)
{
    const QByteArray abContent = FormatTableFile(table, strDirection, strUnits, strFormat);
    const std::string strError = WriteFileAtomically(strPath, abContent, "table file");
    if (!strError.empty())
        throw TableFileError(strError);
}
