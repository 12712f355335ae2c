#include "TableCommand.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Past a file size limit the write must fail and be reported; the default action would kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunTableCommand(args, stdout, stderr);
}
