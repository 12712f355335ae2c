#pragma once

#include <QString>

#include <stdexcept>

// An error of the serial port link. Its text is what the user reads: it names the port and its device and,
// where there is one, what to do.
class CommError : public std::runtime_error
{
public:
    explicit CommError(const QString& strMessage);

    QString Message() const;
};
