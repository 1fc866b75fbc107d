#include "store/Edit.h"

#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"

#include <algorithm>
#include <stdexcept>

namespace kal::store {
namespace {

std::size_t at(const LineRef& ref)
{
    return static_cast<std::size_t>(ref.index);
}

files::RecordPlace placeIn(const std::vector<std::string>& lines, const LineRef& ref)
{
    return files::RecordPlace{ref.file, lines[at(ref)], files::occurrenceAt(lines, at(ref))};
}

bool stillThere(const std::vector<std::string>& lines, const LineRef& ref)
{
    return ref.index >= 0 && at(ref) < lines.size() && lines[at(ref)] == ref.line;
}

std::string unreadableText(UnreadableText form, const std::string& path, const std::string& reason)
{
    if (form == UnreadableText::Named)
        return "「" + path + "」を読み込めません。\r\n" + reason;
    return reason;
}

std::vector<std::string> foldersOf(const std::vector<std::string>& paths)
{
    std::vector<std::string> folders;
    for (const std::string& path : paths)
        folders.push_back(files::folderOf(path));
    return folders;
}

// With nothing to follow, a file changed alone is simply saved and several are saved all or
// nothing (their reasons stand alone); everything else goes through the follower, all or nothing.
files::IoResult save(const EditFiles::Outcome& outcome, const Follower& follower, files::FileOps& ops)
{
    const bool nothingFollows = outcome.records.empty() && !follower.get();
    if (outcome.files.size() == 1 && nothingFollows) {
        const auto& [path, lines] = outcome.files.front();
        if (lines)
            return files::saveLines(path, *lines, ops);
        return files::fileExists(path) ? files::deleteFile(path, ops) : files::IoResult{};
    }
    std::vector<files::FileChange> changes;
    for (const auto& [path, lines] : outcome.files)
        changes.push_back({path, lines ? std::optional(files::joinLines(*lines)) : std::nullopt});
    const std::string folder = files::folderOf(changes.front().path);
    if (nothingFollows)
        return files::writeAllOrNothing(folder, changes, ops);
    return files::writeFollowed(folder, changes, outcome.records, follower.get(), ops);
}

} // namespace

EditFiles::EditFiles(std::vector<std::pair<std::string, std::vector<std::string>>> read)
{
    for (auto& [path, lines] : read) {
        File entry;
        entry.path = path;
        entry.removed.assign(lines.size(), false);
        entry.rewritten.resize(lines.size());
        entry.read = std::move(lines);
        files_.push_back(std::move(entry));
    }
}

EditFiles::File& EditFiles::file(const std::string& path)
{
    return const_cast<File&>(static_cast<const EditFiles*>(this)->file(path));
}

const EditFiles::File& EditFiles::file(const std::string& path) const
{
    auto found = std::find_if(files_.begin(), files_.end(), [&](const File& f) { return f.path == path; });
    if (found == files_.end())
        throw std::logic_error("a file outside the edit: " + path);
    return *found;
}

const std::vector<std::string>& EditFiles::lines(const std::string& path) const
{
    return file(path).read;
}

bool EditFiles::holds(const LineRef& ref) const
{
    return stillThere(lines(ref.file), ref);
}

std::optional<LineRef> EditFiles::find(const LineRef& ref) const
{
    if (holds(ref))
        return ref;
    const std::vector<std::string>& read = lines(ref.file);
    auto found = std::find(read.begin(), read.end(), ref.line);
    if (ref.line.empty() || found == read.end())
        return std::nullopt;
    return LineRef{ref.file, static_cast<int>(found - read.begin()), ref.line};
}

void EditFiles::add(const std::string& path, std::string line)
{
    File& target = file(path);
    target.added.push_back(std::move(line));
    target.touched = true;
}

void EditFiles::remove(const LineRef& ref)
{
    File& source = file(ref.file);
    if (source.removed.at(at(ref)))
        return;
    source.removed[at(ref)] = true;
    source.touched = true;
    steps_.push_back({ref, std::nullopt});
}

void EditFiles::rewrite(const LineRef& ref, std::string line)
{
    File& source = file(ref.file);
    source.rewritten.at(at(ref)) = line;
    source.touched = true;
    steps_.push_back({ref, LineRef{ref.file, ref.index, std::move(line)}});
}

void EditFiles::move(const LineRef& ref, const std::string& path, std::string line)
{
    File& source = file(ref.file);
    source.removed.at(at(ref)) = true;
    source.touched = true;
    add(path, line);
    steps_.push_back({ref, LineRef{path, -1, std::move(line)}});
}

void EditFiles::replace(const std::string& path, std::vector<std::string> lines)
{
    File& target = file(path);
    target.replaced = std::move(lines);
    target.touched = true;
}

void EditFiles::erase(const std::string& path)
{
    File& target = file(path);
    target.erased = true;
    target.touched = true;
}

std::vector<std::string> EditFiles::finalLines(const File& f) const
{
    if (f.replaced)
        return *f.replaced;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < f.read.size(); ++i)
        if (!f.removed[i])
            lines.push_back(f.rewritten[i] ? *f.rewritten[i] : f.read[i]);
    lines.insert(lines.end(), f.added.begin(), f.added.end());
    if (!f.added.empty())
        text::sortNoCase(lines);
    return lines;
}

