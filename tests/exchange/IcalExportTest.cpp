// Writing schedules and ToDo entries as iCalendar, and reading the file back into an empty folder.
#include "exchange/IcalExport.h"
#include "exchange/IcalImport.h"
#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"
#include "todo/TodoMemo.h"
#include "todo/TodoRecord.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

std::string timedLine(int day, const char* start, const char* end, const char* title, const char* place,
                      const char* category, bool alarm)
{
    ScheduleFields f;
    f.day = day;
    f.start = start;
    f.end = end;
    f.title = sj(title);
    f.place = sj(place);
    f.category = sj(category);
    f.sound = f.message = alarm;
    return ComposeSchedule(f);
}

std::string todoLine(std::optional<Date> deadline, int priority, int progress, bool done, int memo, const char* title,
                     const char* category = "")
{
    TodoFields f;
    f.deadline = deadline;
    f.priority = priority;
    f.progress = progress;
    f.done = done;
    f.doneDate = {2026, 5, 2};
    f.category = sj(category);
    f.memoNumber = memo;
    f.title = sj(title);
    return ComposeTodo(f);
}

// A folder with May 2026 and a ToDo list, the kind of data every test exports.
struct Source {
    TempFolder dir;
    std::vector<std::string> may, june, todos, memos;
    Source()
    {
        may = {timedLine(1, "", "", "メーデー", "", "", false),
               timedLine(9, "09:00", "10:30", "朝会, 定例", "会議室A", "仕事", true),
               timedLine(9, "09:00", "10:30", "朝会, 定例", "会議室A", "仕事", true),
               timedLine(20, "23:00", "", "夜行", "", "", false)};
        june = {timedLine(1, "12:00", "13:00", "6月", "", "", false),
                timedLine(2, "", "10:00", "終", "", "", false),
                timedLine(3, "22:00", "02:00", "夜勤", "", "仕事,重要;至急", true),
                timedLine(10, "10:00", "", "合宿", "", "", false),
                timedLine(11, "", "15:00", "合宿", "", "", false),
                timedLine(20, "12:00", "13:00", "6月", "", "", false)};
        todos = {todoLine(Date{2026, 5, 20}, 0, 3, false, 1, "報告書", "仕事"),
                 todoLine(std::nullopt, 3, 10, true, 0, "済み")};
        memos = {ComposeTodoMemo(1, {sj("一行目"), sj("二行目, 続き")})};
        dir.write("202605.sch", crlf(may));
        dir.write("202606.sch", crlf(june));
        dir.write("ToDo.dat", crlf(todos));
        dir.write("ToDoMemo.dat", crlf(memos));
    }
    IcalExportRequest request(Date from = {2026, 5, 1}, Date to = {2026, 5, 31}) const
    {
        return IcalExportRequest{dir.path(), dir.path(), from, to, true, 10, dir.path()};
    }
};

std::size_t countOf(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(IcalExport, EveryFieldIsWrittenAndTheFileIsStable)
{
    Source source;
    IcalExportData data;
    IdentityTable identities;
    ASSERT_TRUE(loadIcalExportData(source.request(), data, identities).ok);
    ASSERT_EQ(data.records.size(), 4u) << "June stays out of May's export";
    ASSERT_EQ(data.todos.size(), 2u);
    data.stamp = DateTime{{2026, 5, 2}, 3, 4, 5};
    const std::string ics = composeIcalendar(data);

    const char* const expected[] = {"BEGIN:VCALENDAR",
                                    "VERSION:2.0",
                                    "BEGIN:VTIMEZONE",
                                    "TZID:Asia/Tokyo",
                                    "DTSTART;VALUE=DATE:20260501",
                                    "DTEND;VALUE=DATE:20260502",
                                    "SUMMARY:メーデー",
                                    "DTSTART;TZID=Asia/Tokyo:20260509T090000",
                                    "DTEND;TZID=Asia/Tokyo:20260509T103000",
                                    "SUMMARY:朝会\\, 定例",
                                    "LOCATION:会議室A",
                                    "CATEGORIES:仕事",
                                    "TRIGGER:-PT10M",
                                    "ACTION:AUDIO",
                                    "ACTION:DISPLAY",
                                    "DTSTAMP:20260502T030405Z",
                                    "BEGIN:VTODO",
                                    "DUE;VALUE=DATE:20260520",
                                    "PRIORITY:1",
                                    "PERCENT-COMPLETE:30",
                                    "STATUS:IN-PROCESS",
                                    "DESCRIPTION:一行目\\n二行目\\, 続き",
                                    "PRIORITY:7",
                                    "PERCENT-COMPLETE:100",
                                    "STATUS:COMPLETED",
                                    "COMPLETED:20260501T150000Z",
                                    "END:VCALENDAR"};
    for (const char* line : expected)
        EXPECT_NE(ics.find(std::string(line) + "\r\n"), std::string::npos) << line;
    EXPECT_EQ(countOf(ics, "BEGIN:VEVENT"), 4u);
    EXPECT_EQ(countOf(ics, "BEGIN:VALARM"), 4u) << "two flags on each of the two alarmed records";
    EXPECT_EQ(countOf(ics, "UID:"), 6u);
    EXPECT_EQ(ics.find("DTEND;TZID=Asia/Tokyo:20260520"), std::string::npos) << "no end time, no DTEND";

    IcalExportData again;
    ASSERT_TRUE(loadIcalExportData(source.request(), again, identities).ok);
    again.stamp = data.stamp;
    EXPECT_EQ(composeIcalendar(again), ics) << "exporting twice with the identities kept gives the same file";
    // Identical records still get UIDs of their own.
    std::vector<std::string> uids;
    for (std::size_t at = ics.find("UID:"); at != std::string::npos; at = ics.find("UID:", at + 1))
        uids.push_back(ics.substr(at, ics.find("\r\n", at) - at));
    std::sort(uids.begin(), uids.end());
    EXPECT_EQ(std::adjacent_find(uids.begin(), uids.end()), uids.end());
}

TEST(IcalExport, WritesTheFileAndReportsFailures)
{
    Source source;
    const IcalExportResult written = exportIcal(source.request(), source.dir.file("out.ics"));
    ASSERT_TRUE(written.ok) << written.message;
    EXPECT_EQ(written.message, "4 件のスケジュールデータと 2 件のToDoを保存しました。");
    EXPECT_TRUE(source.dir.exists("out.ics"));

    IcalExportRequest noTodos = source.request();
    noTodos.withTodos = false;
    EXPECT_EQ(exportIcal(noTodos, source.dir.file("s.ics")).todos, 0);

    const IcalExportResult refused = exportIcal(source.request(), source.dir.path() + "missing/out.ics");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("missing/out.ics"), std::string::npos);

    ASSERT_TRUE(files::createFolders(source.dir.path() + "sub/202605.sch"));
    IcalExportRequest unreadable = source.request();
    unreadable.dataPath = source.dir.path() + "sub/";
    EXPECT_FALSE(exportIcal(unreadable, source.dir.file("u.ics")).ok);
}

