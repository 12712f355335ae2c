#pragma once

#include <string>

// One row of the point list as the user sees it: the texts of cell 1 ("Value From PIC") and
// cell 2 ("Value On Display"). The row number (cell 0) is its position in the list.
struct PointRow
{
    std::string m_strReading;
    std::string m_strValue;
};
