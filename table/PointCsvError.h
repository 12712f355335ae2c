#pragma once

#include <stdexcept>
#include <string>

// A point-list CSV text that cannot be read; the message starts with "Line <n>: " (1-based).
class PointCsvError : public std::runtime_error
{
  public:
    PointCsvError(int nLine, const std::string& strProblem)
        : std::runtime_error("Line " + std::to_string(nLine) + ": " + strProblem)
        , m_nLine(nLine)
    {
    }

    int Line() const
    {
        return m_nLine;
    }

  private:
    int m_nLine;
};
