#pragma once

#include <string>

// A case's description as a test name: letters and digits kept, everything else "_".
std::string CaseName(const char* szDescription);
