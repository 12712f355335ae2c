#include "CommError.h"

CommError::CommError(const QString& strMessage)
    : std::runtime_error(strMessage.toStdString())
{
}

QString CommError::Message() const
{
    return QString::fromStdString(what());
}
