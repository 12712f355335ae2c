#pragma once

#include <functional>

// Waiting on the event loop without fixed sleeps.

// Runs the event loop until bCondition() holds or nTimeoutMs pass; returns bCondition() at the end.
bool WaitFor(const std::function<bool()>& bCondition, int nTimeoutMs = 10000);

// Lets everything already queued on the event loop run, and what that queues in turn, for a few rounds:
// a handler that keeps re-queueing itself shows up as extra calls afterwards.
void DrainEvents();
