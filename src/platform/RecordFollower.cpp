#include "platform/RecordFollower.h"

#include <algorithm>

namespace kal::files {
namespace {

// The files by name, or by their folder when they are many (an import may change hundreds).
std::string namesOf(const std::vector<FileChange>& changes)
{
    constexpr std::size_t kNamedFiles = 3;
    if (changes.size() > kNamedFiles)
        return "「" + folderOf(changes.front().path) + "」の " + std::to_string(changes.size()) + " 個のファイル";
    std::string names;
    for (const FileChange& change : changes)
        names += "「" + change.path + "」";
    return names;
}

// Why a folder's files were not saved, in one line when the change as a whole is what is refused.
std::string refusal(const std::vector<FileChange>& changes, const IoResult& saved)
{
    if (saved.code == kChangeTooLarge)
        return saved.reason;
    return namesOf(changes) + "を保存できません。\r\n" + saved.reason;
}

// What to put back should a later folder fail. A file that cannot be read is refused by the
// write itself (nothing is written over it), so only readable files are ever put back.
std::vector<FileChange> contentsBefore(const std::vector<FileChange>& changes)
{
    std::vector<FileChange> before;
    for (const FileChange& change : changes) {
        ReadResult read = readFile(change.path, change.maxBytes);
        std::optional<std::string> bytes;
        if (read.status == ReadStatus::Ok)
            bytes = std::move(read.bytes);
        before.push_back({change.path, std::move(bytes), change.maxBytes});
    }
    return before;
}

int countOf(const std::vector<FileChange>& changes)
{
    return static_cast<int>(changes.size());
}

// One file alone is saved (atomic by itself, no intent record left in a folder nobody
// recovers); several go through writeAllOrNothing.
IoResult writeGroup(const std::string& folder, const std::vector<FileChange>& changes, FileOps& ops)
{
    if (changes.size() != 1)
        return writeAllOrNothing(folder, changes, ops);
    const FileChange& change = changes.front();
    if (change.bytes)
        return saveBytesWithin(change.path, *change.bytes, change.maxBytes, ops);
    return fileExists(change.path) ? deleteFile(change.path, ops) : IoResult{};
}

} // namespace

std::vector<std::string> followedFolders(std::vector<std::string> folders, const RecordFollower* follower)
{
    if (follower)
        for (std::string& folder : follower->folders())
            folders.push_back(std::move(folder));
    return folders;
}

int occurrenceAt(const std::vector<std::string>& lines, std::size_t index)
{
    if (index >= lines.size())
        return 0;
    return static_cast<int>(
        std::count(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(index), lines[index]));
}

int lastOccurrence(const std::vector<std::string>& lines, const std::string& line)
{
    return std::max(0, static_cast<int>(std::count(lines.begin(), lines.end(), line)) - 1);
}

InTurnResult writeInTurn(const std::vector<FolderChanges>& folders, FileOps& ops)
{
    InTurnResult out;
    std::vector<std::vector<FileChange>> before;
    for (const FolderChanges& group : folders) {
        before.push_back(contentsBefore(group.changes));
        IoResult saved = writeGroup(group.folder, group.changes, ops);
        if (saved) {
            out.written += countOf(group.changes);
            continue;
        }
        std::string message = refusal(group.changes, saved);
        for (std::size_t j = 0; j + 1 < before.size(); ++j) {
            if (IoResult undone = writeGroup(folders[j].folder, before[j], ops); !undone) {
                message += "\r\n" + namesOf(before[j]) + "を元に戻せません。\r\n" + undone.reason;
                continue;
            }
            out.written -= countOf(folders[j].changes);
        }
        out.result = IoResult::failure(message);
        return out;
    }
    return out;
}

IoResult writeFollowed(const std::string& folderPath, const std::vector<FileChange>& changes,
                       const std::vector<RecordChange>& records, RecordFollower* follower, FileOps& ops)
{
    const std::string folder = withSeparator(folderPath);
    FolderChanges data{folder, changes};
    std::vector<FolderChanges> others;
    if (follower && !records.empty()) {
        FollowerChanges followed = follower->follow(records);
        if (!followed.result)
            return followed.result;
        for (FileChange& change : followed.changes) {
            const std::string changeFolder = folderOf(change.path);
            if (changeFolder == folder) {
                data.changes.push_back(std::move(change));
                continue;
            }
            auto group = std::find_if(others.begin(), others.end(),
                                      [&](const FolderChanges& g) { return g.folder == changeFolder; });
            if (group == others.end())
                group = others.insert(others.end(), FolderChanges{changeFolder, {}});
            group->changes.push_back(std::move(change));
        }
    }
    others.insert(others.begin(), std::move(data));
    return writeInTurn(others, ops).result;
}

} // namespace kal::files
