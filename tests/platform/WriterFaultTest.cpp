// Every writer with each step of the file layer (open, write, fsync, close, rename) failed in
// turn at each of its calls: the old files stay as they were, no temporary file or intent record
// is left, and the reason the user is shown names the error.
#include "app/AppSettings.h"
#include "app/Password.h"
#include "exchange/IcalExport.h"
#include "exchange/IcalImport.h"
#include "platform/IniFile.h"
#include "schedule/CategoryFiles.h"
#include "schedule/PickList.h"
#include "schedule/Repeat.h"
#include "schedule/ScheduleRecord.h"
#include "support/FaultyFileOps.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace kal;
using namespace kal::test;

namespace {

struct Writer {
    const char* name;
    std::function<void(const TempFolder&)> arrange;
    // Runs the writer; gives the reason the user would see, empty on success.
    std::function<std::string(const TempFolder&, files::FileOps&)> act;
};

std::string reasonOf(const files::IoResult& result)
{
    return result.ok ? std::string() : result.reason;
}
std::string reasonOf(const ScheduleResult& result)
{
    return result.ok() ? std::string() : result.reason;
}

const std::string kMay = crlf({ComposeSchedule({9, "09:00", "", "", false, false, false, false, false, false, "A", ""}),
                               ComposeSchedule({20, "", "", "", false, false, false, false, false, false, "B", ""})});
const std::string kJune =
    crlf({"not a record", ComposeSchedule({1, "", "", "", false, false, false, false, false, false, "C", ""})});

void arrangeMonths(const TempFolder& dir)
{
    dir.write("202605.sch", kMay);
    dir.write("202606.sch", kJune);
    dir.write("Kalendra.ini", crlf({"[View]", "Catchk=0", "; kept"}));
    dir.write("Category.tbl", crlf({"Work          1 ", "Home          0 "}));
    dir.write("SchTitle.tbl", crlf({"Lunch", "Meeting"}));
    dir.write("Kalendra.pwd", EncodeStr("secret", DateTime{{2026, 1, 2}, 3, 4, 5}) + "\r\n");
}

ScheduleRef firstOfMay(const TempFolder& dir)
{
    return ScheduleRef{dir.file("202605.sch"), 0, files::loadLines(dir.file("202605.sch")).at(0)};
}

const std::vector<Writer>& writers()
{
    static const std::vector<Writer> all = {
        {"add to a month file", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(AddSchedule(dir.file("202605.sch"), "15", ops));
         }},
        {"add to a new month file", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(AddSchedule(dir.file("202607.sch"), "15", ops));
         }},
        {"delete from a month file", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) { return reasonOf(DeleteSchedule(firstOfMay(dir), ops)); }},
        {"correct within a month", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(CorrectSchedule(firstOfMay(dir), dir.file("202605.sch"), "30", ops));
         }},
        {"correct into another month", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(CorrectSchedule(firstOfMay(dir), dir.file("202606.sch"), "30", ops));
         }},
        {"repeat over three months", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             RepeatRule monthly{RepeatPattern::MonthlyOnDay, 10, WeekOfMonth::Every, 0};
             ScheduleFields fields;
             fields.title = "Rent";
             return reasonOf(RepeatSchUd(dir.path(), monthly, {{2026, 5, 1}, {2026, 7, 31}}, fields, ops).result);
         }},
        {"settings", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             IniFile ini(SettingsPath(dir.path()));
             ini.load();
             ini.writeInteger("Window", "Width", 900);
             return reasonOf(ini.flush(ops));
         }},
        {"category table with its mode", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             CategorySaveResult saved = SaveCategoriesWithMode(dir.path(), {"Other         1 "}, 1, ops);
             return saved.ok() ? std::string() : CategorySaveMessage(saved);
         }},
        {"category filter switch", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             FilterSwitch switched = SwitchCategoryFilter(dir.path(), 1, ops);
             return switched.saved.ok() ? std::string() : CategorySaveMessage(switched.saved);
         }},
        {"pick list", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             PickList list = PickList::Load(PickListPath(dir.path(), PickListType::Title));
             list.add("Dinner");
             return reasonOf(list.save(PickListPath(dir.path(), PickListType::Title), ops));
         }},
        {"iCalendar export", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             const IcalExportResult exported =
                 exportIcal({dir.path(), dir.path(), {2026, 5, 1}, {2026, 6, 30}, true, 5}, dir.file("out.ics"), ops);
             return exported.ok ? std::string() : exported.message;
         }},
        {"iCalendar import of schedules, a ToDo and a category", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             const std::string ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
                                     "BEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20260101T000000Z\r\n"
                                     "DTSTART;VALUE=DATE:20260530\r\nDTEND;VALUE=DATE:20260602\r\n"
                                     "SUMMARY:trip\r\nCATEGORIES:Travel\r\nEND:VEVENT\r\n"
                                     "BEGIN:VTODO\r\nUID:b\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:pack\r\n"
                                     "DESCRIPTION:bag\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
             const IcalImportOutcome imported =
                 runIcalImport({ics, {2026, 5, 1}, {2027, 4, 30}, {2026, 5, 1}, {}, dir.path(), dir.path(), dir.path()},
                               ImportRun::Execute, ops);
             return imported.outcome.ok() ? std::string() : imported.outcome.message;
         }},
        {"password file", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(writePasswordFile(dir.file(kPasswordFileName), "new", ops));
         }},
    };
    return all;
}

std::map<std::string, std::string> snapshot(const TempFolder& dir)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : files::listFiles(dir.path(), "*"))
        files[name] = dir.read(name);
    for (const std::string& name : files::listFiles(dir.path(), ".*"))
        files[name] = dir.read(name);
    return files;
}

constexpr FileStep kSteps[] = {FileStep::Open, FileStep::Write, FileStep::Fsync, FileStep::Close, FileStep::Rename};
constexpr int kErrors[] = {ENOSPC, EIO, EACCES, EROFS, EDQUOT};

} // namespace

TEST(WriterFaults, EveryStepOfEveryWriterFailsCleanly)
{
    int injected = 0;
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        FaultyFileOps counting;
        {
            TempFolder dir;
            writer.arrange(dir);
            ASSERT_EQ(writer.act(dir, counting), "");
        }
        for (FileStep step : kSteps) {
            ASSERT_GT(counting.calls(step), 0) << stepName(step);
            for (int call = 1; call <= counting.calls(step); ++call) {
                const int error = kErrors[(call + static_cast<int>(step)) % std::size(kErrors)];
                SCOPED_TRACE(std::string(stepName(step)) + " call " + std::to_string(call) + ": " +
                             files::systemErrorText(error));
                TempFolder dir;
                writer.arrange(dir);
                const auto before = snapshot(dir);
                FaultyFileOps faulty(step, call, error);
                const std::string reason = writer.act(dir, faulty);
                ASSERT_TRUE(faulty.injected());
                ++injected;
                EXPECT_NE(reason.find(files::systemErrorText(error)), std::string::npos) << reason;
                EXPECT_EQ(snapshot(dir), before);
            }
        }
    }
    RecordProperty("faults_injected", injected);
    std::printf("faults injected: %d\n", injected);
}