TEST(IcalExport, RoundTripIntoAnEmptyFolderReproducesTheData)
{
    Source source;
    IcalExportData data;
    IdentityTable identities;
    ASSERT_TRUE(loadIcalExportData(source.request({2026, 5, 1}, {2026, 6, 30}), data, identities).ok);
    const std::string ics = composeIcalendar(data);

    TempFolder empty;
    const Date today{2026, 5, 2};
    IcalImportRequest request{ics, today, {2027, 5, 1}, today, {false, true}, empty.path(), empty.path(), empty.path()};
    const IcalImportOutcome imported = runIcalImport(request, ImportRun::Execute);
    ASSERT_TRUE(imported.outcome.ok()) << imported.outcome.message;
    EXPECT_EQ(empty.read("202605.sch"), crlf(source.may));
    EXPECT_EQ(empty.read("202606.sch"), crlf(source.june));
    EXPECT_EQ(empty.read("ToDo.dat"), crlf(source.todos));
    EXPECT_EQ(empty.read("ToDoMemo.dat"), crlf(source.memos));
}

TEST(IcalExport, StoredTimesBecomeStartAndEndOrAnAllDayEvent)
{
    struct Case {
        const char* start;
        const char* end;
        const char* dtstart;
        const char* dtend; // empty: none written
    };
    const Case cases[] = {
        {"9:05", "10:00", "DTSTART;TZID=Asia/Tokyo:20260509T090500", "DTEND;TZID=Asia/Tokyo:20260509T100000"},
        {"09:00", "08:00", "DTSTART;TZID=Asia/Tokyo:20260509T090000", "DTEND;TZID=Asia/Tokyo:20260510T080000"},
        {"23:00", "01:00", "DTSTART;TZID=Asia/Tokyo:20260509T230000", "DTEND;TZID=Asia/Tokyo:20260510T010000"},
        {"", "10:00", "DTSTART;TZID=Asia/Tokyo:20260509T000000", "DTEND;TZID=Asia/Tokyo:20260509T100000"},
        {"09:00", "xx", "DTSTART;TZID=Asia/Tokyo:20260509T090000", ""},
        {"24:00", "", "DTSTART;VALUE=DATE:20260509", "DTEND;VALUE=DATE:20260510"},
        {"ab:cd", "10:00", "DTSTART;VALUE=DATE:20260509", "DTEND;VALUE=DATE:20260510"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        IcalExportData data;
        data.records = {{2026, 5, timedLine(9, c.start, c.end, "x", "", "", false), "u", 0}};
        const std::string ics = composeIcalendar(data);
        EXPECT_NE(ics.find(std::string(c.dtstart) + "\r\n"), std::string::npos) << ics;
        if (*c.dtend)
            EXPECT_NE(ics.find(std::string(c.dtend) + "\r\n"), std::string::npos) << ics;
        else
            EXPECT_EQ(ics.find("DTEND"), std::string::npos) << ics;
    }
    IcalExportData badDay;
    badDay.records = {{2026, 2, timedLine(30, "09:00", "", "x", "", "", false), "u", 0}};
    EXPECT_EQ(composeIcalendar(badDay).find("BEGIN:VEVENT"), std::string::npos) << "30 February is no day";
}

TEST(IcalExport, FileNamesNameTheMonthOrThePeriod)
{
    EXPECT_EQ(icalFileName({2026, 5, 1}, {2026, 5, 31}), "202605.ics");
    EXPECT_EQ(icalFileName({2026, 5, 2}, {2026, 5, 31}), "20260502-20260531.ics");
    EXPECT_EQ(icalFileName({2026, 1, 1}, {2026, 12, 31}), "20260101-20261231.ics");
}
