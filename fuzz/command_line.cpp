// Command-line arguments (NUL-separated in the input): parsing never faults, a command takes the
// arguments after it, and the program folder always ends with a separator.
#include "FuzzSupport.h"
#include "commands/CommandLine.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    std::vector<std::string> arguments;
    std::string current;
    for (char c : fuzz::bytesOf(data, size)) {
        if (c == '\0') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    arguments.push_back(current);
    const CommandLine cl = parseCommandLine(arguments, {"--dump-month", "--search"});
    if (cl.error.empty() && !cl.command.empty())
        FUZZ_CHECK(cl.commandArguments.size() < arguments.size());
    if (cl.home)
        FUZZ_CHECK(std::find(arguments.begin(), arguments.end(), "--home") != arguments.end());
    if (cl.command.empty())
        FUZZ_CHECK(cl.commandArguments.empty());
    ProgramFolderInputs inputs;
    inputs.homeArgument = cl.home;
    inputs.homeEnvironment = arguments.size() > 1 ? std::optional<std::string>(arguments[1]) : std::nullopt;
    inputs.xdgDataHome = arguments.front();
    inputs.userHome = arguments.back();
    const std::string folder = chooseProgramFolder(inputs);
    FUZZ_CHECK(!folder.empty() && folder.back() == '/');
    return 0;
}
