#include "HandlerGuard.h"

#include "UserException.h"

#include <cstring>

void ReportException(const std::exception* pException, unsigned nIcon)
{
    const char* pszText = pException != nullptr ? pException->what() : nullptr;
    const QString strText = pszText != nullptr && std::strlen(pszText) > 0
        ? QString::fromUtf8(pszText)
        : QStringLiteral("Internal application error.");
    AfxMessageBox(strText, MB_OK | nIcon);
}

bool RunGuarded(const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (const UserException&) {
        return false;
    } catch (const std::exception& e) {
        // A failure while reporting must not escape either: a box that cannot be shown leaves nothing to do.
        try {
            ReportException(&e);
        } catch (...) {
        }
    } catch (...) {
        try {
            ReportException(nullptr);
        } catch (...) {
        }
    }
    return false;
}
