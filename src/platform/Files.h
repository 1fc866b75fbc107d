// Whole-file reading and atomic writing, and the few folder operations the program needs.
//
// Paths are UTF-8 file names; file contents are bytes (Shift-JIS text for the data files).
#pragma once

#include "platform/Date.h"

#include <optional>
#include <string>
#include <vector>

namespace kal::files {

// The outcome of a write or delete; `reason` is the system's message when it failed.
struct IoResult {
    bool ok = true;
    std::string reason;

    explicit operator bool() const { return ok; }
    static IoResult failure(std::string why) { return IoResult{false, std::move(why)}; }
};

// Lines of a file; CR LF, LF and CR all end a line. A missing or unreadable file gives no
// lines.
std::vector<std::string> loadLines(const std::string& path);
std::vector<std::string> splitLines(const std::string& bytes);

// Lines of a file that is about to be rewritten: a missing file gives no lines, but a file that
// exists and cannot be read is an error, so that nobody replaces what they could not see.
struct LoadForUpdate {
    bool ok = true;
    std::vector<std::string> lines;
    std::string reason;
};
LoadForUpdate loadLinesForUpdate(const std::string& path);

// The file's bytes, or nothing when it does not exist or cannot be read.
std::optional<std::string> readBytes(const std::string& path);

// Writes every line followed by CR LF, atomically: a temporary file in the same folder is
// written, flushed to disk and renamed over the target. On failure the old file is untouched.
IoResult saveLines(const std::string& path, const std::vector<std::string>& lines);
IoResult saveBytes(const std::string& path, const std::string& bytes);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
IoResult deleteFile(const std::string& path);
IoResult renameFile(const std::string& from, const std::string& to);
IoResult createFolders(const std::string& path);

// Local modification time of a file.
std::optional<DateTime> modificationTime(const std::string& path);

// What tells one version of a file from the next without reading it: an atomic save gives a
// new inode, and an edit in place a new size or modification time (to the nanosecond).
struct FileStamp {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;
};
inline bool operator==(const FileStamp& a, const FileStamp& b)
{
    return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modifiedNs == b.modifiedNs;
}
FileStamp fileStamp(const std::string& path);

// Names (not paths) of the regular files in `folder` that match a wildcard such as "*.sch",
// compared without regard to case; in no particular order.
std::vector<std::string> listFiles(const std::string& folder, const std::string& wildcard);

// `folder` with a trailing '/', unless empty.
std::string withSeparator(const std::string& folder);

// The folder part of a path, with its trailing '/'.
std::string folderOf(const std::string& path);

} // namespace kal::files
