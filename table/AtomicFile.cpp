#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace
{
// A short write leaves no error in the file object, so the errno of the failing call is kept as well.
bool IsDiskFull(int nErrno, const QString& strReason)
{
    // EFBIG is what the file size limit (RLIMIT_FSIZE) gives; for the user it is the same full disk.
    return nErrno == ENOSPC || nErrno == EFBIG || strReason == qt_error_string(ENOSPC) ||
           strReason == qt_error_string(EFBIG);
}
}

std::string WriteFileAtomically(const QString& strPath, QByteArrayView content, const std::string& strWhat)
{
    const QString strFullPath = QDir::toNativeSeparators(QFileInfo(strPath).absoluteFilePath());
    QSaveFile file(strPath);
    int nErrno = 0;
    bool bOk = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (!bOk)
        nErrno = errno;
    // Unbuffered, so every failure shows at the write that met it; a short write is retried once more so
    // that its cause is reported.
    for (qsizetype nDone = 0; bOk && nDone < content.size();)
    {
        errno = 0;
        const qint64 nWritten = file.write(content.data() + nDone, content.size() - nDone);
        if (nWritten <= 0)
        {
            nErrno = errno;
            bOk = false;
        }
        else
            nDone += nWritten;
    }
    if (bOk)
    {
        errno = 0;
        bOk = file.commit();
        if (!bOk)
            nErrno = errno;
    }
    if (bOk)
        return {};

    const QString strReason = file.errorString();
    file.cancelWriting();
    if (IsDiskFull(nErrno, strReason))
        return "Disk full while accessing " + strFullPath.toStdString() + ".";
    QString strShown = strReason;
    const QFileInfo target(strPath);
    if (target.isFile() && !target.isWritable())
        strShown = QStringLiteral("The file is read-only");
    else if (strShown.isEmpty() || file.error() == QFileDevice::NoError)
        strShown = qt_error_string(nErrno != 0 ? nErrno : EIO);
    return "Cannot write the " + strWhat + " \"" + strFullPath.toStdString() + "\": " + strShown.toStdString() +
           ". Check that the folder exists and that you may write there, or choose another file.";
}
