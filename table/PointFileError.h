#pragma once

#include <stdexcept>
#include <string>

// A point-list CSV file that could not be read or written; the text names the file and what to do.
class PointFileError : public std::runtime_error
{
  public:
    explicit PointFileError(const std::string& strMessage)
        : std::runtime_error(strMessage)
    {
    }
};
