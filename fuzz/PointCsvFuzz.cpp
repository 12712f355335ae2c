// The point-list CSV reader with the table builder behind it: any file text is read or refused with a
// PointCsvError, what is read writes back and reads again to the same rows, and every table built from it is
// refused with TableRefused or holds 1024 finite entries that the file format can write.
#include "FixedFormat.h"
#include "FuzzCheck.h"
#include "PointCsv.h"
#include "PointCsvError.h"
#include "TableBuilder.h"
#include "TableRefused.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
bool SameRows(const std::vector<PointRow>& vA, const std::vector<PointRow>& vB)
{
    if (vA.size() != vB.size())
        return false;
    for (size_t i = 0; i < vA.size(); ++i)
        if (vA[i].m_strReading != vB[i].m_strReading || vA[i].m_strValue != vB[i].m_strValue)
            return false;
    return true;
}

void CheckTable(const std::vector<PointRow>& vRows)
{
    BuiltTable built;
    try {
        built = BuildNonlinearTable(vRows);
    } catch (const TableRefused&) {
        return;
    }
    FuzzRequire(built.m_strDirection == "0" || built.m_strDirection == "1",
                "direction flag \"" + FuzzEscape(built.m_strDirection) + "\"");
    for (int i = 0; i < TableEntries; ++i) {
        const double dEntry = built.m_table[static_cast<size_t>(i)];
        FuzzRequire(std::isfinite(dEntry), "entry " + std::to_string(i) + " is not finite");
        // The writer's number format must take every entry; its text starts with a digit or "-".
        const std::string strText = FormatFixed(dEntry, 4);
        FuzzRequire(!strText.empty() && (strText[0] == '-' || (strText[0] >= '0' && strText[0] <= '9')),
                    "entry " + std::to_string(i) + " written as \"" + strText + "\"");
    }
    // One point: the table is that point's value throughout.
    if (vRows.size() == 1) {
        for (int i = 0; i < TableEntries; ++i)
            FuzzRequire(built.m_table[static_cast<size_t>(i)] == built.m_table[0], "one point, yet entries differ");
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string_view strText(reinterpret_cast<const char*>(pData), nSize);
    std::vector<PointRow> vRows;
    try {
        vRows = ReadPointCsv(strText);
    } catch (const PointCsvError& e) {
        FuzzRequire(e.Line() >= 1, "an error on line " + std::to_string(e.Line()));
        return 0;
    }

    const std::string strWritten = WritePointCsv(vRows);
    std::vector<PointRow> vAgain;
    try {
        vAgain = ReadPointCsv(strWritten);
    } catch (const PointCsvError& e) {
        FuzzFail("written rows cannot be read back: " + std::string(e.what()) + " in \"" + FuzzEscape(strWritten) + "\"");
    }
    FuzzRequire(SameRows(vRows, vAgain), "rows change when written and read back: \"" + FuzzEscape(strWritten) + "\"");

    CheckTable(vRows);
    return 0;
}
