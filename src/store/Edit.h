// One way every data file is changed: edit() takes the folders' lock, reads the files afresh,
// checks that the lines the reader saw are still where it saw them, lets the change work on the
// lines, sorts every file that received a line, and saves: several files all or nothing (an
// intent record, FileTransaction.h), and always with the identity follower told of every record
// rewritten, moved or removed (RecordFollower.h), so no change cuts a record off from its
// identity.
//
//     store::EditResult done = store::edit({{path}, store::Follower(follower), {ref}},
//                                          [&](store::EditFiles& files) {
//                                              files.remove(ref);
//                                              return store::EditResult{};
//                                          });
#pragma once

#include "platform/FileOps.h"
#include "platform/Files.h"
#include "platform/RecordFollower.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kal::store {

// Where a record stands: its file, its 0-based line there, and the text the reader saw, which
// tells whether the file changed since.
struct LineRef {
    std::string file;
    int index = -1;
    std::string line;

    bool operator==(const LineRef&) const = default;
};

enum class EditStatus {
    Done,
    Changed,     // a line is no longer the one the reader saw
    WriteFailed, // the lock, a read or the file system failed; the files keep their old content
};

struct EditResult {
    EditStatus status = EditStatus::Done;
    std::string reason;   // why it failed, for the user
    bool written = false; // a file was rewritten

    bool ok() const { return status == EditStatus::Done; }
    static EditResult changed() { return EditResult{EditStatus::Changed, {}}; }
    static EditResult failed(std::string reason) { return EditResult{EditStatus::WriteFailed, std::move(reason)}; }
    // For writers that answer with the file system's result.
    files::IoResult io() const { return ok() ? files::IoResult{} : files::IoResult::failure(reason); }
};

// The files that follow records by their bytes. Every edit names its follower; a writer of
// records nothing follows says so with none().
class Follower {
public:
    explicit Follower(files::RecordFollower* follower) : follower_(follower) { }
    static Follower none() { return Follower(nullptr); }
    files::RecordFollower* get() const { return follower_; }

private:
    files::RecordFollower* follower_;
};

// How a file that exists but cannot be read is reported: its reason alone, or with its name.
enum class UnreadableText { Reason, Named };

struct EditRequest {
    std::vector<std::string> files; // read under the lock; written in this order
    Follower follower;
    std::vector<LineRef> unchanged; // lines that must still be where the reader saw them
    UnreadableText unreadable = UnreadableText::Reason;
};

// The files of one edit as read, and what the change does to them. A line is named by the
// LineRef of the file as read, whatever else the change did before.
class EditFiles {
public:
    explicit EditFiles(std::vector<std::pair<std::string, std::vector<std::string>>> read);

    const std::vector<std::string>& lines(const std::string& path) const;
    bool holds(const LineRef& ref) const;
    // The record at its place, else the first line with its text (identical lines are the same
    // record); nothing when it is gone.
    std::optional<LineRef> find(const LineRef& ref) const;

    // A new record: counted last among its equals, so nothing needs to follow it.
    void add(const std::string& path, std::string line);
    void remove(const LineRef& ref);
    // Rewritten where it stands.
    void rewrite(const LineRef& ref, std::string line);
    // Taken out of its file and added to `path` (the same file or another).
    void move(const LineRef& ref, const std::string& path, std::string line);
    // The whole file, for files whose lines nothing follows.
    void replace(const std::string& path, std::vector<std::string> lines);
    // The file deleted, for files whose lines nothing follows (a file that is not there stays so).
    void erase(const std::string& path);

    // The new contents of every file changed, in the order read (nothing: deleted), and what
    // follows from them.
    struct Outcome {
        std::vector<std::pair<std::string, std::optional<std::vector<std::string>>>> files;
        std::vector<files::RecordChange> records;
    };
    Outcome outcome() const;

private:
    struct File {
        std::string path;
        std::vector<std::string> read;
        std::vector<bool> removed;
        std::vector<std::optional<std::string>> rewritten;
        std::vector<std::string> added;
        std::optional<std::vector<std::string>> replaced;
        bool erased = false;
        bool touched = false;
    };
    struct Step {
        LineRef from;
        std::optional<LineRef> to; // index -1: added, counted last among its equals
    };
    File& file(const std::string& path);
    const File& file(const std::string& path) const;
    std::vector<std::string> finalLines(const File& file) const;
    std::vector<File> files_;
    std::vector<Step> steps_;
};

using Change = std::function<EditResult(EditFiles&)>;

EditResult edit(const EditRequest& request, const Change& change, files::FileOps& ops = files::systemFileOps());

// A file whose lines nothing follows, written whole under its folder's lock.
EditResult replaceFile(const std::string& path, std::vector<std::string> lines,
                       files::FileOps& ops = files::systemFileOps());

} // namespace kal::store
