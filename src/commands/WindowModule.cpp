#include "commands/WindowModule.h"

#include "commands/HeadlessCommand.h"
#include "platform/Modules.h"

namespace kal {

int enterWindowModule(int argc, char** argv, const std::string& programFolder, std::ostream& err)
{
    const ModuleSymbol entry = loadModuleSymbol(moduleFolders(), kWindowModuleFileName, kWindowEntryName);
    if (!entry.address) {
        err << "kalendra: ウィンドウの機能を読み込めません。" << terminalText("\r\n" + entry.reason) << "\n";
        return kExitFailed;
    }
    return reinterpret_cast<WindowEntry>(entry.address)(argc, argv, programFolder.c_str());
}

} // namespace kal
