#pragma once

#include <functional>
#include <optional>
#include <string>

// Conditions a real user meets and the test process (often root) does not: a file size limit (the full
// disk) and the rights of an ordinary user. They are applied in a forked child, so the test process
// itself keeps its rights.
struct ChildLimits
{
    // Run as the user and group "nobody" (65534) when the tests run as root; an ordinary user is
    // already bound by permission bits.
    bool m_bUnprivileged = false;
    // RLIMIT_FSIZE in bytes, with SIGXFSZ ignored so a write past it fails with EFBIG.
    std::optional<long> m_nFileSizeLimit;
};

constexpr unsigned NobodyId = 65534;

// Whether the tests run as root, so that files must be handed to "nobody" for permission bits to count.
bool RunningAsRoot();

// Applies the limits in the calling (child) process; returns false when that is impossible.
bool ApplyChildLimits(const ChildLimits& limits);

// Runs fnWork in a forked child under the limits. The result is what the child reported: "" when fnWork
// returned, the exception's text when it threw, or a text starting with "child:" when the child failed.
std::string RunInChild(const std::function<void()>& fnWork, const ChildLimits& limits);
