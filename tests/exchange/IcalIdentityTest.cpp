// Records keep their UIDs through .ics files: an export gives them out and keeps them, a
// correction raises the SEQUENCE, and an import matches by UID, so the program's own export or a
// later version of a file adds nothing and updates what changed.
#include "exchange/IcalExport.h"
#include "exchange/IcalImport.h"
#include "schedule/ScheduleRecord.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"
#include "todo/TodoRecord.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

const Date kToday{2026, 5, 1};

std::string exported(const TempFolder& home, const std::string& name)
{
    const IcalExportResult result =
        exportIcal({home.path(), home.path(), {2026, 5, 1}, {2026, 6, 30}, true, 10, home.path()}, home.file(name));
    EXPECT_TRUE(result.ok) << result.message;
    return home.read(name);
}

IcalImportOutcome imported(const TempFolder& home, const std::string& text, bool skipDuplicates = true)
{
    return runIcalImport(
        {text, kToday, {2026, 12, 31}, kToday, {skipDuplicates, true}, home.path(), home.path(), home.path()},
        ImportRun::Execute);
}

std::string valueOf(const std::string& ics, const std::string& name, std::size_t from = 0)
{
    const std::size_t at = ics.find("\r\n" + name + ":", from);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + name.size() + 3;
    return ics.substr(start, ics.find("\r\n", start) - start);
}

} // namespace

TEST(IcalIdentity, ACorrectedRecordKeepsItsUidAndALaterFileUpdatesIt)
{
    TempFolder here, there;
    const std::string before = plainScheduleLine(3, "09:00", "10:00", "朝会");
    here.write("202605.sch", crlf({before}));
    const std::string first = exported(here, "first.ics");
    const std::string uid = valueOf(first, "UID");
    EXPECT_EQ(uid.size(), 36u) << first;
    EXPECT_EQ(valueOf(first, "SEQUENCE"), "0");
    EXPECT_EQ(exported(here, "again.ics"), first) << "unchanged data, the same file";

    const std::string after = plainScheduleLine(4, "09:30", "10:00", "朝会（変更）");
    IdentityFollower follower(here.path());
    ASSERT_TRUE(CorrectSchedule({here.file("202605.sch"), 0, before}, here.file("202605.sch"), after,
                                store::Follower(&follower))
                    .ok());
    const std::string second = exported(here, "second.ics");
    EXPECT_EQ(valueOf(second, "UID"), uid);
    EXPECT_EQ(valueOf(second, "SEQUENCE"), "1");

    ASSERT_TRUE(imported(there, first).outcome.ok());
    const IcalImportOutcome later = imported(there, second, false);
    ASSERT_TRUE(later.outcome.ok()) << later.outcome.message;
    EXPECT_EQ(later.counts.schedules.records, 0);
    EXPECT_EQ(later.counts.updated, 1);
    EXPECT_NE(later.outcome.message.find("1 件のスケジュールデータを新しい内容に更新しました。"), std::string::npos);
    EXPECT_EQ(there.read("202605.sch"), crlf({after}));

    // The older file changes nothing back, and says why.
    const IcalImportOutcome older = imported(there, first, false);
    EXPECT_EQ(older.counts.olderInFile, 1);
    EXPECT_NE(older.outcome.message.find("1 件は手元の方が新しいため反映しませんでした。"), std::string::npos);
    EXPECT_EQ(there.read("202605.sch"), crlf({after}));
}

TEST(IcalIdentity, TheOwnExportComesBackWithoutAdditionsWhateverTheRecordsHold)
{
    TempFolder home, empty;
    const std::vector<std::string> may = {plainScheduleLine(2, "", "10:00", "終わりだけ"),
                                          plainScheduleLine(2, "23:00", "01:00", "夜勤"),
                                          plainScheduleLine(5, "", "", "同じ"), plainScheduleLine(5, "", "", "同じ"),
                                          scheduleLine(6, "08:00", sj("鳴る"), true, true)};
    home.write("202605.sch", crlf(may));
    home.write("ToDo.dat", crlf({"2026/05/2010502026/05/01              00Call"}));
    const std::string ics = exported(home, "own.ics");
    EXPECT_NE(ics.find("DTEND;TZID=Asia/Tokyo:20260503T010000"), std::string::npos) << "overnight ends next day";

    const IcalImportOutcome back = imported(home, ics, false);
    ASSERT_TRUE(back.outcome.ok()) << back.outcome.message;
    EXPECT_EQ(back.counts.schedules.records + back.counts.todos + back.counts.updated + back.counts.todosUpdated, 0)
        << back.outcome.message;
    EXPECT_EQ(home.read("202605.sch"), crlf(may));

    // Into an empty folder the end-only record keeps its empty start.
    ASSERT_TRUE(imported(empty, ics, false).outcome.ok());
    EXPECT_EQ(files::loadLines(empty.file("202605.sch")).front(), may.front());
}

TEST(IcalIdentity, ALaterVersionOfAForeignFileUpdatesOnlyWhatChanged)
{
    const auto calendar = [](const std::string& summary, const std::string& todoStatus) {
        return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
               "BEGIN:VEVENT\r\nUID:weekly\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20260504\r\n"
               "RRULE:FREQ=WEEKLY;COUNT=3\r\nSUMMARY:週次\r\nEND:VEVENT\r\n"
               "BEGIN:VEVENT\r\nUID:weekly\r\nDTSTAMP:20260101T000000Z\r\nRECURRENCE-ID;VALUE=DATE:20260511\r\n"
               "DTSTART;VALUE=DATE:20260511\r\nSUMMARY:" +
               summary +
               "\r\nEND:VEVENT\r\n"
               "BEGIN:VEVENT\r\nUID:trip\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20260520\r\n"
               "DTEND;VALUE=DATE:20260523\r\nSUMMARY:旅行\r\nEND:VEVENT\r\n"
               "BEGIN:VTODO\r\nUID:task\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:準備\r\nSTATUS:" +
               todoStatus + "\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
    };
    TempFolder home;
    ASSERT_TRUE(imported(home, calendar("週次（二回目）", "NEEDS-ACTION")).outcome.ok());
    const std::vector<std::string> first = files::loadLines(home.file("202605.sch"));
    ASSERT_EQ(first.size(), 6u) << "three weeks and three days of the trip";

    const IcalImportOutcome same = imported(home, calendar("週次（二回目）", "NEEDS-ACTION"), false);
    EXPECT_EQ(same.counts.schedules.records + same.counts.todos + same.counts.updated, 0) << same.outcome.message;
    EXPECT_EQ(files::loadLines(home.file("202605.sch")), first);

    const IcalImportOutcome later = imported(home, calendar("週次（中止）", "CANCELLED"));
    ASSERT_TRUE(later.outcome.ok()) << later.outcome.message;
    EXPECT_EQ(later.counts.schedules.records, 0);
    EXPECT_EQ(later.counts.updated, 1);
    EXPECT_EQ(later.counts.todosUpdated, 1);
    std::vector<std::string> expected = first;
    std::replace(expected.begin(), expected.end(), plainScheduleLine(11, "", "", "週次（二回目）"),
                 plainScheduleLine(11, "", "", "週次（中止）"));
    EXPECT_EQ(files::loadLines(home.file("202605.sch")), expected);
    const std::vector<std::string> todos = files::loadLines(home.file("ToDo.dat"));
    ASSERT_EQ(todos.size(), 1u);
    EXPECT_FALSE(TodoIsOpen(todos[0])) << "a cancelled entry needs doing no more";
}
