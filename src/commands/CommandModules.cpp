#include "commands/CommandModules.h"

#include "platform/Modules.h"

#include <iostream>

namespace kal {

namespace {

// The entry of `module`, or none with the reason on `err`.
void* loadEntry(const CommandModule& module, std::ostream& err)
{
    const ModuleSymbol entry = loadModuleSymbol(moduleFolders(), module.fileName, module.entryName);
    if (!entry.address)
        err << "kalendra: " << module.feature << "を読み込めません。" << terminalText("\r\n" + entry.reason) << "\n";
    return entry.address;
}

} // namespace

int enterModule(const CommandModule& module, int argc, char** argv, const std::string& programFolder, std::ostream& err)
{
    void* entry = loadEntry(module, err);
    return entry ? reinterpret_cast<ModuleEntry>(entry)(argc, argv, programFolder.c_str()) : kExitFailed;
}

int startWindow(int argc, char** argv, const std::string& programFolder, bool skipInstanceGuard, std::ostream& err)
{
    void* entry = loadEntry(kWindowStart, err);
    return entry ? reinterpret_cast<WindowStartEntry>(entry)(argc, argv, programFolder.c_str(), skipInstanceGuard)
                 : kExitFailed;
}

CommandLine readCommandLine(int argc, char** argv, const std::vector<HeadlessCommand>& commands)
{
    return parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), commandOptions(commands));
}

int runCommand(const std::vector<HeadlessCommand>& commands, const CommandLine& commandLine,
               const std::string& programFolder)
{
    const HeadlessContext context{programFolder, localToday(), std::cout, std::cerr};
    return runHeadlessCommand(commands, commandLine.command, context, commandLine.commandArguments);
}

} // namespace kal
