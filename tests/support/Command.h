// Runs a shell command line, as the headless-command tests start the program.
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kal::test {

struct CommandResult {
    int exitCode = -1;
    std::string output; // standard output (add 2>&1 to the line for standard error)
};

inline CommandResult runCommand(const std::string& line)
{
    CommandResult result;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace kal::test
