#include "TableCommand.h"

#include "NumberBox.h"
#include "PointCsvFile.h"
#include "PointFileError.h"
#include "TableBuilder.h"
#include "TableFile.h"
#include "TableFileError.h"
#include "TableRefused.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace
{
constexpr int ExitWritten = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

constexpr int DefaultDecimals = 2;
constexpr int MaxDecimals = 4;

const char* const ProgramName = "velmora-table";

class UsageError : public std::runtime_error
{
  public:
    explicit UsageError(const std::string& strMessage)
        : std::runtime_error(strMessage)
    {
    }
};

struct CommandOptions
{
    bool m_bHelp = false;
    std::optional<double> m_dLower;
    std::optional<double> m_dUpper;
    std::optional<std::string> m_strPoints;
    std::optional<int> m_nDecimals;
    std::optional<std::string> m_strUnits;
    std::optional<std::string> m_strOutput;
};

// An argument shown in a message: quoted, with control characters replaced so the message stays one line.
std::string Shown(const std::string& strArg)
{
    std::string strOut = "\"";
    for (const char c : strArg)
        strOut.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c);
    return strOut + "\"";
}

double ParseLimit(const std::string& strArg, const char* pszName)
{
    const std::optional<double> dValue = ParseNumberBox(strArg);
    if (!dValue)
        throw UsageError(std::string("--linear: ") + pszName + " " + Shown(strArg) + " is not a number.");
    return *dValue;
}

int ParseDecimals(const std::string& strArg)
{
    const bool bDigits =
        !strArg.empty() && strArg.size() <= 2 && strArg.find_first_not_of("0123456789") == std::string::npos;
    const int nDecimals = bDigits ? std::stoi(strArg) : -1;
    if (nDecimals < 0 || nDecimals > MaxDecimals)
        throw UsageError("--decimals: " + Shown(strArg) + " is not a number of decimal places from 0 to 4.");
    return nDecimals;
}

CommandOptions ParseArguments(const std::vector<std::string>& args)
{
    CommandOptions options;
    size_t i = 0;
    // The value after an option is taken as it is, so "-5" is a limit and "-" an output, not options.
    auto TakeValue = [&args, &i](const std::string& strOption) -> const std::string& {
        if (i >= args.size())
            throw UsageError(strOption + " needs a value.");
        return args[i++];
    };
    auto RefuseRepeat = [](bool bGiven, const std::string& strOption) {
        if (bGiven)
            throw UsageError(strOption + " is given more than once.");
    };
    while (i < args.size())
    {
        const std::string strArg = args[i++];
        if (strArg == "--help")
        {
            options.m_bHelp = true;
            return options;
        }
        if (strArg == "--linear")
        {
            RefuseRepeat(options.m_dLower.has_value(), strArg);
            if (args.size() - i < 2)
                throw UsageError("--linear needs two values, LOWER and UPPER.");
            options.m_dLower = ParseLimit(args[i++], "LOWER");
            options.m_dUpper = ParseLimit(args[i++], "UPPER");
        }
        else if (strArg == "--points")
        {
            RefuseRepeat(options.m_strPoints.has_value(), strArg);
            options.m_strPoints = TakeValue(strArg);
            if (options.m_strPoints->empty())
                throw UsageError("--points: the file name is empty.");
        }
        else if (strArg == "--decimals")
        {
            RefuseRepeat(options.m_nDecimals.has_value(), strArg);
            options.m_nDecimals = ParseDecimals(TakeValue(strArg));
        }
        else if (strArg == "--units")
        {
            RefuseRepeat(options.m_strUnits.has_value(), strArg);
            options.m_strUnits = TakeValue(strArg);
            if (options.m_strUnits->find_first_of("\r\n") != std::string::npos)
                throw UsageError("--units: the units must not contain a line break.");
        }
        else if (strArg == "--output")
        {
            RefuseRepeat(options.m_strOutput.has_value(), strArg);
            options.m_strOutput = TakeValue(strArg);
            if (options.m_strOutput->empty())
                throw UsageError("--output: the file name is empty.");
        }
        else if (strArg.size() > 1 && strArg[0] == '-')
            throw UsageError("unknown option " + Shown(strArg) + ".");
        else
            throw UsageError("unexpected argument " + Shown(strArg) + ".");
    }
    if (options.m_dLower && options.m_strPoints)
        throw UsageError("give either --linear or --points, not both.");
    if (!options.m_dLower && !options.m_strPoints)
        throw UsageError("give --linear LOWER UPPER or --points FILE.");
    if (!options.m_strOutput)
        throw UsageError("give --output FILE (- for standard output).");
    return options;
}

