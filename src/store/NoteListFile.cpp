#include "store/NoteListFile.h"

#include "platform/Files.h"

namespace kal::store {

std::vector<std::string> ParseNoteListLines(const std::string& bytes)
{
    return files::splitLines(bytes);
}

std::vector<std::string> ComposeNoteList(const std::vector<std::string>& titles,
                                         const std::vector<std::string>& refused)
{
    std::vector<std::string> lines = titles;
    lines.insert(lines.end(), refused.begin(), refused.end());
    return lines;
}

EditResult SaveNoteListFile(const std::string& path, const std::vector<std::string>& titles,
                            const std::vector<std::string>& refused, files::FileOps& ops)
{
    return replaceFile(path, ComposeNoteList(titles, refused), ops);
}

} // namespace kal::store
