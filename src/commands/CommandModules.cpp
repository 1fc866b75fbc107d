#include "commands/CommandModules.h"

#include "platform/Modules.h"

#include <iostream>

namespace kal {

int enterModule(const CommandModule& module, int argc, char** argv, const std::string& programFolder, std::ostream& err)
{
    const ModuleSymbol entry = loadModuleSymbol(moduleFolders(), module.fileName, module.entryName);
    if (!entry.address) {
        err << "kalendra: " << module.feature << "を読み込めません。" << terminalText("\r\n" + entry.reason) << "\n";
        return kExitFailed;
    }
    return reinterpret_cast<ModuleEntry>(entry.address)(argc, argv, programFolder.c_str());
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
