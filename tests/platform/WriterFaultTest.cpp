// Every writer with each step of the file layer (open, write, fsync, close, rename) failed in
// turn at each of its calls: the old files stay as they were, no temporary file or intent record
// is left, and the reason the user is shown names the error.
#include "app/CleanUp.h"
#include "app/Password.h"
#include "app/TodoIconFiles.h"
#include "calendar/HolidayInput.h"
#include "calendar/Holidays.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/IcalExport.h"
#include "exchange/IcalImport.h"
#include "exchange/RecordIdentities.h"
#include "lists/ListEdits.h"
#include "memo/DayMemo.h"
#include "memo/Note.h"
#include "platform/IniFile.h"
#include "print/PrintSettings.h"
#include "schedule/CategoryFiles.h"
#include "schedule/PickList.h"
#include "schedule/Repeat.h"
#include "schedule/ScheduleRecord.h"
#include "settings/AppSettings.h"
#include "settings/ColorSets.h"
#include "store/NoteListFile.h"
#include "support/LockHolder.h"
#include "support/WriterFaults.h"
#include "todo/TodoStore.h"

using namespace kal;
using namespace kal::test;
using namespace std::chrono_literals;

namespace {

std::string reasonOf(const files::IoResult& result)
{
    return result.ok ? std::string() : result.reason;
}
std::string reasonOf(const store::EditResult& result)
{
    return result.ok() ? std::string() : result.reason;
}
// The ToDo, memo-line, holiday and list results share the shape.
template <typename Result> std::string reasonOfStatus(const Result& result)
{
    return result.ok() ? std::string() : result.reason.empty() ? "(no reason)" : result.reason;
}
std::string reasonOf(const CsvExportResult& result)
{
    return result.ok ? std::string() : result.message;
}
std::string reasonOf(const ImportOutcome& result)
{
    return result.ok() ? std::string() : result.message;
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

const std::string kTodoA = "2026/12/101050"
                           "2026/12/01"
                           "Work          "
                           "01"
                           "Call";
const std::string kTodoB = "2026/12/301050"
                           "2026/12/01"
                           "              "
                           "02"
                           "Write";

// Everything the newer writers keep, in one folder: the ToDo pair, memos, notes, print settings.
void arrangeAll(const TempFolder& dir)
{
    arrangeMonths(dir);
    dir.write("ToDo.dat", crlf({kTodoA, kTodoB, "stray line"}));
    dir.write("ToDoMemo.dat", crlf({"01,\"call back\"", "02,\"draft\",\"send\""}));
    dir.write("20260509.mem", crlf({"first", "second"}));
    dir.write(kMemoTemplateFileName, crlf({"template"}));
    dir.write("Plans.not", crlf({"note"}));
    dir.write(store::kNoteListFileName, crlf({"Plans", "Ideas"}));
    dir.write(kPrintSettingsFileName, crlf({"[Title]", "Title=yyyy", "; kept"}));
    dir.write("Holiday.dat", crlf({"0505 1 Children"}));
}

TodoEntry todoWithMemo()
{
    TodoEntry entry;
    entry.fields.deadline = Date{2026, 12, 24};
    entry.fields.title = "Plan";
    entry.memo = {"step 1", "step 2"};
    entry.memoChanged = true;
    return entry;
}

CsvImportRequest importInto(const TempFolder& dir)
{
    CsvImportRequest request;
    request.lines = {"2026/05/03,10:00,,Trip,,Travel", "2026/08/01,,,Fair,,Work"};
    request.mapping = CsvMapping::inOrder();
    request.options.import.addCategories = true;
    request.dataPath = dir.path();
    request.programFolder = dir.path();
    return request;
}

ScheduleRef firstOfMay(const TempFolder& dir)
{
    return ScheduleRef{dir.file("202605.sch"), 0, files::loadLines(dir.file("202605.sch")).at(0)};
}

// Identities for the first May record and the first ToDo entry, in `folder`.
void arrangeIdentities(const TempFolder& dir, const std::string& folder)
{
    IdentityTable table;
    table.add({"may", 0, {"202605.sch", 0, files::loadLines(dir.file("202605.sch")).at(0)}, {}, {}, {}, {}});
    table.add({"todo", 0, {"ToDo.dat", 0, kTodoA}, {}, {}, {}, {}});
    files::createFolders(folder);
    for (const files::FileChange& change : identityChange(folder, table).changes)
        files::saveBytesWithin(change.path, *change.bytes, change.maxBytes);
}

ColorTable colorsWithFirst(ColorValue text)
{
    ColorTable table;
    for (int i = 0; i < ColorItemCount; ++i)
        table[static_cast<std::size_t>(i)] = defaultColor(i);
    table[0].text = text;
    return table;
}

void arrangeSettingsFolder(const TempFolder& dir)
{
    arrangeAll(dir);
    saveColorSet(dir.path(), "Blue", colorsWithFirst(ColorValue{0x0000FF}));
    dir.write("TNoicon2.sbm", "BMold");
}

// Old months for the clean-up at exit, in the order it deletes them.
const char* const kOldData[] = {"200301.sch", "200302.sch", "20030131.mem"};

void arrangeOldData(const TempFolder& dir)
{
    arrangeMonths(dir);
    for (const char* name : kOldData)
        dir.write(name, crlf({name}));
}

// A failed deletion leaves its file; the others are deleted all the same.
FolderSnapshot onlyTheFailedOneLeft(FolderSnapshot before, FileStep, int call)
{
    for (int i = 0; i < static_cast<int>(std::size(kOldData)); ++i)
        if (i != call - 1)
            before.erase(kOldData[i]);
    return before;
}

std::string cleanUp(const TempFolder& dir, files::FileOps& ops)
{
    std::optional<CleanPlan> plan = PlanCleanUp(dir.path(), dir.path(), {2003, 5, 20}, 3);
    return plan ? CleanFailureMessage(RunCleanUp(*plan, ops)) : "(nothing planned)";
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
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
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(DeleteSchedule(firstOfMay(dir), store::Follower::none(), ops));
         }},
        {"correct within a month", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(
                 CorrectSchedule(firstOfMay(dir), dir.file("202605.sch"), "30", store::Follower::none(), ops));
         }},
        {"correct into another month", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(
                 CorrectSchedule(firstOfMay(dir), dir.file("202606.sch"), "30", store::Follower::none(), ops));
         }},
        {"correct into another month with its identity",
         [](const TempFolder& dir) {
             arrangeAll(dir);
             arrangeIdentities(dir, dir.path());
         },
         [](const TempFolder& dir, files::FileOps& ops) {
             IdentityFollower follower(dir.path());
             return reasonOf(
                 CorrectSchedule(firstOfMay(dir), dir.file("202606.sch"), "30", store::Follower(&follower), ops));
         }},
        {"ToDo tick with its identity in another folder",
         [](const TempFolder& dir) {
             arrangeAll(dir);
             arrangeIdentities(dir, dir.path() + "home/");
         },
         [](const TempFolder& dir, files::FileOps& ops) {
             IdentityFollower follower(dir.path() + "home/");
             return reasonOfStatus(ApplyTodoTicks(dir.path(), {{{TodoFilePath(dir.path()), 0, kTodoA}, true}},
                                                  {2026, 12, 9}, store::Follower(&follower), ops));
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
             const IcalExportResult exported = exportIcal(
                 {dir.path(), dir.path(), {2026, 5, 1}, {2026, 6, 30}, true, 5, dir.path()}, dir.file("out.ics"), ops);
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
        {"ToDo tick", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOfStatus(ApplyTodoTicks(dir.path(), {{{TodoFilePath(dir.path()), 0, kTodoA}, true}},
                                                  {2026, 12, 9}, store::Follower::none(), ops));
         }},
        {"ToDo entry with its memo", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOfStatus(StoreTodoEntry(dir.path(), todoWithMemo(), store::Follower::none(), ops).result);
         }},
        {"ToDo delete with its memo", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOfStatus(
                 DeleteTodos(dir.path(), {{TodoFilePath(dir.path()), 1, kTodoB}}, store::Follower::none(), ops));
         }},
        {"day memo", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(SaveDayMemo(dir.path(), {2026, 5, 9}, {"changed"}, ops));
         }},
        {"new day memo", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(SaveDayMemo(dir.path(), {2026, 5, 10}, {"new"}, ops));
         }},
        {"memo line in the list", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOfStatus(ReplaceMemoLine(dir.file("20260509.mem"), 1, "second", "2nd", ops));
         }},
        {"memo template", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(SaveMemoFile(dir.file(kMemoTemplateFileName), {"new template"}, ops));
         }},
        {"note", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(SaveMemoFile(NoteFilePath(dir.path(), "Plans"), {"note", "more"}, ops));
         }},
        {"note list", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(SaveNoteList(dir.path(), {"Ideas", "Plans"}, {"bad:title"}, ops));
         }},
        {"print settings", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             PrintSettings settings = LoadPrintSettings(dir.path());
             settings.top = 25;
             return reasonOf(SavePrintSettings(dir.path(), settings, ops));
         }},
        {"CSV export", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(exportMonthCsv(dir.path(), 2026, 5, dir.file("202605.csv"), ops));
         }},
        {"CSV import over months and categories", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(runCsvImport(importInto(dir), ImportRun::Execute, ops));
         }},
        {"list delete across months", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             const std::string may = dir.file("202605.sch"), june = dir.file("202606.sch");
             return reasonOfStatus(store::edit(
                 {{may, june}, store::Follower::none(), {}},
                 [&](store::EditFiles& months) {
                     months.replace(may, {});
                     months.replace(june, {"not a record"});
                     return store::EditResult{};
                 },
                 ops));
         }},
        {"holiday table", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOfStatus(SaveHolidayLine(dir.file("Holiday.dat"), std::nullopt, "0101 1 New year", ops));
         }},
        {"holiday table of the first start", arrangeMonths,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(WriteDefaultHolidayFile(dir.path(), crlf({"0101 1 New year"}), ops));
         }},
        {"colour set", arrangeSettingsFolder,
         [](const TempFolder& dir, files::FileOps& ops) {
             return reasonOf(saveColorSet(dir.path(), "Blue", colorsWithFirst(ColorValue{0x00FF00}), ops));
         }},
        {"colour set deleted", arrangeSettingsFolder,
         [](const TempFolder& dir, files::FileOps& ops) { return reasonOf(deleteColorSet(dir.path(), "Blue", ops)); },
         kDeleteSteps},
        {"ToDo icon picture", arrangeSettingsFolder,
         [](const TempFolder& dir, files::FileOps& ops) {
             TodoIconFlags setIcon;
             const std::vector<std::string> failures =
                 SaveTodoIcons(dir.path(), {std::nullopt, std::string("BMnew")}, setIcon, ops);
             return failures.empty() && !setIcon.on(TodoIconFlag::DueToday) ? "(flag not set)" : joined(failures);
         }},
        {"note renamed with its list", arrangeAll,
         [](const TempFolder& dir, files::FileOps& ops) {
             const NoteOrder order{dir.path(), {"Later", "Ideas"}, {"bad:title"}};
             return RenameNoteFile(dir.path(), "Plans", "Later", order, ops).reason;
         }},
        {"clean-up of old months at exit", arrangeOldData, cleanUp, kDeleteSteps, onlyTheFailedOneLeft},
    };
    return all;
}

} // namespace

TEST(WriterFaults, EveryStepOfEveryWriterFailsCleanly)
{
    reportInjected(failEveryStep(writers()));
}

// While another writer holds the folder, every writer of data gives up changing nothing and says
// why; the CSV export, which only reads the data, goes on (the iCalendar export keeps the UIDs it
// gives out, so it writes too).
TEST(WriterFaults, EveryWriterWaitsForTheFolderLockAndGivesUpChangingNothing)
{
    ShortLockWait wait(10ms);
    for (const Writer& writer : writers()) {
        TempFolder dir;
        writer.arrange(dir);
        const FolderSnapshot before = snapshot(dir);
        LockHolder other(dir.path());
        const std::string reason = writer.act(dir, files::systemFileOps());
        const bool readsOnly = std::string(writer.name) == "CSV export";
        EXPECT_EQ(reason.find(files::lockBusyText(dir.path())) != std::string::npos, !readsOnly)
            << writer.name << reason;
        EXPECT_EQ(snapshot(dir) == before, !readsOnly) << writer.name;
    }
}
