// Whole-file reading and atomic writing, and the few folder operations the program needs.
//
// Paths are UTF-8 file names; file contents are bytes (Shift-JIS text for the data files).
// Reading never blocks on a FIFO or device and refuses files above kMaxDataFileBytes. Writing
// goes through a temporary file "<name>.tmp-saving" beside the target (another name
// "<name>.tmp-XXXXXX" while another save of the file holds that one), locked while it lives: a
// temporary that nobody holds is a leftover of a killed save, taken over by the next save of the
// file or removed at the next start. Writes go through a FileOps (FileOps.h) so that tests can
// fail any step.
#pragma once

#include "platform/Date.h"
#include "platform/FileOps.h"
#include "platform/SystemError.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal::files {

// The outcome of a write or delete; `reason` is the system's message when it failed.
struct IoResult {
    bool ok = true;
    std::string reason;
    int code = 0; // the errno value or refusal of SystemError.h, when one gave the reason

    explicit operator bool() const { return ok; }
    static IoResult failure(std::string why) { return IoResult{false, std::move(why)}; }
    // The failure with the reason of an errno value or of one of the refusals of SystemError.h.
    static IoResult error(int code) { return IoResult{false, systemErrorText(code), code}; }
};

enum class ReadStatus { Ok, Missing, Unreadable };
struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    std::string reason; // when unreadable
};
// The bytes of a regular file of at most `maxBytes` (the limit of its kind; data files share
// kMaxDataFileBytes), read into one allocation of the size checked first. A missing file is
// Missing; a FIFO, device, folder, a file too large or one the system refuses is Unreadable with
// the reason.
ReadResult readFile(const std::string& path, std::size_t maxBytes = kMaxDataFileBytes);

