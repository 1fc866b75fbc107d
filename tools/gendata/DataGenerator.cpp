#include "DataGenerator.h"

#include "calendar/CalendarMath.h"
#include "memo/DayMemo.h"
#include "memo/Note.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/Categories.h"
#include "schedule/Repeat.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoRecord.h"
#include "todo/TodoStore.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <unistd.h>
#include <vector>

namespace kal::gendata {
namespace {

class UnflushedOps : public files::FileOps {
public:
    int open(const char* path, int flags, mode_t mode) override { return system().open(path, flags, mode); }
    ssize_t write(int fd, const void* data, std::size_t size) override { return system().write(fd, data, size); }
    int fsync(int) override { return 0; }
    int close(int fd) override { return system().close(fd); }
    int rename(const char* from, const char* to) override { return system().rename(from, to); }
    int unlink(const char* path) override { return system().unlink(path); }

private:
    static files::FileOps& system() { return files::systemFileOps(); }
};

// A plain write: the generator fills a scratch folder, so the temporary file, rename, folder
// flush and stale-temporary scan of saveBytes (which grows with the folder) are not needed.
files::IoResult writeGenerated(const std::string& path, const std::string& bytes, files::FileOps& ops)
{
    const int fd = ops.open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return files::IoResult::error(errno);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ops.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ops.close(fd);
            return files::IoResult::error(error);
        }
        done += static_cast<std::size_t>(n);
    }
    if (ops.close(fd) != 0)
        return files::IoResult::error(errno);
    return {};
}

files::IoResult writeGenerated(const std::string& path, const std::vector<std::string>& lines, files::FileOps& ops)
{
    return writeGenerated(path, files::joinLines(lines), ops);
}

std::string sj(const char* utf8)
{
    return sjis::fromUtf8Lossy(utf8);
}

struct Vocabulary {
    std::vector<std::string> categories{sj("仕事"), sj("会議"), sj("私用"), sj("通院"), sj("家族")};
    std::vector<std::string> titles{
        sj("定例会議と打ち合わせ"), sj("顧客訪問"),     sj("企画書の締め切り"), sj("歯医者"),
        sj("誕生日の準備"),         sj("出張（大阪）"), sj("研修会"),           sj("Weekly review")};
    std::vector<std::string> places{"", sj("本社第二会議室"), sj("新宿支店"), sj("駅前クリニック"), "Zoom"};
    std::vector<std::string> times{"", "09:00", "09:30", "10:00", "13:00", "14:30", "16:00", "18:30"};
};

using MonthLines = std::map<std::pair<int, int>, std::vector<std::string>>;

ScheduleFields oneSchedule(const Vocabulary& v, int i, int day)
{
    ScheduleFields f;
    f.day = day;
    f.start = v.times[static_cast<std::size_t>(i) % v.times.size()];
    if (!f.start.empty() && i % 3 != 0)
        f.end = i % 2 ? "17:00" : "19:00";
    f.category = i % 4 == 3 ? "" : v.categories[static_cast<std::size_t>(i) % v.categories.size()];
    f.title = v.titles[static_cast<std::size_t>(i * 7) % v.titles.size()];
    f.place = v.places[static_cast<std::size_t>(i) % v.places.size()];
    f.bold = i % 9 == 0;
    f.sound = f.message = i % 6 == 0;
    return f;
}

// A weekly meeting every Monday and a monthly one on the 25th, as the repeat dialog writes them.
void addRepeats(const Vocabulary& v, const DataShape& shape, MonthLines& months)
{
    const RepeatPeriod period{Date{shape.firstYear, 1, 1}, Date{shape.firstYear + shape.years - 1, 12, 31}};
    RepeatRule weekly;
    weekly.pattern = RepeatPattern::ByWeekday;
    weekly.weekday = 1;
    RepeatRule monthly;
    monthly.pattern = RepeatPattern::MonthlyOnDay;
    monthly.dayOfMonth = 25;
    int i = 0;
    for (const RepeatRule& rule : {weekly, monthly})
        for (const Date& date : RepeatDates(rule, period)) {
            ScheduleFields f = oneSchedule(v, 1, date.day);
            f.title = v.titles[static_cast<std::size_t>(i)];
            f.category = v.categories[1];
            months[{date.year, date.month}].push_back(ComposeSchedule(f));
            ++i;
            i %= 2;
        }
}

std::vector<std::string> sorted(std::vector<std::string> lines)
{
    text::sortNoCase(lines);
    return lines;
}

GenerateResult failed(const std::string& path, const files::IoResult& io)
{
    return GenerateResult{false, path + ": " + io.reason};
}

