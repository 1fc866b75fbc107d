// Files that describe the records of data files by their bytes (the record identities beside the
// month files) follow those records through every change: a writer says which records it
// rewrote, moved or removed, and the follower answers with the new contents of its own files,
// which are written together with the data.
//
// Adding a record needs no notice: a new line that equals others is counted last among them,
// so no existing record changes its place.
#pragma once

#include "platform/FileTransaction.h"

#include <optional>
#include <string>
#include <vector>

namespace kal::files {

// A record: its file, its bytes, and which of the identical lines of that file it is (0 for the
// first), counted in file order.
struct RecordPlace {
    std::string path;
    std::string line;
    int occurrence = 0;

    bool operator==(const RecordPlace&) const = default;
};

// A record rewritten (even to the same bytes: what it stands for may have changed elsewhere,
// such as a ToDo memo), moved to another file, or removed (no `to`).
struct RecordChange {
    RecordPlace from;
    std::optional<RecordPlace> to;
};

struct FollowerChanges {
    IoResult result;                 // why the follower's files cannot follow
    std::vector<FileChange> changes; // whole new contents, in any folder
};

class RecordFollower {
public:
    virtual ~RecordFollower() = default;
    // The folders of the follower's own files: a writer locks them with its data folders, so
    // that the follower's files are read and written under the same locks.
    virtual std::vector<std::string> folders() const = 0;
    // The follower's files after `changes`, read afresh; nothing when they stay as they are.
    virtual FollowerChanges follow(const std::vector<RecordChange>& changes) = 0;
};

// `folders` and those of `follower` (may be null): what a writer that reports to it locks.
std::vector<std::string> followedFolders(std::vector<std::string> folders, const RecordFollower* follower);

// Which of the lines equal to `lines[index]` it is.
int occurrenceAt(const std::vector<std::string>& lines, std::size_t index);
// The place of `line` counted last among its equals in `lines`, as a stable sort leaves it.
int lastOccurrence(const std::vector<std::string>& lines, const std::string& line);

// The changes of one folder.
struct FolderChanges {
    std::string folder;
    std::vector<FileChange> changes;
};

// Several folders changed in turn, each all-or-nothing (FileTransaction.h). When one fails, the
// folders written before it are put back as they were; `written` counts the files that stay
// changed (0 unless a putting back failed too). A crash between two folders leaves the earlier
// ones changed, so callers put first what is harmless alone.
struct InTurnResult {
    IoResult result; // which files failed and why, in Japanese
    int written = 0;
};
InTurnResult writeInTurn(const std::vector<FolderChanges>& folders, FileOps& ops = systemFileOps());

// The changes of the data folder `folder` and what `follower` (may be null) adds for `records`:
// one all-or-nothing change when the follower's files lie in the same folder; else the data
// first and then the follower's files, the data put back should those fail. A crash between the
// two leaves the follower behind, so a record changed then looks changed by another program.
// A single file without a follower is simply saved.
IoResult writeFollowed(const std::string& folder, const std::vector<FileChange>& changes,
                       const std::vector<RecordChange>& records, RecordFollower* follower,
                       FileOps& ops = systemFileOps());

} // namespace kal::files
