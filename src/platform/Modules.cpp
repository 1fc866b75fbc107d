#include "platform/Modules.h"

#include "platform/Files.h"

#include <dlfcn.h>
#include <unistd.h>

namespace kal {

std::vector<std::string> moduleFolders()
{
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::vector<std::string> folders;
    if (n > 0) {
        const std::string program = files::folderOf(std::string(buffer, static_cast<std::size_t>(n)));
        // Relative to the program first, so an installation moved to another prefix still works.
        folders.push_back(program);
        folders.push_back(files::withSeparator(program) + KALENDRA_MODULE_RELATIVE_DIR);
    }
    folders.push_back(KALENDRA_MODULE_INSTALL_DIR);
    return folders;
}

ModuleSymbol loadModuleSymbol(const std::vector<std::string>& folders, const std::string& fileName, const char* symbol)
{
    ModuleSymbol found;
    for (const std::string& folder : folders) {
        const std::string path = files::withSeparator(folder) + fileName;
        if (!files::fileExists(path))
            continue;
        // Functions bound at their first call, as a program's own linked libraries are: binding
        // the window module's thousand calls into Qt up front cost its start a millisecond. A
        // missing library or symbol version still fails here.
        void* module = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
        if (!module) {
            const char* why = ::dlerror();
            found.reason = "「" + path + "」を読み込めません。" + (why ? std::string("\r\n") + why : "");
            continue;
        }
        if ((found.address = ::dlsym(module, symbol)))
            return found;
        found.reason = "「" + path + "」は Kalendra のモジュールではありません。";
    }
    if (found.reason.empty())
        found.reason = "モジュール「" + fileName + "」が見つかりません。";
    return found;
}

} // namespace kal
