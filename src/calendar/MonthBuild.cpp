#include "calendar/MonthBuild.h"

#include "calendar/Holidays.h"
#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "settings/AppSettings.h"
#include "todo/TodoRecord.h"

#include <array>

namespace kal {
namespace {

// Buffers for the month files, kept from one build to the next so that a build allocates none.
constexpr std::size_t kKeptReadBuffer = std::size_t{256} << 10;
struct MonthFileReader {
    files::ReadResult read;
    std::vector<std::string_view> lines;
    std::vector<std::pair<CellPos, std::size_t>> shown; // the cell and index of each shown line
};

// The schedule lines of one month file on the cells `cellOf` gives their days (a column below
// 0: not shown). Every line is looked at: a file sorted elsewhere may hold shown days late.
template <typename CellOf>
void addMonthFile(const std::string& file, CellOf cellOf, MonthFileReader& reader, MonthBuild& build)
{
    files::readFileInto(file, reader.read);
    if (reader.read.status == files::ReadStatus::Unreadable)
        build.unreadable.push_back({file, reader.read.reason});
    files::splitLineViews(reader.read.bytes, reader.lines);
    reader.shown.clear();
    std::array<std::size_t, 42> added{};
    for (std::size_t i = 0; i < reader.lines.size(); ++i) {
        const int day = RecDay(reader.lines[i]);
        const CellPos pos = day == 0 ? CellPos{-1, 1} : cellOf(static_cast<std::size_t>(day));
        if (pos.column < 0)
            continue;
        reader.shown.emplace_back(pos, i);
        ++added[static_cast<std::size_t>((pos.row - 1) * 7 + pos.column)];
    }
    // Each cell's list grows once.
    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column)
            if (std::size_t count = added[static_cast<std::size_t>((row - 1) * 7 + column)]; count > 0)
                build.lists.at(column, row).reserve(build.lists.at(column, row).size() + count);
    const auto shared = std::make_shared<const std::string>(file);
    for (const auto& [pos, i] : reader.shown) {
        std::string text;
        text.reserve(reader.lines[i].size() + 1);
        text += '3';
        text += reader.lines[i];
        build.lists.add(pos.column, pos.row, CellLine{std::move(text), shared, static_cast<int>(i)});
    }
}

void addScheduleLines(const MonthBuildInput& in, MonthBuild& build)
{
    const MonthLayout& layout = build.layout;
    thread_local MonthFileReader reader;
    if (layout.prevShown)
        addMonthFile(
            MonthFilePath(in.dataPath, layout.prevYear, layout.prevMonth),
            [&](std::size_t day) {
                return CellPos{static_cast<int>(day) >= layout.firstLeadingDay ? layout.prevColumn[day] : -1, 1};
            },
            reader, build);
    addMonthFile(
        MonthFilePath(in.dataPath, in.year, in.month),
        [&](std::size_t day) {
            return CellPos{layout.currentColumn[day], layout.currentRow[day]};
        },
        reader, build);
    if (layout.nextShown)
        addMonthFile(
            MonthFilePath(in.dataPath, layout.nextYear, layout.nextMonth),
            [&](std::size_t day) {
                return static_cast<int>(day) <= layout.lastTrailingDay
                           ? CellPos{layout.nextColumn[day], layout.nextRow[day]}
                           : CellPos{-1, 1};
            },
            reader, build);
    // The buffer of an unusually large file is not kept.
    if (reader.read.bytes.capacity() > kKeptReadBuffer)
        reader = MonthFileReader();
}

} // namespace

std::string ExtraLineText(const ExtraSchedule& entry)
{
    std::string text = "4";
    if (!entry.allDay())
        text += entry.start + (entry.end.empty() ? "" : "-" + entry.end) + " ";
    return text + entry.title + KAL_SJIS("［") + entry.source + KAL_SJIS("］");
}

void ApplyExtraSchedules(ExtraSchedules& extras, MonthLayout& layout, DayCellLists& lists)
{
    const Date first = layout.firstCellDate();
    ExtraScheduleView view = extras.view(first, addDays(first, 41));
    // The entries come by date: a cell's index is counted once per day, not looked up per entry.
    const long long firstDay = toDayNumber(first);
    const auto forEachEntry = [&](const auto& take) {
        Date day{0, 0, 0};
        std::size_t cell = 0;
        for (const auto& stretch : view.stretches)
            for (const ExtraSchedule& entry : stretch) {
                if (entry.date != day) {
                    day = entry.date;
                    cell = static_cast<std::size_t>(toDayNumber(day) - firstDay);
                }
                if (cell < 42)
                    take(entry, static_cast<int>(cell % 7), static_cast<int>(cell / 7) + 1);
            }
    };
    // First the holidays and the room for the other lines, then those lines appended in place: by
    // start time ("HH:MM"), already in the order of a cell's lines.
    std::array<std::size_t, 42> added{};
    forEachEntry([&](const ExtraSchedule& entry, int column, int row) {
        if (entry.holiday) {
            layout.cell(column, row).kind = 0;
            lists.add(column, row, CellLine{"0" + entry.title});
        } else {
            ++added[static_cast<std::size_t>((row - 1) * 7 + column)];
        }
    });
    std::array<std::size_t, 42> own{};
    for (int i = 0; i < 42; ++i) {
        std::vector<CellLine>& list = lists.at(i % 7, i / 7 + 1);
        own[static_cast<std::size_t>(i)] = list.size();
        list.reserve(list.size() + added[static_cast<std::size_t>(i)]);
    }
    forEachEntry([&](const ExtraSchedule& entry, int column, int row) {
        if (entry.holiday)
            return;
        CellLine& line = lists.at(column, row).emplace_back();
        line.text.assign(1, '4').append(entry.start);
        line.extra = &entry;
    });
    for (int i = 0; i < 42; ++i)
        if (added[static_cast<std::size_t>(i)] > 0)
            lists.mergeAppended(i % 7, i / 7 + 1, own[static_cast<std::size_t>(i)]);
    lists.hold(std::move(view.lists));
}

