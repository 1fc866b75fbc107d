// Runs a shell command and gives what it printed and how it ended.
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kal::test {

struct ProgramRun {
    std::string output;
    int exitCode = -1;
};

inline ProgramRun runProgram(const std::string& command)
{
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    run.exitCode = WEXITSTATUS(::pclose(pipe));
    return run;
}

// The program with a program folder and the arguments; standard error joins the output.
inline ProgramRun runKalendra(const std::string& home, const std::string& arguments)
{
    return runProgram(std::string(KALENDRA_BINARY) + " --home " + home + " " + arguments + " 2>&1");
}

} // namespace kal::test
