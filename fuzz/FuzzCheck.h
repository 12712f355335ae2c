#pragma once

#include <string>
#include <string_view>

// A broken property: prints what was expected and aborts, which the fuzzer reports as a crash with the input
// that caused it and the replay run reports as a failed test.
[[noreturn]] void FuzzFail(const std::string& strWhat);

inline void FuzzRequire(bool bHolds, const std::string& strWhat)
{
    if (!bHolds)
        FuzzFail(strWhat);
}

// Printable form of arbitrary bytes for the failure text.
std::string FuzzEscape(std::string_view strBytes);
