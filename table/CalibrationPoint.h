#pragma once

// One row of the point list as numbers: the unit's raw reading and the value it should display there.
struct CalibrationPoint
{
    int m_nReading = 0;
    double m_dValue = 0.0;
};
