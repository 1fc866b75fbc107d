#include "platform/ReplaceQuestion.h"

#include "platform/Files.h"

namespace kal {

bool AskBeforeReplacing(Platform& platform, const std::string& caption, const std::string& path)
{
    if (!files::anythingAt(path))
        return true;
    const std::string name = path.substr(path.rfind('/') + 1);
    return platform.messageBox(caption, "'" + name + "' を上書きしますか？", MessageIcon::Warning,
                               MessageButtons::YesNo) == MessageAnswer::Yes;
}

} // namespace kal
