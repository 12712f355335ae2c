#pragma once

#include "MessageBox.h"

#include <QString>

#include <functional>
#include <vector>

// Processes events until cond() holds or the deadline passes; returns whether it held.
bool WaitFor(const std::function<bool()>& cond, int nTimeoutMs = 5000);

// Records every message box instead of showing it, answering each with nAnswer; restores the previous sink.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int nAnswer = IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<MessageBoxRequest>& Requests() const { return m_aRequests; }
    // The texts of the boxes shown so far, in order.
    std::vector<QString> Texts() const;

private:
    std::vector<MessageBoxRequest> m_aRequests;
    MessageBoxSink m_previous;
};

// Shows the window and waits until it is the active window with its focus widget focused.
bool ShowActive(class QWidget* pWindow);
