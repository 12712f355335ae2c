#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Ways the simulated unit can misbehave, so the tool's handling of a bad line can be seen and tested.
enum class SimFault
{
    WrongHeader, // the answer starts 04 76 FD 17 instead of 04 76 FD 16
    Short,       // only the first bytes of the answer are sent
    Split,       // the answer goes out in three pieces with pauses between them
    Garbage,     // stray bytes go out before the answer
    Extra,       // stray bytes go out after the answer
    Silent,      // requests are not answered
};

struct SimOptions
{
    std::array<uint16_t, 3> m_anChannel{512, 256, 768};
    bool m_bSweep = false;
    bool m_bPacing = true;
    bool m_bVerbose = false;
    std::string m_strLink;
    std::vector<SimFault> m_vFaults;
    int m_nSplitPauseMs = 200;
    int m_nGarbage = 10;
    int m_nExtra = 10;
    int m_nShortLength = 100;
};

enum class SimCommand
{
    Run,
    Help,
    Error,
};

// Reads the command line (without the program name). On Error, strError says what was wrong.
SimCommand ParseSimOptions(const std::vector<std::string>& vArgs, SimOptions& options, std::string& strError);

// The --help text.
std::string SimHelpText();

// "wrong-header", "short", "split", "garbage", "extra", "silent"; false for any other name.
bool ParseFaultName(const std::string& strName, SimFault& fault);

// A whole decimal number from nMin to nMax, nothing else; false otherwise.
bool ParseBoundedInt(const std::string& strText, long nMin, long nMax, long& nValue);
