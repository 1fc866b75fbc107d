#include "store/MemoFile.h"

#include "platform/ByteText.h"
#include "platform/Files.h"

namespace kal::store {

std::vector<std::string> ParseMemoText(const std::string& bytes)
{
    return files::splitLines(bytes);
}

bool IsEmptyMemo(const std::vector<std::string>& lines)
{
    return lines.empty() || (lines.size() == 1 && text::isBlank(lines.front()));
}

bool PutMemo(EditFiles& files, const std::string& path, std::vector<std::string> lines)
{
    if (IsEmptyMemo(lines)) {
        files.erase(path);
        return true;
    }
    files.replace(path, std::move(lines));
    return false;
}

} // namespace kal::store