void ApplyTodoLines(const std::vector<std::string>& todoLines, bool todoMarks, MonthLayout& layout, DayCellLists& lists)
{
    for (std::size_t i = 0; i < todoLines.size(); ++i) {
        const std::string& line = todoLines[i];
        const std::optional<Date> deadline = TodoDeadline(line);
        if (!TodoIsOpen(line) || !deadline || !IsTodoRecord(line))
            continue;
        CellPos pos;
        if (!layout.find(*deadline, pos))
            continue;
        lists.add(pos.column, pos.row, CellLine{"8" + line, {}, static_cast<int>(i)});
        if (todoMarks) {
            int& mark = layout.cell(pos.column, pos.row).mark;
            if (mark == 0)
                mark = 2;
            else if (mark == 1)
                mark = 3;
        }
    }
}

MonthBuildInput MonthBuildInputFrom(const AppSettings& settings, int year, int month, const Date& today,
                                    std::vector<std::string> todoLines)
{
    MonthBuildInput input;
    input.year = year;
    input.month = month;
    input.weekStart = settings.strWeek == 1 ? WeekStart::Monday : WeekStart::Sunday;
    input.today = today;
    input.calView = settings.calView;
    input.rikuyo = settings.rikuyo;
    input.dataPath = settings.dataPath;
    input.memoPath = settings.memoPath;
    input.todoLines = std::move(todoLines);
    return input;
}

MonthBuildInput MonthBuildInputFrom(const AppSettings& settings, int year, int month, const Date& today)
{
    std::vector<files::FileProblem> unreadable;
    std::vector<std::string> todoLines =
        files::loadLinesNoting(files::withSeparator(settings.todoPath) + kTodoFileName, unreadable);
    MonthBuildInput input = MonthBuildInputFrom(settings, year, month, today, std::move(todoLines));
    input.unreadable = std::move(unreadable);
    return input;
}

MonthBuild BuildMonth(const MonthBuildInput& in)
{
    MonthBuild build;
    build.unreadable = in.unreadable;
    MonthLayout& layout = build.layout;
    layout = BuildLayout(in.year, in.month, in.weekStart);
    const std::vector<bool> memos = in.calView.on(CalViewFlag::MemoMark)
                                        ? DayMemosExist(in.memoPath, layout.firstCellDate(), 42)
                                        : std::vector<bool>(42, false);
    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column) {
            DayCell& cell = layout.cell(column, row);
            cell.showRokuyo = RokuyoShown(in.rikuyo, cell.rokuyo);
            if (memos[static_cast<std::size_t>((row - 1) * 7 + column)])
                cell.mark = 1;
        }

    const std::string holidayPath = files::withSeparator(in.dataPath) + kHolidayFileName;
    const auto holidays = SharedHolidayRules(holidayPath);
    // A table that cannot be read gives no rules; only then is the file looked at again.
    if (holidays->rules().empty())
        files::loadLinesNoting(holidayPath, build.unreadable);
    ApplyHolidays(*holidays, layout, build.lists);
    ApplyTodoLines(in.todoLines, in.calView.on(CalViewFlag::TodoMark), layout, build.lists);

    addScheduleLines(in, build);
    if (in.extras)
        ApplyExtraSchedules(*in.extras, layout, build.lists);
    if (in.memoTexts)
        ReadMemoTexts(build, in.memoPath);
    return build;
}

void ReadMemoTexts(MonthBuild& build, const std::string& memoPath)
{
    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column)
            build.memoTexts[static_cast<std::size_t>((row - 1) * 7 + column)] =
                files::loadLinesNoting(MemoFilePath(memoPath, build.layout.dateOf(column, row)), build.unreadable);
    build.memoTextsRead = true;
}

CellPos SelectionAfterBuild(const MonthLayout& layout, int selectedDay, const CellPos& previous)
{
    if (selectedDay >= 1 && selectedDay <= 31 && layout.currentColumn[static_cast<std::size_t>(selectedDay)] >= 0)
        return CellPos{layout.currentColumn[static_cast<std::size_t>(selectedDay)],
                       layout.currentRow[static_cast<std::size_t>(selectedDay)]};
    return previous;
}

} // namespace kal
