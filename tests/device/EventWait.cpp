#include "EventWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

bool WaitFor(const std::function<bool()>& bCondition, int nTimeoutMs)
{
    const QDeadlineTimer deadline(nTimeoutMs);
    while (!bCondition()) {
        if (deadline.hasExpired())
            return bCondition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void DrainEvents()
{
    for (int nRound = 0; nRound < 5; ++nRound) {
        bool bReached = false;
        QTimer::singleShot(0, [&bReached] { bReached = true; });
        WaitFor([&bReached] { return bReached; }, 5000);
    }
}
