#include "TestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QWidget>

bool WaitFor(const std::function<bool()>& cond, int nTimeoutMs)
{
    QDeadlineTimer deadline(nTimeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

MessageBoxRecorder::MessageBoxRecorder(int nAnswer)
{
    m_previous = SetMessageBoxSink([this, nAnswer](const MessageBoxRequest& request) {
        m_aRequests.push_back(request);
        return nAnswer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxSink(m_previous);
}

std::vector<QString> MessageBoxRecorder::Texts() const
{
    std::vector<QString> astrTexts;
    for (const MessageBoxRequest& request : m_aRequests)
        astrTexts.push_back(request.m_strText);
    return astrTexts;
}

bool ShowActive(QWidget* pWindow)
{
    pWindow->show();
    QApplication::setActiveWindow(pWindow);
    pWindow->activateWindow();
    return QTest::qWaitForWindowActive(pWindow);
}