EditFiles::Outcome EditFiles::outcome() const
{
    Outcome out;
    for (const File& f : files_)
        if (f.touched)
            out.files.emplace_back(f.path, f.erased ? std::nullopt : std::optional(finalLines(f)));
    const auto after = [&](const std::string& path) -> const std::vector<std::string>& {
        static const std::vector<std::string> none;
        const auto& lines =
            std::find_if(out.files.begin(), out.files.end(), [&](const auto& f) { return f.first == path; })->second;
        return lines ? *lines : none;
    };
    for (const Step& step : steps_) {
        files::RecordChange change{placeIn(lines(step.from.file), step.from), std::nullopt};
        if (step.to) {
            const File& target = file(step.to->file);
            const std::vector<std::string>& lines = after(step.to->file);
            int occurrence = files::lastOccurrence(lines, step.to->line);
            // Rewritten where it stood in a file that kept its order: counted at its own place.
            if (step.to->index >= 0 && target.added.empty() && !target.replaced) {
                const auto before = std::count(target.removed.begin(), target.removed.begin() + step.to->index, false);
                occurrence = files::occurrenceAt(lines, static_cast<std::size_t>(before));
            }
            change.to = files::RecordPlace{step.to->file, step.to->line, occurrence};
        }
        out.records.push_back(std::move(change));
    }
    return out;
}

EditResult edit(const EditRequest& request, const Change& change, files::FileOps& ops)
{
    files::FolderLock lock =
        files::lockFolders(files::followedFolders(foldersOf(request.files), request.follower.get()));
    if (!lock)
        return EditResult::failed(lock.reason());
    std::vector<std::pair<std::string, std::vector<std::string>>> read;
    for (const std::string& path : request.files) {
        files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
        if (!loaded.ok)
            return EditResult::failed(unreadableText(request.unreadable, path, loaded.reason));
        read.emplace_back(path, std::move(loaded.lines));
    }
    EditFiles editFiles(std::move(read));
    for (const LineRef& ref : request.unchanged)
        if (!editFiles.holds(ref))
            return EditResult::changed();
    EditResult result = change(editFiles);
    if (!result.ok())
        return result;
    const EditFiles::Outcome outcome = editFiles.outcome();
    if (outcome.files.empty())
        return result;
    if (files::IoResult saved = save(outcome, request.follower, ops); !saved)
        return EditResult::failed(saved.reason);
    result.written = true;
    return result;
}

EditResult replaceFile(const std::string& path, std::vector<std::string> lines, files::FileOps& ops)
{
    return edit(
        {{path}, Follower::none(), {}},
        [&](EditFiles& files) {
            files.replace(path, std::move(lines));
            return EditResult{};
        },
        ops);
}

} // namespace kal::store
