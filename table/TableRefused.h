#pragma once

#include <stdexcept>
#include <string>

// A table that cannot be built from the given limits or points. The text says what is wrong, names the
// point-list row where there is one, and what to do about it.
class TableRefused : public std::runtime_error
{
  public:
    explicit TableRefused(const std::string& strMessage)
        : std::runtime_error(strMessage)
    {
    }
};
