#pragma once

#include <array>

// Entries 0 to 1023 are the table the unit looks its readings up in; slot 1024 is spare (a calibration
// point at reading 1024 lands there).
constexpr int TableEntries = 1024;
constexpr int TableSlots = 1025;

using ConversionTable = std::array<double, TableSlots>;
