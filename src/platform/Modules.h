// Parts of the program kept in modules loaded on first use (the CalDAV client and its libraries),
// so that start-up does not map them. A module sits beside the program in the build and in
// <libdir>/kalendra when installed.
#pragma once

#include <string>
#include <vector>

namespace kal {

// The program's own folder, the module folder relative to it, the installed module folder.
std::vector<std::string> moduleFolders();

struct ModuleSymbol {
    void* address = nullptr;
    std::string reason; // UTF-8, why none of the folders gave it
};
// `symbol` of the first module `fileName` in `folders` that loads and has it; a module once
// loaded stays for the life of the process.
ModuleSymbol loadModuleSymbol(const std::vector<std::string>& folders, const std::string& fileName, const char* symbol);

} // namespace kal
