#pragma once

#include <stdexcept>
#include <string>

// A table file that was not written: the text names the file, the reason and what to do. The file on disk
// is as it was before.
class TableFileError : public std::runtime_error
{
  public:
    explicit TableFileError(const std::string& strMessage)
        : std::runtime_error(strMessage)
    {
    }
};
