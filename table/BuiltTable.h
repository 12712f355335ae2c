#pragma once

#include "ConversionTable.h"

#include <string>

// What a builder hands to the file writer: the table and its direction flag, "1" when the table starts
// descending, else "0".
struct BuiltTable
{
    ConversionTable m_table{};
    std::string m_strDirection = "0";
};
