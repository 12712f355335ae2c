#include "ChildLimits.h"

#include <exception>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

bool RunningAsRoot()
{
    return geteuid() == 0;
}

bool ApplyChildLimits(const ChildLimits& limits)
{
    if (limits.m_nFileSizeLimit)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(*limits.m_nFileSizeLimit),
                           static_cast<rlim_t>(*limits.m_nFileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return false;
    }
    if (limits.m_bUnprivileged && RunningAsRoot())
    {
        if (setgroups(0, nullptr) != 0 || setgid(NobodyId) != 0 || setuid(NobodyId) != 0)
            return false;
    }
    return true;
}

std::string RunInChild(const std::function<void()>& fnWork, const ChildLimits& limits)
{
    int anPipe[2];
    if (pipe(anPipe) != 0)
        return "child: no pipe";
    const pid_t pid = fork();
    if (pid < 0)
        return "child: no fork";
    if (pid == 0)
    {
        close(anPipe[0]);
        std::string strReport;
        if (!ApplyChildLimits(limits))
            strReport = "child: limits not applied";
        else
        {
            try
            {
                fnWork();
            }
            catch (const std::exception& e)
            {
                strReport = e.what();
            }
        }
        for (size_t nDone = 0; nDone < strReport.size();)
        {
            const ssize_t n = write(anPipe[1], strReport.data() + nDone, strReport.size() - nDone);
            if (n <= 0)
                break;
            nDone += static_cast<size_t>(n);
        }
        // No destructors or exit handlers of the parent's objects run in the child.
        _exit(0);
    }
    close(anPipe[1]);
    std::string strReport;
    char acBuffer[4096];
    for (ssize_t n; (n = read(anPipe[0], acBuffer, sizeof acBuffer)) > 0;)
        strReport.append(acBuffer, static_cast<size_t>(n));
    close(anPipe[0]);
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    if (!WIFEXITED(nStatus))
        return "child: ended by signal " + std::to_string(WTERMSIG(nStatus));
    return strReport;
}
