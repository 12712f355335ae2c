// velmora-unit-sim: a simulated display unit on a pseudo-terminal. The logic lives in UnitModel,
// RequestScanner and OutputSchedule; this file is the I/O loop around them.
#include "OutputSchedule.h"
#include "RequestScanner.h"
#include "SimOptions.h"
#include "SimPty.h"
#include "UnitModel.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
volatile sig_atomic_t s_bStop = 0;

void OnStopSignal(int)
{
    s_bStop = 1;
}

int64_t NowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The link may be left over from a simulator that was killed; only a symbolic link is ever replaced.
bool MakeLink(const std::string& strLink, const std::string& strTarget, std::string& strError)
{
    struct stat st{};
    if (lstat(strLink.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            strError = strLink + " exists and is not a symbolic link; choose another --link path";
            return false;
        }
        unlink(strLink.c_str());
    }
    if (symlink(strTarget.c_str(), strLink.c_str()) != 0) {
        strError = "cannot make the link " + strLink + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// Removes the link only while it still points at our device, so a newer simulator's link survives.
void RemoveLink(const std::string& strLink, const std::string& strTarget)
{
    std::vector<char> vBuffer(4096);
    const ssize_t nLength = readlink(strLink.c_str(), vBuffer.data(), vBuffer.size() - 1);
    if (nLength >= 0 && std::string(vBuffer.data(), static_cast<size_t>(nLength)) == strTarget)
        unlink(strLink.c_str());
}

void HandleStdin(std::string& strPending, const char* pBytes, size_t nCount, UnitModel& model)
{
    constexpr size_t MaxLine = 1024;
    for (size_t i = 0; i < nCount; ++i) {
        if (pBytes[i] != '\n') {
            if (strPending.size() < MaxLine)
                strPending += pBytes[i];
            continue;
        }
        std::string strError;
        if (strPending.size() >= MaxLine)
            std::cerr << "velmora-unit-sim: input line too long, ignored" << std::endl;
        else if (!model.ApplyCommand(strPending, strError))
            std::cerr << "velmora-unit-sim: " << strError << std::endl;
        strPending.clear();
    }
}

int Run(const SimOptions& options, int nMaster)
{
    UnitModel model(options);
    OutputSchedule schedule(options.m_bPacing);
    RequestScanner scanner;
    const int64_t nStartUs = NowUs();
    bool bStdinOpen = true;
    std::string strStdinLine;
    sigset_t emptyMask;
    sigemptyset(&emptyMask);

    while (!s_bStop) {
        int64_t nNowUs = NowUs();
        bool bWriteBlocked = false;
        uint8_t abOut[512];
        const size_t nDue = schedule.PeekDue(nNowUs, abOut, sizeof abOut);
        if (nDue > 0) {
            const ssize_t nWritten = write(nMaster, abOut, nDue);
            if (nWritten > 0)
                schedule.Consume(static_cast<size_t>(nWritten));
            else if (nWritten < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                bWriteBlocked = true; // nobody reads the device and its input queue is full
            else if (nWritten < 0 && errno != EINTR) {
                std::cerr << "velmora-unit-sim: writing to the terminal failed: " << std::strerror(errno) << std::endl;
                return 1;
            }
        }

        // A background job must not read its terminal (it would be stopped); it looks again now and then
        // in case it is brought to the foreground.
        const bool bTerminalInBackground = isatty(STDIN_FILENO) && tcgetpgrp(STDIN_FILENO) != getpgrp();
        const bool bWatchStdin = bStdinOpen && !bTerminalInBackground;
        pollfd aFds[2] = {{nMaster, static_cast<short>(POLLIN | (bWriteBlocked ? POLLOUT : 0)), 0},
                          {STDIN_FILENO, POLLIN, 0}};
        timespec timeout{};
        const timespec* pTimeout = nullptr;
        int64_t nWaitUs = bWriteBlocked ? -1 : schedule.WaitUs(NowUs());
        if (bStdinOpen && bTerminalInBackground && (nWaitUs < 0 || nWaitUs > 500000))
            nWaitUs = 500000;
        if (nWaitUs >= 0) {
            timeout.tv_sec = static_cast<time_t>(nWaitUs / 1000000);
            timeout.tv_nsec = static_cast<long>(nWaitUs % 1000000) * 1000;
            pTimeout = &timeout;
        }
        // Signals are blocked except inside ppoll, so a stop request can never be missed between checks.
        const int nReady = ppoll(aFds, bWatchStdin ? 2 : 1, pTimeout, &emptyMask);
        if (nReady < 0) {
            if (errno == EINTR)
                continue;
            std::cerr << "velmora-unit-sim: waiting failed: " << std::strerror(errno) << std::endl;
            return 1;
        }

        if (aFds[0].revents != 0) {
            uint8_t abIn[4096];
            const ssize_t nRead = read(nMaster, abIn, sizeof abIn);
            if (nRead > 0) {
                const int nRequests = scanner.Feed(abIn, static_cast<size_t>(nRead));
                for (int i = 0; i < nRequests; ++i) {
                    nNowUs = NowUs();
                    const int64_t nElapsedMs = (nNowUs - nStartUs) / 1000;
                    const std::vector<AnswerPiece> vPieces = model.Answer(nElapsedMs);
                    const bool bQueued = schedule.Add(vPieces, nNowUs);
                    if (options.m_bVerbose) {
                        const auto anReadings = model.Readings(nElapsedMs);
                        std::cerr << "velmora-unit-sim: request, "
                                  << (vPieces.empty() ? "no answer"
                                      : bQueued      ? "answer"
                                                     : "answer dropped (nobody reads)")
                                  << " " << anReadings[0] << " " << anReadings[1] << " " << anReadings[2]
                                  << std::endl;
                    }
                }
            } else if (nRead < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                std::cerr << "velmora-unit-sim: reading from the terminal failed: " << std::strerror(errno)
                          << std::endl;
                return 1;
            } else if (nRead == 0 || (aFds[0].revents & (POLLERR | POLLNVAL)) != 0) {
                // Never spin on a terminal that keeps reporting a condition without data.
                std::cerr << "velmora-unit-sim: the terminal was closed" << std::endl;
                return 1;
            }
        }

        if (bWatchStdin && aFds[1].revents != 0) {
            char abLine[1024];
            const ssize_t nRead = read(STDIN_FILENO, abLine, sizeof abLine);
            if (nRead > 0)
                HandleStdin(strStdinLine, abLine, static_cast<size_t>(nRead), model);
            else if (nRead == 0 || (errno != EAGAIN && errno != EINTR))
                bStdinOpen = false; // end of input: keep answering, stop listening
        }
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    SimOptions options;
    std::string strError;
    switch (ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, strError)) {
    case SimCommand::Help:
        std::cout << SimHelpText();
        return 0;
    case SimCommand::Error:
        std::cerr << "velmora-unit-sim: " << strError << "\nTry velmora-unit-sim --help" << std::endl;
        return 2;
    case SimCommand::Run:
        break;
    }

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SimPty pty;
    if (!pty.Open(strError)) {
        std::cerr << "velmora-unit-sim: " << strError << std::endl;
        return 1;
    }
    if (!options.m_strLink.empty() && !MakeLink(options.m_strLink, pty.SlavePath(), strError)) {
        std::cerr << "velmora-unit-sim: " << strError << std::endl;
        return 1;
    }

    std::printf("%s\n", pty.SlavePath().c_str());
    std::fflush(stdout);

    const int nResult = Run(options, pty.MasterFd());
    if (!options.m_strLink.empty())
        RemoveLink(options.m_strLink, pty.SlavePath());
    return nResult;
}
