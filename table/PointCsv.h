#pragma once

#include "PointRow.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The point list as CSV (RFC 4180): the header row "Number,Value From PIC,Value On Display", then one row per
// point in list order with its number and the texts of its cells 1 and 2.

// The header row, without its line end.
extern const char* const PointCsvHeader;

// The rows of a CSV text, in file order. Lines end in LF or CR LF; blank lines are skipped; a UTF-8 byte
// order mark is skipped. The "Number" field is not used: a row's number is its position.
// Throws PointCsvError, naming the 1-based line, for a missing or wrong header, a row with other than three
// fields, an unterminated quoted field, or a quote inside a field that is not quoted as a whole.
std::vector<PointRow> ReadPointCsv(std::string_view strText);

// The CSV text of the rows: CR LF line ends (also after the last row); a field is quoted, with its quotes
// doubled, only when it holds a comma, a quote, a CR or an LF.
std::string WritePointCsv(std::span<const PointRow> rows);
