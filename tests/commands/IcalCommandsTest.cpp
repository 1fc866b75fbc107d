// The iCalendar commands of the program itself: export and import through the command line,
// with the exit codes and messages scripts rely on.
#include "support/RunProgram.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

TEST(IcalCommands, ExportThenImportCarriesSchedulesToAnotherFolder)
{
    TempFolder from, to;
    const std::string month = crlf(
        {plainScheduleLine(3, "09:00", "10:00", "朝会, 定例", "本社", "仕事"), plainScheduleLine(20, "", "", "休日")});
    from.write("202605.sch", month);

    ProgramRun exported = runKalendra(from.path(), "--export-ics 2026/05/01 2026/05/31 " + to.file("may.ics"));
    EXPECT_EQ(exported.exitCode, 0) << exported.output;
    EXPECT_EQ(exported.output, "2 件のスケジュールデータと 0 件のToDoを保存しました。\n");

    ProgramRun refused = runKalendra(from.path(), "--export-ics 2026/05/01 2026/05/31 " + to.file("may.ics"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("上書きしません"), std::string::npos);

    ProgramRun imported = runKalendra(to.path(), "--import-ics " + to.file("may.ics"));
    EXPECT_EQ(imported.exitCode, 0) << imported.output;
    EXPECT_EQ(imported.output, "2 件のスケジュールデータを反映しました。\n1 件の分類を追加しました。\n"
                               "0 件のToDoを反映しました。\n0 件は同じものがあるため反映しませんでした。\n"
                               "0 件の内容・場所を切り詰めました。\n0 文字を「〓」に置き換えました。\n");
    EXPECT_EQ(to.read("202605.sch"), month);

    ProgramRun again = runKalendra(to.path(), "--import-ics " + to.file("may.ics"));
    EXPECT_NE(again.output.find("2 件は同じものがあるため"), std::string::npos) << again.output;
    // The UIDs are known now: not even a forced import doubles them, nor one into the folder
    // the file came from.
    for (const TempFolder* home : {&to, &from}) {
        ProgramRun forced = runKalendra(home->path(), "--import-ics " + to.file("may.ics") + " --no-duplicate-check");
        EXPECT_NE(forced.output.find("0 件のスケジュールデータを反映しました。"), std::string::npos) << forced.output;
        EXPECT_EQ(home->read("202605.sch"), month);
    }
}

TEST(IcalCommands, RecurrenceFollowsThePeriodArguments)
{
    TempFolder home;
    home.write("w.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\nBEGIN:VEVENT\r\nUID:w\r\n"
                        "DTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20260105\r\nRRULE:FREQ=WEEKLY\r\n"
                        "SUMMARY:w\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    ProgramRun run =
        runKalendra(home.path(), "--import-ics " + home.file("w.ics") + " --from 2026/01/01 --to 2026/01/31");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(home.read("202601.sch"), crlf({plainScheduleLine(5, "", "", "w"), plainScheduleLine(12, "", "", "w"),
                                             plainScheduleLine(19, "", "", "w"), plainScheduleLine(26, "", "", "w")}));
    EXPECT_FALSE(home.exists("202602.sch"));
}

TEST(IcalCommands, FailuresAndBadArgumentsGiveTheirExitCodes)
{
    TempFolder home;
    home.write("bad.ics", "hello\r\n");
    struct Case {
        std::string arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"--import-ics " + home.file("none.ics"), 1, "が見つかりません。"},
        {"--import-ics " + home.file("bad.ics"), 1, "ありません"},
        {"--import-ics", 2, "--import-ics FILE"},
        {"--import-ics " + home.file("bad.ics") + " --from 2026/13/01", 2, "--from には日付を"},
        {"--import-ics " + home.file("bad.ics") + " --from 2026/05/01 --to 2026/04/01", 2, "--to"},
        {"--import-ics " + home.file("bad.ics") + " --bogus", 2, "不明な引数です: --bogus"},
        {"--export-ics 2026/05/01 " + home.file("x.ics"), 2, "--export-ics FROM TO FILE"},
        {"--export-ics 2026/05/31 2026/05/01 " + home.file("x.ics"), 2, "TO の日付が FROM より前です。"},
        {"--export-ics 2026-05-01 2026/05/31 " + home.file("x.ics"), 2, "FROM には日付を"},
        {"--export-ics 2026/05/01 2026/05/31 " + home.path() + "missing/x.ics", 1, "を保存できません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ProgramRun run = runKalendra(home.path(), c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
    EXPECT_FALSE(home.exists("x.ics"));
}
