#include "schedule/ScheduleRecord.h"

#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/FolderLock.h"
#include "platform/NumberFormat.h"
#include "platform/RecordFollower.h"

#include <algorithm>

namespace kal {
namespace {

char styleCode(bool first, bool second, char both, char onlySecond, char onlyFirst)
{
    if (first && second)
        return both;
    if (second)
        return onlySecond;
    if (first)
        return onlyFirst;
    return '0';
}

char byteAt(const std::string& line, std::size_t position)
{
    return line.size() >= position ? line[position - 1] : '\0';
}

} // namespace

std::string ComposeSchedule(const ScheduleFields& f)
{
    std::string line = text::formatInt(f.day, 2, '0');
    line += text::padCut(f.start, 5);
    line += text::padCut(f.end, 5);
    line += text::padCut(f.category, 14);
    // Bold and italic give "3", bold "2", italic "1"; strike-out and underline likewise.
    line += styleCode(f.italic, f.bold, '3', '2', '1');
    line += styleCode(f.underline, f.strikeout, '3', '2', '1');
    line += f.sound ? '1' : '0';
    line += f.message ? '1' : '0';
    if (f.place.empty()) {
        line += f.title;
    } else {
        line += text::padCut(f.title, 40);
        line += f.place;
    }
    return line;
}

bool IsScheduleRecord(const std::string& line)
{
    return RecDay(line) != 0;
}

int RecDay(std::string_view line)
{
    if (line.size() < 2 || line[0] < '0' || line[0] > '9' || line[1] < '0' || line[1] > '9')
        return 0;
    int day = (line[0] - '0') * 10 + (line[1] - '0');
    return day >= 1 && day <= 31 ? day : 0;
}

std::string RecStart(const std::string& line)
{
    return text::field(line, 3, 5);
}
std::string RecEnd(const std::string& line)
{
    return text::field(line, 8, 5);
}
std::string RecCategory(std::string_view line)
{
    return text::field(line, 13, 14);
}
char RecBoldItalic(const std::string& line)
{
    return byteAt(line, 27);
}
char RecUnderlineStrike(const std::string& line)
{
    return byteAt(line, 28);
}
bool RecSound(const std::string& line)
{
    return byteAt(line, 29) == '1';
}
bool RecMessage(const std::string& line)
{
    return byteAt(line, 30) == '1';
}
std::string RecTitle(const std::string& line)
{
    return text::trimRight(text::field(line, 31, 40));
}
std::string RecPlace(const std::string& line)
{
    return text::fieldToEnd(line, 71);
}

ScheduleFields ReadSchedule(const std::string& line)
{
    ScheduleFields f;
    f.day = RecDay(line);
    f.start = text::trimRight(RecStart(line));
    f.end = text::trimRight(RecEnd(line));
    f.category = text::trimRight(RecCategory(line));
    char style = RecBoldItalic(line), lines = RecUnderlineStrike(line);
    f.bold = StyleBold(style);
    f.italic = StyleItalic(style);
    f.underline = StyleUnderline(lines);
    f.strikeout = StyleStrikeout(lines);
    f.sound = RecSound(line);
    f.message = RecMessage(line);
    f.title = RecTitle(line);
    f.place = RecPlace(line);
    return f;
}

std::string MonthFileName(int year, int month)
{
    return text::formatInt(year, 4, '0') + text::formatInt(month, 2, '0') + ".sch";
}

std::string MonthFilePath(const std::string& dataPath, int year, int month)
{
    return files::withSeparator(dataPath) + MonthFileName(year, month);
}

std::vector<std::string> LoadMonthFile(const std::string& path)
{
    return files::loadLines(path);
}

namespace {

ScheduleResult failed(files::IoResult io)
{
    if (!io)
        return ScheduleResult{ScheduleWrite::WriteFailed, io.reason};
    return {};
}

// The lines of a month file about to be changed, or why it cannot be read.
ScheduleResult loadForChange(const std::string& path, std::vector<std::string>& lines)
{
    files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
    if (!loaded.ok)
        return ScheduleResult{ScheduleWrite::WriteFailed, "「" + path + "」を読み込めません。\r\n" + loaded.reason};
    lines = std::move(loaded.lines);
    return {};
}

bool stillThere(const std::vector<std::string>& lines, const ScheduleRef& ref)
{
    return ref.lineIndex >= 0 && ref.lineIndex < static_cast<int>(lines.size()) &&
           lines[static_cast<std::size_t>(ref.lineIndex)] == ref.line;
}

// Removes the record at `ref`, or the first line with its text when the file changed meanwhile
// (identical lines are the same record); nothing when it is gone. Gives where it stood.
std::optional<files::RecordPlace> removeRecord(std::vector<std::string>& lines, const ScheduleRef& ref)
{
    std::size_t index = static_cast<std::size_t>(ref.lineIndex);
    if (!stillThere(lines, ref)) {
        auto it = std::find(lines.begin(), lines.end(), ref.line);
        if (ref.line.empty() || it == lines.end())
            return std::nullopt;
        index = static_cast<std::size_t>(it - lines.begin());
    }
    files::RecordPlace place{ref.file, lines[index], files::occurrenceAt(lines, index)};
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
    return place;
}

// The records a correction moved: the one removed, now at `newLine` among `newLines`.
std::vector<files::RecordChange> corrected(const std::optional<files::RecordPlace>& removed, const std::string& newPath,
                                           const std::vector<std::string>& newLines, const std::string& newLine)
{
    if (!removed)
        return {};
    return {{*removed, files::RecordPlace{newPath, newLine, files::lastOccurrence(newLines, newLine)}}};
}

} // namespace

ScheduleResult LinesWithAdded(const std::string& path, const std::vector<std::string>& newLines,
                              std::vector<std::string>& lines)
{
    if (ScheduleResult loaded = loadForChange(path, lines); !loaded.ok())
        return loaded;
    lines.insert(lines.end(), newLines.begin(), newLines.end());
    text::sortNoCase(lines);
    return {};
}

ScheduleResult AddScheduleLines(const std::string& path, const std::vector<std::string>& newLines, files::FileOps& ops)
{
    files::FolderLock lock = files::lockFolderOf(path);
    if (!lock)
        return ScheduleResult{ScheduleWrite::WriteFailed, lock.reason()};
    std::vector<std::string> lines;
    if (ScheduleResult loaded = LinesWithAdded(path, newLines, lines); !loaded.ok())
        return loaded;
    return failed(files::saveLines(path, lines, ops));
}

ScheduleResult AddSchedule(const std::string& path, const std::string& line, files::FileOps& ops)
{
    return AddScheduleLines(path, {line}, ops);
}

bool ScheduleStillThere(const ScheduleRef& ref)
{
    return stillThere(LoadMonthFile(ref.file), ref);
}

RecordCheck CheckSchedule(const ScheduleRef& ref)
{
    files::LoadForUpdate loaded = files::loadLinesForUpdate(ref.file);
    if (!loaded.ok || stillThere(loaded.lines, ref))
        return RecordCheck::Found;
    const bool elsewhere = std::find(loaded.lines.begin(), loaded.lines.end(), ref.line) != loaded.lines.end();
    return elsewhere ? RecordCheck::Changed : RecordCheck::Gone;
}

ScheduleResult DeleteSchedule(const ScheduleRef& ref, files::RecordFollower* follower, files::FileOps& ops)
{
    files::FolderLock lock = files::lockFolders(files::followedFolders({files::folderOf(ref.file)}, follower));
    if (!lock)
        return ScheduleResult{ScheduleWrite::WriteFailed, lock.reason()};
    std::vector<std::string> lines;
    if (ScheduleResult loaded = loadForChange(ref.file, lines); !loaded.ok())
        return loaded;
    if (!stillThere(lines, ref))
        return ScheduleResult{ScheduleWrite::Changed, {}};
    const std::optional<files::RecordPlace> removed = removeRecord(lines, ref);
    return failed(files::writeFollowed(files::folderOf(ref.file), {{ref.file, files::joinLines(lines)}},
                                       {{*removed, std::nullopt}}, follower, ops));
}

ScheduleResult CorrectSchedule(const ScheduleRef& ref, const std::string& newPath, const std::string& newLine,
                               files::RecordFollower* follower, files::FileOps& ops)
{
    files::FolderLock lock =
        files::lockFolders(files::followedFolders({files::folderOf(ref.file), files::folderOf(newPath)}, follower));
    if (!lock)
        return ScheduleResult{ScheduleWrite::WriteFailed, lock.reason()};
    std::vector<std::string> oldLines;
    if (ScheduleResult loaded = loadForChange(ref.file, oldLines); !loaded.ok())
        return loaded;
    const std::optional<files::RecordPlace> removed = removeRecord(oldLines, ref);
    if (newPath == ref.file) {
        oldLines.push_back(newLine);
        text::sortNoCase(oldLines);
        return failed(files::writeFollowed(files::folderOf(ref.file), {{ref.file, files::joinLines(oldLines)}},
                                           corrected(removed, newPath, oldLines, newLine), follower, ops));
    }
    std::vector<std::string> newLines;
    if (ScheduleResult loaded = LinesWithAdded(newPath, {newLine}, newLines); !loaded.ok())
        return loaded;
    return failed(files::writeFollowed(files::folderOf(newPath),
                                       {{ref.file, files::joinLines(oldLines)}, {newPath, files::joinLines(newLines)}},
                                       corrected(removed, newPath, newLines, newLine), follower, ops));
}

std::optional<std::pair<int, int>> MonthOfFile(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    // Only the name this program writes: "2024 3.sch" or a sync tool's "202403 (1).sch" is not
    // a month file.
    if (name.size() != 10 || name.compare(6, 4, ".sch") != 0 ||
        !std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int year = text::toIntOr(name.substr(0, 4), -1);
    int month = text::toIntOr(name.substr(4, 2), -1);
    if (month < 1 || month > 12)
        return std::nullopt;
    return std::make_pair(year, month);
}

} // namespace kal
