// Before the first month is built: interrupted multi-file saves finished, stale temporary files
// removed, in every folder that holds data.
#include "app/TForm1.h"

#include "settings/DataFolders.h"

namespace kal {

void TForm1::RecoverDataFolders()
{
    const std::string problems = kal::RecoverDataFolders(DataFolders(settings_, programFolder_));
    if (!problems.empty())
        services_.platform.messageBox(kRecoveryCaption, problems, MessageIcon::Error, MessageButtons::Ok);
}

} // namespace kal
