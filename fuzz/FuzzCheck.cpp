#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

void FuzzFail(const std::string& strWhat)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", strWhat.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string FuzzEscape(std::string_view strBytes)
{
    std::string strOut;
    for (const char c : strBytes) {
        const auto n = static_cast<unsigned char>(c);
        if (n >= 0x20 && n < 0x7F && c != '\\') {
            strOut.push_back(c);
        } else {
            char szHex[8];
            std::snprintf(szHex, sizeof szHex, "\\x%02X", n);
            strOut += szHex;
        }
    }
    return strOut;
}
