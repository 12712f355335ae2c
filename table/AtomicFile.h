#pragma once

#include <QByteArrayView>
#include <QString>

#include <string>

// Writes strContent to strPath through a temporary file in the same folder that replaces the target only
// once everything is on disk. On failure the target is as it was and no temporary file remains.
// Returns an empty text on success, else the message for the user: "Disk full while accessing <path>."
// when the disk (or the file size limit) is full, otherwise one naming the file, the reason and what to do.
// strWhat names the kind of file in that message, e.g. "table file".
std::string WriteFileAtomically(const QString& strPath, QByteArrayView content, const std::string& strWhat);
