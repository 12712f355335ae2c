#include "SimOptions.h"

#include <cerrno>
#include <cstdlib>

namespace
{
struct FaultName
{
    const char* m_szName;
    SimFault m_fault;
};

constexpr FaultName s_aFaultNames[] = {
    {"wrong-header", SimFault::WrongHeader}, {"short", SimFault::Short}, {"split", SimFault::Split},
    {"garbage", SimFault::Garbage},          {"extra", SimFault::Extra}, {"silent", SimFault::Silent},
};

bool ParseValues(const std::string& strText, std::array<uint16_t, 3>& anValues)
{
    std::array<uint16_t, 3> anParsed{};
    size_t nStart = 0;
    for (size_t i = 0; i < anParsed.size(); ++i) {
        const size_t nComma = strText.find(',', nStart);
        const bool bLast = i + 1 == anParsed.size();
        // Exactly three fields: the last one runs to the end, the others end at a comma.
        if (bLast != (nComma == std::string::npos))
            return false;
        long nValue = 0;
        if (!ParseBoundedInt(strText.substr(nStart, bLast ? std::string::npos : nComma - nStart), 0, 65535, nValue))
            return false;
        anParsed[i] = static_cast<uint16_t>(nValue);
        nStart = nComma + 1;
    }
    anValues = anParsed;
    return true;
}
} // namespace

bool ParseBoundedInt(const std::string& strText, long nMin, long nMax, long& nValue)
{
    if (strText.empty() || strText.size() > 12)
        return false;
    for (size_t i = 0; i < strText.size(); ++i) {
        const char c = strText[i];
        if (!(c >= '0' && c <= '9') && !(i == 0 && c == '-'))
            return false;
    }
    errno = 0;
    char* pEnd = nullptr;
    const long nParsed = std::strtol(strText.c_str(), &pEnd, 10);
    if (errno != 0 || pEnd != strText.c_str() + strText.size() || nParsed < nMin || nParsed > nMax)
        return false;
    nValue = nParsed;
    return true;
}

bool ParseFaultName(const std::string& strName, SimFault& fault)
{
    for (const FaultName& entry : s_aFaultNames) {
        if (strName == entry.m_szName) {
            fault = entry.m_fault;
            return true;
        }
    }
    return false;
}

SimCommand ParseSimOptions(const std::vector<std::string>& vArgs, SimOptions& options, std::string& strError)
{
    for (size_t i = 0; i < vArgs.size(); ++i) {
        const std::string& strArg = vArgs[i];
        if (strArg == "--help" || strArg == "-h")
            return SimCommand::Help;
        if (strArg == "--sweep") {
            options.m_bSweep = true;
            continue;
        }
        if (strArg == "--no-pacing") {
            options.m_bPacing = false;
            continue;
        }
        if (strArg == "--verbose") {
            options.m_bVerbose = true;
            continue;
        }

        // Every other option takes a value.
        if (i + 1 >= vArgs.size()) {
            strError = strArg.rfind("--", 0) == 0 && strArg != "--" ? strArg + " needs a value"
                                                                    : "unknown argument " + strArg;
            return SimCommand::Error;
        }
        const std::string& strValue = vArgs[i + 1];
        long nValue = 0;
        if (strArg == "--values") {
            if (!ParseValues(strValue, options.m_anChannel)) {
                strError = "--values takes three numbers from 0 to 65535, e.g. 512,256,768";
                return SimCommand::Error;
            }
        } else if (strArg == "--link") {
            options.m_strLink = strValue;
        } else if (strArg == "--fault") {
            SimFault fault{};
            if (!ParseFaultName(strValue, fault)) {
                strError = "unknown fault " + strValue;
                return SimCommand::Error;
            }
            options.m_vFaults.push_back(fault);
        } else if (strArg == "--split-pause") {
            if (!ParseBoundedInt(strValue, 0, 10000, nValue)) {
                strError = "--split-pause takes milliseconds from 0 to 10000";
                return SimCommand::Error;
            }
            options.m_nSplitPauseMs = static_cast<int>(nValue);
        } else if (strArg == "--garbage" || strArg == "--extra") {
            if (!ParseBoundedInt(strValue, 1, 4096, nValue)) {
                strError = strArg + " takes a byte count from 1 to 4096";
                return SimCommand::Error;
            }
            (strArg == "--garbage" ? options.m_nGarbage : options.m_nExtra) = static_cast<int>(nValue);
        } else if (strArg == "--short") {
            if (!ParseBoundedInt(strValue, 0, 149, nValue)) {
                strError = "--short takes a byte count from 0 to 149";
                return SimCommand::Error;
            }
            options.m_nShortLength = static_cast<int>(nValue);
        } else {
            strError = "unknown argument " + strArg;
            return SimCommand::Error;
        }
        ++i;
    }
    return SimCommand::Run;
}

std::string SimHelpText()
{
    return R"(Usage: velmora-unit-sim [options]

A simulated Velmora display unit on a pseudo-terminal. It prints the device path of the
terminal (one line) and answers every poll request 04 76 FD 15 it receives with a 150-byte
answer: 04 76 FD 16, five unused bytes, the raw readings of channels 1, 2 and 3 (16 bits
each, high byte first) and 135 filler bytes. Map a port to the printed path (or to --link)
in the Ports section of the settings file, e.g. COM1=/tmp/velmora-unit.

Options:
  --values A,B,C     channel readings, 0 to 65535 each (default 512,256,768)
  --sweep            readings move slowly up and down between 0 and 1023
  --link PATH        also make PATH a symbolic link to the device (removed at exit)
  --no-pacing        send answers at once instead of at 2400 baud (about 4.17 ms a byte)
  --verbose          report each request and answer on standard error
  --fault NAME       misbehave; may be given more than once:
                       wrong-header  answers start 04 76 FD 17
                       short         only the first bytes of each answer are sent (--short N, default 100)
                       split         answers go out in three pieces with pauses (--split-pause MS, default 200)
                       garbage       stray bytes before each answer (--garbage N, default 10)
                       extra         stray bytes after each answer (--extra N, default 10)
                       silent        requests are not answered
  --help             show this text

While it runs, lines on standard input change it:
  2 512              set channel 2 to 512 (channel 1 to 3, value 0 to 65535; ends the sweep for it)
  fault NAME         add a fault (names as above)
  fault none         remove all faults

It ends cleanly on SIGINT (Ctrl+C) and SIGTERM.

Try it from bash (the device is raw: every byte passes unchanged and nothing echoes; the
simulator keeps the device open itself, so the answer waits there for the next reader):
  velmora-unit-sim --link /tmp/velmora-unit &
  printf '\x04\x76\xfd\x15' > /tmp/velmora-unit; head -c 150 < /tmp/velmora-unit | xxd
(In sh/dash, whose printf knows no \x, write the request as '\004\166\375\025'.)
)";
}
