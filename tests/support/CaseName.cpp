#include "CaseName.h"

#include <cctype>

std::string CaseName(const char* szDescription)
{
    std::string strName = szDescription;
    for (char& ch : strName)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return strName;
}
