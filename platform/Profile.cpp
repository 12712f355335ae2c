#include "Profile.h"

#include "LeadingNumber.h"
#include "MessageBox.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>

namespace
{
QString g_strProfilePath;

// The file's lines without their ends; nothing when the file exists but cannot be read. A missing file has no lines.
std::optional<QList<QByteArray>> ReadLines(const QString& strPath, bool& bCrLf)
{
    QFile file(strPath);
    bCrLf = false;
    if (!file.open(QIODevice::ReadOnly))
    {
        if (file.exists())
            return std::nullopt;
        return QList<QByteArray>();
    }
    const QByteArray abContent = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    bCrLf = abContent.contains("\r\n");
    QList<QByteArray> astrLines = abContent.split('\n');
    if (!astrLines.isEmpty() && astrLines.last().isEmpty())
        astrLines.removeLast();  // the file's final line end
    for (QByteArray& strLine : astrLines)
        if (strLine.endsWith('\r'))
            strLine.chop(1);
    return astrLines;
}

// "[Name]" gives Name; other lines give nothing.
std::optional<QByteArray> SectionName(const QByteArray& strLine)
{
    const QByteArray strTrimmed = strLine.trimmed();
    const qsizetype nClose = strTrimmed.indexOf(']');
    if (!strTrimmed.startsWith('[') || nClose < 0)
        return std::nullopt;
    return strTrimmed.mid(1, nClose - 1).trimmed();
}

bool SameName(const QByteArray& strA, const QString& strB)
{
    return QString::fromUtf8(strA).compare(strB, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, nothing for comments and other lines.
std::optional<QByteArray> KeyName(const QByteArray& strLine)
{
    const QByteArray strTrimmed = strLine.trimmed();
    const qsizetype nEquals = strTrimmed.indexOf('=');
    if (strTrimmed.startsWith(';') || nEquals <= 0)
        return std::nullopt;
    return strTrimmed.left(nEquals).trimmed();
}

// Where the section's lines are: [first line after its header, end). Nothing when the section is missing.
std::optional<std::pair<qsizetype, qsizetype>> FindSection(const QList<QByteArray>& astrLines, const QString& strSection)
{
    for (qsizetype n = 0; n < astrLines.size(); ++n)
    {
        const auto strName = SectionName(astrLines[n]);
        if (!strName || !SameName(*strName, strSection))
            continue;
        qsizetype nEnd = n + 1;
        while (nEnd < astrLines.size() && !SectionName(astrLines[nEnd]))
            ++nEnd;
        return std::make_pair(n + 1, nEnd);
    }
    return std::nullopt;
}

std::optional<qsizetype> FindKey(const QList<QByteArray>& astrLines, std::pair<qsizetype, qsizetype> section,
                                 const QString& strKey)
{
    for (qsizetype n = section.first; n < section.second; ++n)
    {
        const auto strName = KeyName(astrLines[n]);
        if (strName && SameName(*strName, strKey))
            return n;
    }
    return std::nullopt;
}
}

QString DefaultProfilePath()
{
    const QString strFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(strFolder).filePath(ApplicationTitle() + QStringLiteral(".INI"));
}

void SetProfilePath(const QString& strPath)
{
    g_strProfilePath = strPath;
}

QString GetProfilePath()
{
    return g_strProfilePath.isEmpty() ? DefaultProfilePath() : g_strProfilePath;
}

int GetProfileInt(const QString& strSection, const QString& strKey, int nDefault)
{
    bool bCrLf = false;
    const QList<QByteArray> astrLines = ReadLines(GetProfilePath(), bCrLf).value_or(QList<QByteArray>());
    const auto section = FindSection(astrLines, strSection);
    if (!section)
        return nDefault;
    const auto nLine = FindKey(astrLines, *section, strKey);
    if (!nLine)
        return nDefault;
    const QByteArray& strLine = astrLines[*nLine];
    const QByteArray strValue = strLine.mid(strLine.indexOf('=') + 1);
    return ParseLeadingInt(std::string_view(strValue.constData(), static_cast<size_t>(strValue.size())));
}

bool WriteProfileInt(const QString& strSection, const QString& strKey, int nValue)
{
    const QString strPath = GetProfilePath();
    bool bCrLf = false;
    // A file that is there but cannot be read is not replaced: its other lines (the port map) would be lost.
    std::optional<QList<QByteArray>> lines = ReadLines(strPath, bCrLf);
    if (!lines)
        return false;
    QList<QByteArray>& astrLines = *lines;
    const QByteArray strEntry = strKey.toUtf8() + '=' + QByteArray::number(nValue);

    if (const auto section = FindSection(astrLines, strSection))
    {
        if (const auto nLine = FindKey(astrLines, *section, strKey))
        {
            astrLines[*nLine] = strEntry;
        }
        else
        {
            // After the section's last non-blank line, so a blank line before the next section stays put.
            qsizetype nInsert = section->second;
            while (nInsert > section->first && astrLines[nInsert - 1].trimmed().isEmpty())
                --nInsert;
            astrLines.insert(nInsert, strEntry);
        }
    }
    else
    {
        if (!astrLines.isEmpty() && !astrLines.last().trimmed().isEmpty())
            astrLines.append(QByteArray());
        astrLines.append('[' + strSection.toUtf8() + ']');
        astrLines.append(strEntry);
    }

    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray strEol = bCrLf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    for (const QByteArray& strLine : astrLines)
        file.write(strLine + strEol);
    return file.commit();
}
