#pragma once

#include "PointRow.h"

#include <QString>

#include <span>
#include <vector>

// Largest point file read; a point list of 1025 rows is far smaller, so anything larger is the wrong file.
constexpr qint64 MaxPointFileBytes = 16 * 1024 * 1024;

// The rows of the point-list CSV file at strPath (see PointCsv.h). Throws PointFileError naming the file,
// and the line for a format error.
std::vector<PointRow> ReadPointCsvFile(const QString& strPath);

// Writes the rows as a point-list CSV file in one piece; on failure the old file is as it was and
// PointFileError says why.
void WritePointCsvFile(const QString& strPath, std::span<const PointRow> rows);
