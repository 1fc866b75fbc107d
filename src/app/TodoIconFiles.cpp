#include "app/TodoIconFiles.h"

#include "platform/FolderLock.h"
#include "todo/TodoList.h"

#include <algorithm>

namespace kal {

std::vector<std::string> SaveTodoIcons(const std::string& programFolder,
                                       const std::vector<std::optional<std::string>>& pictures, TodoIconFlags& setIcon,
                                       files::FileOps& ops)
{
    std::vector<std::string> failures;
    if (std::none_of(pictures.begin(), pictures.end(), [](const auto& picture) { return picture.has_value(); }))
        return failures;
    files::FolderLock lock = files::lockFolder(programFolder);
    if (!lock)
        return {lock.reason()};
    for (std::size_t n = 0; n < pictures.size() && n < TodoIconFlags::count; ++n) {
        if (!pictures[n])
            continue;
        const std::string path = TodoIconFilePath(programFolder, static_cast<int>(n) + 1);
        if (files::IoResult saved = files::saveBytes(path, *pictures[n], ops); !saved) {
            failures.push_back(path + "\r\n" + saved.reason);
            continue;
        }
        setIcon.set(TodoIconFlags::names()[n], 1);
    }
    return failures;
}

} // namespace kal