GenerateResult writeSchedules(const std::string& folder, const DataShape& shape, const Vocabulary& v,
                              files::FileOps& ops)
{
    MonthLines months;
    addRepeats(v, shape, months);
    int i = 0;
    for (int year = shape.firstYear; year < shape.firstYear + shape.years; ++year)
        for (int month = 1; month <= 12; ++month) {
            std::vector<std::string>& lines = months[{year, month}];
            const int days = DaysInMonth(year, month);
            while (static_cast<int>(lines.size()) < shape.schedulesPerMonth) {
                lines.push_back(ComposeSchedule(oneSchedule(v, i, 1 + (i * 11) % days)));
                ++i;
            }
        }
    for (const auto& [month, lines] : months) {
        const std::string path = MonthFilePath(folder, month.first, month.second);
        if (auto io = writeGenerated(path, sorted(lines), ops); !io)
            return failed(path, io);
    }
    return {};
}

GenerateResult writeMemos(const std::string& folder, const DataShape& shape, files::FileOps& ops)
{
    const std::vector<std::string> lines{sj("今日の出来事：打ち合わせの議事録を送った。"), sj("明日は朝一番に電話")};
    for (int year = shape.firstYear; year < shape.firstYear + shape.years; ++year) {
        const int days = isLeapYear(year) ? 366 : 365;
        for (int n = 0; n < shape.memosPerYear && n < days; ++n) {
            const Date date = addDays(Date{year, 1, 1}, static_cast<long long>(n) * days / shape.memosPerYear);
            const std::string path = MemoFilePath(folder, date);
            if (auto io = writeGenerated(path, lines, ops); !io)
                return failed(path, io);
        }
    }
    return {};
}

} // namespace

std::vector<std::string> TodoLines(const DataShape& shape)
{
    const Vocabulary v;
    const Date last{shape.firstYear + shape.years - 1, 12, 1};
    std::vector<std::string> lines;
    for (int i = 0; i < shape.todoEntries; ++i) {
        TodoFields f;
        if (i % 7 != 0)
            f.deadline = addDays(last, i % 120 - 60);
        f.priority = i % 4;
        f.progress = i % 11;
        f.done = i % 4 == 0;
        f.doneDate = Date{last.year, 11, 1 + i % 30};
        f.category = i % 3 ? v.categories[static_cast<std::size_t>(i) % 3] : "";
        f.memoNumber = 1 + i % 99;
        f.title = v.titles[static_cast<std::size_t>(i) % v.titles.size()] + std::to_string(i);
        lines.push_back(ComposeTodo(f));
    }
    return lines;
}

namespace {

GenerateResult writeTodos(const std::string& folder, const DataShape& shape, files::FileOps& ops)
{
    const std::string path = TodoFilePath(folder);
    if (auto io = writeGenerated(path, TodoLines(shape), ops); !io)
        return failed(path, io);
    return {};
}

GenerateResult writeNotes(const std::string& folder, const DataShape& shape, files::FileOps& ops)
{
    std::vector<std::string> titles;
    for (int i = 1; i <= shape.notes; ++i) {
        titles.push_back(sj("ノート") + std::to_string(i));
        const std::string path = NoteFilePath(folder, titles.back());
        if (auto io = writeGenerated(path, {sj("買い物リスト"), sj("・牛乳"), "http://example.com/"}, ops); !io)
            return failed(path, io);
    }
    if (auto io = SaveNoteList(folder, titles, {}); !io)
        return failed(NoteListPath(folder), io);
    return {};
}

GenerateResult writeTables(const std::string& folder, const std::string& holidayTable, const Vocabulary& v,
                           files::FileOps& ops)
{
    const std::optional<std::string> holidays = files::readBytes(holidayTable);
    if (!holidays)
        return GenerateResult{false, holidayTable + ": cannot be read"};
    const std::string holidayPath = folder + "Holiday.dat";
    if (auto io = writeGenerated(holidayPath, *holidays, ops); !io)
        return failed(holidayPath, io);
    std::vector<std::string> categories;
    for (const std::string& name : v.categories)
        categories.push_back(text::padCut(name, 14) + "1");
    const std::string categoryPath = folder + kCategoryFileName;
    if (auto io = writeGenerated(categoryPath, categories, ops); !io)
        return failed(categoryPath, io);
    return {};
}

} // namespace

GenerateResult GenerateData(const std::string& folderPath, const DataShape& shape, const std::string& holidayTable,
                            files::FileOps& ops)
{
    const std::string folder = files::withSeparator(folderPath);
    const Vocabulary v;
    GenerateResult result = writeTables(folder, holidayTable, v, ops);
    if (result.ok)
        result = writeSchedules(folder, shape, v, ops);
    if (result.ok)
        result = writeMemos(folder, shape, ops);
    if (result.ok)
        result = writeTodos(folder, shape, ops);
    if (result.ok)
        result = writeNotes(folder, shape, ops);
    return result;
}

files::FileOps& unflushedFileOps()
{
    static UnflushedOps ops;
    return ops;
}

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
}

} // namespace kal::gendata