BuiltTable BuildTable(const CommandOptions& options)
{
    if (options.m_dLower)
        return BuildLinearTable(*options.m_dLower, *options.m_dUpper);
    const std::vector<PointRow> rows = ReadPointCsvFile(QFile::decodeName(options.m_strPoints->c_str()));
    return BuildNonlinearTable(rows);
}

void WriteOutput(const CommandOptions& options, const BuiltTable& built, std::FILE* pOut)
{
    const std::string strFormat = MakeNumberFormat(options.m_nDecimals.value_or(DefaultDecimals));
    const std::string strUnits = options.m_strUnits.value_or("");
    if (*options.m_strOutput != "-")
    {
        WriteTableFile(QFile::decodeName(options.m_strOutput->c_str()), built.m_table, built.m_strDirection, strUnits,
                       strFormat);
        return;
    }
    const QByteArray abContent = FormatTableFile(built.m_table, built.m_strDirection, strUnits, strFormat);
    const size_t nWritten = std::fwrite(abContent.constData(), 1, static_cast<size_t>(abContent.size()), pOut);
    if (nWritten != static_cast<size_t>(abContent.size()) || std::fflush(pOut) != 0)
        throw TableFileError(std::string("Cannot write the table to standard output: ") + std::strerror(errno) + ".");
}

void PrintError(std::FILE* pErr, const std::string& strMessage)
{
    std::fprintf(pErr, "%s: %s\n", ProgramName, strMessage.c_str());
    std::fflush(pErr);
}
}

std::string TableCommandUsage()
{
    return "Usage: velmora-table (--linear LOWER UPPER | --points FILE) [--decimals N] [--units TEXT] --output FILE\n"
           "Builds the 1024-entry conversion table of a display unit and writes it as a table file (.anl).\n"
           "\n"
           "  --linear LOWER UPPER  a linear table from the values shown at readings 0 and 1023\n"
           "  --points FILE         a table interpolated between the calibration points of a CSV file\n"
           "                        with the header row: Number,Value From PIC,Value On Display\n"
           "  --decimals N          decimal places, 0 to 4 (default 2)\n"
           "  --units TEXT          the units label (default: none)\n"
           "  --output FILE         the table file to write; - writes it to standard output\n"
           "  --help                show this help\n"
           "\n"
           "Exit status: 0 when the file is written, 1 when the table is refused or the file cannot be\n"
           "written, 2 for a usage error. Nothing is created or changed on an error.\n";
}

int RunTableCommand(const std::vector<std::string>& args, std::FILE* pOut, std::FILE* pErr)
{
    CommandOptions options;
    try
    {
        options = ParseArguments(args);
    }
    catch (const UsageError& e)
    {
        PrintError(pErr, std::string(e.what()) + " Try 'velmora-table --help'.");
        return ExitUsage;
    }
    if (options.m_bHelp)
    {
        const std::string strUsage = TableCommandUsage();
        std::fwrite(strUsage.data(), 1, strUsage.size(), pOut);
        return std::fflush(pOut) == 0 ? ExitWritten : ExitFailed;
    }
    try
    {
        // The table is complete before the output is touched, so a refusal leaves every file as it was.
        const BuiltTable built = BuildTable(options);
        WriteOutput(options, built, pOut);
        return ExitWritten;
    }
    catch (const std::exception& e)
    {
        PrintError(pErr, e.what());
        return ExitFailed;
    }
}
