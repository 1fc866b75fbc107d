#include "sync/CalDavService.h"

#include "platform/Modules.h"

namespace kal::caldav {

LoadedService loadService()
{
    static const LoadedService loaded = [] {
        const ModuleSymbol factory = loadModuleSymbol(moduleFolders(), kModuleFileName, kServiceFactoryName);
        if (!factory.address)
            return LoadedService{nullptr, "同期の機能を読み込めません。\r\n" + factory.reason};
        return LoadedService{reinterpret_cast<ServiceFactory>(factory.address)(), {}};
    }();
    return loaded;
}

} // namespace kal::caldav
