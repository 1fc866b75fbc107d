// The identity files of the program folder: read whole or for some data files, written as one
// change with the data, and Identity.dat split into them.
#include "exchange/RecordIdentities.h"

#include "platform/Files.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>

namespace kal {
namespace {

constexpr std::string_view kEntryFilePrefix = "Identity-", kEntryFileSuffix = ".dat";

bool isEntryFileName(std::string_view name)
{
    return name.size() >= kEntryFilePrefix.size() + kEntryFileSuffix.size() && name.starts_with(kEntryFilePrefix) &&
           name.ends_with(kEntryFileSuffix) && !files::isTemporaryName(name);
}

std::string nameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

// Reads the identity files `names` of `programFolder` into `file`, in turn.
void readInto(IdentityFile& file, const std::string& programFolder, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        const std::string path = files::withSeparator(programFolder) + name;
        files::LoadForUpdate loaded = files::loadLinesForUpdate(path, kMaxIdentityFileBytes);
        if (!loaded.ok) {
            file.ok = false;
            file.reason = "「" + path + "」を読み込めません。\r\n" + loaded.reason;
            return;
        }
        file.table.read(name, loaded.lines);
        file.paths.push_back(path);
    }
}

} // namespace

std::string identityFilePath(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + kIdentityFileName;
}

std::vector<std::string> identityFileNames(const std::string& programFolder)
{
    std::vector<std::string> names = files::listNames(files::withSeparator(programFolder), isEntryFileName);
    std::sort(names.begin(), names.end());
    return names;
}

IdentityFile loadIdentities(const std::string& programFolder)
{
    // Identity.dat first: a split moves entries into the entry files before it takes them out of
    // Identity.dat, so a reader without the lock finds each one at least once, and only once.
    std::vector<std::string> names = identityFileNames(programFolder);
    names.insert(names.begin(), kIdentityFileName);
    IdentityFile file;
    readInto(file, programFolder, names);
    return file;
}

IdentityFile loadIdentitiesOf(const std::string& programFolder, const std::set<std::string>& recordFiles)
{
    std::set<std::string> names;
    for (const std::string& recordFile : recordFiles)
        names.insert(identityFileNameOf(recordFile));
    IdentityFile file;
    readInto(file, programFolder, {names.begin(), names.end()});
    return file;
}

IdentityChange identityChange(const std::string& programFolder, const IdentityTable& table)
{
    IdentityChange out;
    for (const auto& [name, lines] : table.changedFiles()) {
        const std::string path = files::withSeparator(programFolder) + name;
        if (lines.empty()) {
            out.changes.push_back(files::FileChange{path, std::nullopt, kMaxIdentityFileBytes});
            continue;
        }
        std::string bytes = files::joinLines(lines);
        if (bytes.size() > kMaxIdentityFileBytes) {
            out.result = files::IoResult::failure(name + ": " + files::systemErrorText(files::kFileTooLarge));
            out.changes.clear();
            return out;
        }
        out.changes.push_back(files::FileChange{path, std::move(bytes), kMaxIdentityFileBytes});
    }
    return out;
}

files::IoResult splitIdentityFile(const std::string& programFolder, files::FileOps& ops)
{
    const std::string legacyPath = identityFilePath(programFolder);
    const files::LoadForUpdate legacy = files::loadLinesForUpdate(legacyPath, kMaxIdentityFileBytes);
    if (!legacy.ok)
        return files::IoResult::failure("「" + legacyPath + "」を読み込めません。\r\n" + legacy.reason);
    IdentityTable legacyTable(legacy.lines);
    std::set<std::string> recordFiles;
    for (const RecordIdentity* identity : legacyTable.all())
        recordFiles.insert(identity->key.file);
    if (recordFiles.empty())
        return {};
    IdentityFile file = loadIdentitiesOf(programFolder, recordFiles);
    if (!file.ok)
        return files::IoResult::failure(file.reason);
    file.table.read(kIdentityFileName, legacy.lines);
    file.table.moveToOwnFiles();
    IdentityChange split = identityChange(programFolder, file.table);
    if (!split.result)
        return split.result;
    std::stable_partition(split.changes.begin(), split.changes.end(),
                          [&](const files::FileChange& change) { return change.path != legacyPath; });
    // One file at a time: Identity.dat may be larger than one change of several files may be.
    for (const files::FileChange& change : split.changes) {
        if (change.bytes) {
            if (files::IoResult saved = files::saveBytesWithin(change.path, *change.bytes, change.maxBytes, ops);
                !saved)
                return saved;
            continue;
        }
        // Removed only where it could have been replaced: a file made read-only stays.
        if (files::IoResult removable = files::checkReplaceable(change.path, change.maxBytes); !removable)
            return removable;
        if (ops.unlink(change.path.c_str()) != 0)
            return files::IoResult::failure(change.path + ": " + files::systemErrorText(errno));
    }
    return {};
}

namespace {

// The lines each changed file holds once `changes` are made (read under the writer's lock):
// what another program removed from it meanwhile shows here.
std::map<std::string, std::vector<std::string>> linesAfter(const std::vector<files::RecordChange>& changes)
{
    std::map<std::string, std::vector<std::string>> after;
    std::set<std::string> unreadable;
    const auto read = [&](const std::string& path) {
        files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
        if (!loaded.ok)
            unreadable.insert(path);
        after.emplace(path, std::move(loaded.lines));
    };
    for (const files::RecordChange& change : changes) {
        read(change.from.path);
        if (change.to)
            read(change.to->path);
    }
    for (const files::RecordChange& change : changes) {
        std::vector<std::string>& from = after[change.from.path];
        if (const auto at = std::find(from.begin(), from.end(), change.from.line); at != from.end())
            from.erase(at);
        if (change.to)
            after[change.to->path].push_back(change.to->line);
    }
    // A file that cannot be read tells nothing of what it holds.
    for (const std::string& path : unreadable)
        after.erase(path);
    return after;
}

} // namespace

IdentityFollower::IdentityFollower(std::string programFolder) : programFolder_(std::move(programFolder)) { }

files::FollowerChanges IdentityFollower::follow(const std::vector<files::RecordChange>& changes)
{
    files::FollowerChanges out;
    if (out.result = splitIdentityFile(programFolder_); !out.result)
        return out;
    std::set<std::string> recordFiles;
    for (const files::RecordChange& change : changes) {
        recordFiles.insert(nameOf(change.from.path));
        if (change.to)
            recordFiles.insert(nameOf(change.to->path));
    }
    IdentityFile file = loadIdentitiesOf(programFolder_, recordFiles);
    if (!file.ok) {
        out.result = files::IoResult::failure(file.reason);
        return out;
    }
    // Removals made here are the user's: the sync sends them on.
    file.table.follow(changes, IdentityTable::SyncedRemoval::Mark);
    for (const auto& [path, lines] : linesAfter(changes))
        file.table.forgetGone(nameOf(path), lines);
    IdentityChange change = identityChange(programFolder_, file.table);
    out.result = change.result;
    out.changes = std::move(change.changes);
    return out;
}

} // namespace kal