// readFile into `result`, whose buffer is kept for the next file: a reader of many files
// allocates once. The bytes are empty unless the status is Ok.
void readFileInto(const std::string& path, ReadResult& result, std::size_t maxBytes = kMaxDataFileBytes);
// A folder opened once, so that reading many of its files looks up only their names.
class OpenFolder {
public:
    explicit OpenFolder(std::string path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    const std::string& path() const { return path_; } // with a separator at the end
    // readFileInto of the folder's file `name`.
    void readInto(const std::string& name, ReadResult& result, std::size_t maxBytes = kMaxDataFileBytes) const;

private:
    std::string path_;
    int fd_;
};

// Lines of a file; CR LF, LF and CR all end a line. A missing or unreadable file gives no
// lines.
std::vector<std::string> loadLines(const std::string& path);
std::vector<std::string> splitLines(const std::string& bytes);
// The same lines as views into `bytes`, replacing the content of `lines`.
void splitLineViews(std::string_view bytes, std::vector<std::string_view>& lines);

// Lines of a file that is about to be rewritten: a missing file gives no lines, but a file that
// exists and cannot be read is an error, so that nobody replaces what they could not see.
struct LoadForUpdate {
    bool ok = true;
    std::vector<std::string> lines;
    std::string reason;
};
LoadForUpdate loadLinesForUpdate(const std::string& path, std::size_t maxBytes = kMaxDataFileBytes);

// A file that exists but could not be read, and why: shown to the user, never taken as empty.
struct FileProblem {
    std::string path;
    std::string reason;
    bool operator==(const FileProblem&) const = default;
};
// The lines of a file to be shown: none when it is missing; none and a FileProblem added to
// `problems` when it cannot be read.
std::vector<std::string> loadLinesNoting(const std::string& path, std::vector<FileProblem>& problems);
// "path: reason" for each, one per line (CR LF between them).
std::string problemsText(const std::vector<FileProblem>& problems);

// The file's bytes, or nothing when it does not exist or cannot be read.
std::optional<std::string> readBytes(const std::string& path);

// Every line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

// Writes every line followed by CR LF, atomically: a temporary file in the same folder is
// written, flushed to disk and renamed over the target. On failure the old file is untouched
// and no temporary file is left. A symbolic link is followed and its target replaced; a target
// without write permission is refused, never replaced. Content above kMaxDataFileBytes, which
// no reader would take back, is refused before anything is written.
IoResult saveLines(const std::string& path, const std::vector<std::string>& lines, FileOps& ops = systemFileOps());
IoResult saveBytes(const std::string& path, const std::string& bytes, FileOps& ops = systemFileOps());
// saveBytes for a file of another kind, whose reader accepts up to `maxBytes`.
IoResult saveBytesWithin(const std::string& path, const std::string& bytes, std::size_t maxBytes,
                         FileOps& ops = systemFileOps());
// The refusal of content above `maxBytes`, or success.
IoResult checkSize(const std::string& bytes, std::size_t maxBytes = kMaxDataFileBytes);
// The same for a file only its owner may read and write (mode 0600), whatever it had before.
IoResult saveBytesPrivate(const std::string& path, const std::string& bytes, FileOps& ops = systemFileOps());

// A lock held on a file written by saveBytesHoldingLock until this is destroyed; recovery and
// clean-up in other processes leave a locked file alone.
class HeldLock {
public:
    HeldLock() = default;
    ~HeldLock();
    HeldLock(HeldLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    HeldLock& operator=(HeldLock&& other) noexcept;
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    void adopt(int fd);

private:
    int fd_ = -1;
};
// Not limited to kMaxDataFileBytes: the caller checks the limit of its kind.
IoResult saveBytesHoldingLock(const std::string& path, const std::string& bytes, HeldLock& lock,
                              FileOps& ops = systemFileOps());

// saveBytes in two steps, so that several files of one folder go into place with a single flush
// of the folder: stageBytes writes and flushes the content beside the target, placeStaged renames
// it over the target (without flushing the folder: call syncFolder once after the last one).
// A staged file that is not placed is removed when the StagedFile is destroyed.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;
    ~StagedFile();
    // The lock on the file, kept past its placing by saveBytesHoldingLock.
    HeldLock takeLock() { return std::move(lock_); }

private:
    friend IoResult stageFile(const std::string&, const std::string&, StagedFile&, FileOps&, bool, std::size_t);
    friend IoResult placeStaged(StagedFile&, FileOps&);
    std::string temporary_; // empty once placed
    std::string target_;
    HeldLock lock_; // keeps other processes' clean-up away from the temporary file
    FileOps* ops_ = nullptr;
};
IoResult stageBytes(const std::string& path, const std::string& bytes, StagedFile& staged,
                    FileOps& ops = systemFileOps());
IoResult placeStaged(StagedFile& staged, FileOps& ops = systemFileOps());
// stageBytes for a file only its owner may read and write (saveBytesPrivate), or of another size
// limit.
IoResult stageFile(const std::string& path, const std::string& bytes, StagedFile& staged, FileOps& ops, bool ownerOnly,
                   std::size_t maxBytes = kMaxDataFileBytes);
// Flushes a folder's entries (new names, renames, deletions) to disk.
void syncFolder(const std::string& folder);

// Whether saveBytes could replace `path`: a missing file in an existing folder, or a regular
// file with write permission that its reader could read (readable, at most `maxBytes`), since
// nothing is written over a file nobody could see. Symbolic links are followed.
IoResult checkReplaceable(const std::string& path, std::size_t maxBytes = kMaxDataFileBytes);
// `path` with every symbolic link along its last component followed.
std::string resolveLinks(const std::string& path);

// Whether a file name has the pattern of this program's temporary files.
bool isTemporaryName(std::string_view name);
// Removes the temporary files of saves that were killed (nobody holds their lock); gives the
// number removed. Other files are never touched.
int removeStaleTemporaries(const std::string& folder);
// The same for the temporary files among `names`, found by a listing the caller made anyway.
int removeStaleTemporaries(const std::string& folder, const std::vector<std::string>& names);

bool fileExists(const std::string& path);
// Whether anything (a file, folder, FIFO, even a dangling link) has that name.
bool anythingAt(const std::string& path);
bool folderExists(const std::string& path);
IoResult deleteFile(const std::string& path, FileOps& ops = systemFileOps());
IoResult renameFile(const std::string& from, const std::string& to, FileOps& ops = systemFileOps());
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
// Whether every later change to the file must show in its stamp. A coarse file-system clock (or
// a two-second one on FAT) can give two writes within one tick the same time, so a cache keeps
// only what it read from a file whose stamp is older than that.
bool stampSettled(const FileStamp& stamp);

// Names (not paths) of the regular files in `folder` that match a wildcard such as "*.sch",
// compared without regard to case; in no particular order. With `anyKind`, also every other
// entry of such a name (a folder, a FIFO, a link that leads nowhere), for readers that must
// report what they cannot read.
std::vector<std::string> listFiles(const std::string& folder, const std::string& wildcard, bool anyKind = false);
// Names of the entries of any kind in `folder` that `accept` takes, in no particular order: a
// name is copied only once taken, so a folder of many other files is listed cheaply.
std::vector<std::string> listNames(const std::string& folder, const std::function<bool(std::string_view)>& accept);
// The same, or nothing when the folder cannot be listed.
std::optional<std::vector<std::string>> tryListNames(const std::string& folder,
                                                     const std::function<bool(std::string_view)>& accept);

// `folder` with a trailing '/', unless empty.
std::string withSeparator(const std::string& folder);

// The folder part of a path, with its trailing '/'.
std::string folderOf(const std::string& path);

} // namespace kal::files
