#include "PointCsvFile.h"

#include "AtomicFile.h"
#include "PointCsv.h"
#include "PointCsvError.h"
#include "PointFileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
std::string ShownPath(const QString& strPath)
{
    return QDir::toNativeSeparators(QFileInfo(strPath).absoluteFilePath()).toStdString();
}
}

std::vector<PointRow> ReadPointCsvFile(const QString& strPath)
{
    const std::string strShown = ShownPath(strPath);
    if (QFileInfo(strPath).isDir())
        throw PointFileError("Cannot read the point file \"" + strShown + "\": it is a folder. Choose a CSV file.");
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        throw PointFileError("Cannot read the point file \"" + strShown + "\": " + file.errorString().toStdString() +
                             ". Check the file name and that you may read the file.");
    const QByteArray abText = file.read(MaxPointFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw PointFileError("Cannot read the point file \"" + strShown + "\": " + file.errorString().toStdString() +
                             ". Check the file name and that you may read the file.");
    if (abText.size() > MaxPointFileBytes)
        throw PointFileError("The point file \"" + strShown + "\" is larger than " +
                             std::to_string(MaxPointFileBytes / (1024 * 1024)) +
                             " MiB, far more than a point list takes. Choose the CSV file of a point list.");
    try
    {
        return ReadPointCsv(std::string_view(abText.constData(), static_cast<size_t>(abText.size())));
    }
    catch (const PointCsvError& e)
    {
        throw PointFileError("The point file \"" + strShown + "\" cannot be read. " + e.what());
    }
}

void WritePointCsvFile(const QString& strPath, std::span<const PointRow> rows)
{
    const std::string strText = WritePointCsv(rows);
    const std::string strError = WriteFileAtomically(
        strPath, QByteArrayView(strText.data(), static_cast<qsizetype>(strText.size())), "point file");
    if (!strError.empty())
        throw PointFileError(strError);
}
