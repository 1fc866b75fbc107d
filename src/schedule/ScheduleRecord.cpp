#include "schedule/ScheduleRecord.h"

#include "platform/ByteText.h"
#include "platform/NumberFormat.h"

#include <algorithm>

namespace kal {
namespace {

using store::kScheduleColumns;
using store::ScheduleField;

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

} // namespace

std::string ComposeSchedule(const ScheduleFields& f)
{
    std::string line = text::formatInt(f.day, 2, '0');
    line += kScheduleColumns.fit(ScheduleField::Start, f.start);
    line += kScheduleColumns.fit(ScheduleField::End, f.end);
    line += kScheduleColumns.fit(ScheduleField::Category, f.category);
    // Bold and italic give "3", bold "2", italic "1"; strike-out and underline likewise.
    line += styleCode(f.italic, f.bold, '3', '2', '1');
    line += styleCode(f.underline, f.strikeout, '3', '2', '1');
    line += f.sound ? '1' : '0';
    line += f.message ? '1' : '0';
    if (f.place.empty()) {
        line += f.title;
    } else {
        line += kScheduleColumns.fit(ScheduleField::Title, f.title);
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
    const std::string_view day = kScheduleColumns.view(line, ScheduleField::Day);
    if (day.size() < 2 || day[0] < '0' || day[0] > '9' || day[1] < '0' || day[1] > '9')
        return 0;
    const int value = (day[0] - '0') * 10 + (day[1] - '0');
    return value >= 1 && value <= 31 ? value : 0;
}

std::string RecStart(const std::string& line)
{
    return kScheduleColumns.get(line, ScheduleField::Start);
}
std::string RecEnd(const std::string& line)
{
    return kScheduleColumns.get(line, ScheduleField::End);
}
std::string RecCategory(std::string_view line)
{
    return kScheduleColumns.get(line, ScheduleField::Category);
}
char RecBoldItalic(const std::string& line)
{
    return kScheduleColumns.byte(line, ScheduleField::BoldItalic);
}
char RecUnderlineStrike(const std::string& line)
{
    return kScheduleColumns.byte(line, ScheduleField::UnderlineStrike);
}
bool RecSound(const std::string& line)
{
    return kScheduleColumns.byte(line, ScheduleField::Sound) == '1';
}
bool RecMessage(const std::string& line)
{
    return kScheduleColumns.byte(line, ScheduleField::Message) == '1';
}
std::string RecTitle(const std::string& line)
{
    return text::trimRight(kScheduleColumns.get(line, ScheduleField::Title));
}
std::string RecPlace(const std::string& line)
{
    return kScheduleColumns.get(line, ScheduleField::Place);
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

// A month file that cannot be read is named in the message.
store::EditRequest monthFiles(std::vector<std::string> paths, store::Follower follower,
                              std::vector<ScheduleRef> unchanged = {})
{
    return {std::move(paths), follower, std::move(unchanged), store::UnreadableText::Named};
}

bool stillThere(const std::vector<std::string>& lines, const ScheduleRef& ref)
{
    return ref.index >= 0 && ref.index < static_cast<int>(lines.size()) &&
           lines[static_cast<std::size_t>(ref.index)] == ref.line;
}

} // namespace

store::EditResult AddScheduleLines(const std::string& path, const std::vector<std::string>& newLines,
                                   files::FileOps& ops)
{
    return AddToMonthFiles({{path, newLines}}, ops);
}

store::EditResult AddToMonthFiles(const MonthAdditions& additions, files::FileOps& ops)
{
    std::vector<std::string> paths;
    for (const auto& [path, lines] : additions)
        paths.push_back(path);
    // A record added is counted last among its equals: no identity needs to follow it.
    return store::edit(
        monthFiles(std::move(paths), store::Follower::none()),
        [&](store::EditFiles& months) {
            for (const auto& [path, lines] : additions)
                for (const std::string& line : lines)
                    months.add(path, line);
            return store::EditResult{};
        },
        ops);
}

store::EditResult AddSchedule(const std::string& path, const std::string& line, files::FileOps& ops)
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

store::EditResult DeleteSchedule(const ScheduleRef& ref, store::Follower follower, files::FileOps& ops)
{
    return store::edit(
        monthFiles({ref.file}, follower, {ref}),
        [&](store::EditFiles& month) {
            month.remove(ref);
            return store::EditResult{};
        },
        ops);
}

store::EditResult CorrectSchedule(const ScheduleRef& ref, const std::string& newPath, const std::string& newLine,
                                  store::Follower follower, files::FileOps& ops)
{
    std::vector<std::string> paths = {ref.file};
    if (newPath != ref.file)
        paths.push_back(newPath);
    return store::edit(
        monthFiles(paths, follower),
        [&](store::EditFiles& months) {
            // A record that is no longer there removes nothing; the new line is still written.
            if (const std::optional<ScheduleRef> found = months.find(ref))
                months.move(*found, newPath, newLine);
            else
                months.add(newPath, newLine);
            return store::EditResult{};
        },
        ops);
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
