// The CSV commands of the program itself: export and import through the command line, with
// the exit codes and messages scripts rely on.
#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"
#include "support/RunProgram.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kal;
using namespace kal::test;

TEST(CsvCommands, ExportThenImportCarriesAMonthToAnotherFolder)
{
    TempFolder from, to;
    const std::string month =
        crlf({plainScheduleLine(3, "09:00", "", "朝会, 定例", "", "仕事"), plainScheduleLine(20, "", "", "\"休日\"")});
    from.write("202605.sch", month);

    ProgramRun exported = runKalendra(from.path(), "--export-csv 2026 05 " + to.file("may.csv"));
    EXPECT_EQ(exported.exitCode, 0) << exported.output;
    EXPECT_EQ(exported.output, "2 件のスケジュールデータを保存しました。\n");
    EXPECT_EQ(to.read("may.csv"),
              crlf({sj("2026/05/03,09:00,,\"朝会, 定例\",,仕事"), sj("2026/05/20,,,\"\"\"休日\"\"\",,")}));

    ProgramRun refused = runKalendra(from.path(), "--export-csv 2026 05 " + to.file("may.csv"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("上書きしません"), std::string::npos);

    ProgramRun imported = runKalendra(to.path(), "--import-csv " + to.file("may.csv"));
    EXPECT_EQ(imported.exitCode, 0) << imported.output;
    EXPECT_EQ(imported.output, "2 件のスケジュールデータを反映しました。\n1 件の分類を追加しました。\n");
    EXPECT_EQ(to.read("202605.sch"), month);
    EXPECT_EQ(to.read("Category.tbl"), crlf({sj("仕事") + std::string(10, ' ') + "1"}));

    ProgramRun again = runKalendra(to.path(), "--import-csv " + to.file("may.csv"));
    EXPECT_EQ(again.output, "0 件のスケジュールデータを反映しました。\n0 件の分類を追加しました。\n");
    EXPECT_EQ(to.read("202605.sch"), month);
}

TEST(CsvCommands, ImportOptionsMapColumnsAndSwitchTheChecks)
{
    TempFolder home;
    home.write("in.csv", crlf({sj("内容,日付,分類"), sj("会議,2026/05/03,仕事"), sj("会議,2026/05/03,仕事")}));
    ProgramRun run =
        runKalendra(home.path(), "--import-csv " + home.file("in.csv") +
                                     " --columns 2,0,0,1,0,3 --header --no-duplicate-check --no-new-categories");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "2 件のスケジュールデータを反映しました。\n0 件の分類を追加しました。\n");
    EXPECT_EQ(home.read("202605.sch"), crlf({plainScheduleLine(3, "", "", "会議", "", "仕事"),
                                             plainScheduleLine(3, "", "", "会議", "", "仕事")}));
    EXPECT_FALSE(home.exists("Category.tbl"));
}

TEST(CsvCommands, FailuresAndBadArgumentsGiveTheirExitCodes)
{
    TempFolder home;
    home.write("bad.csv", crlf({"2026/05/03,,,a", "2026/5/32,,,b"}));
    home.write("broken.csv", crlf({"2026/05/03,,,\"a", "b\""}));
    home.write("time.csv", crlf({"2026/05/03,9:00,,a", "2026/05/04,9:00,25:00,b"}));
    ASSERT_TRUE(files::createFolders(home.file("folder.csv")));
    ASSERT_EQ(::mkfifo(home.file("fifo.csv").c_str(), 0600), 0); // nobody writes: reading must not wait
    struct Case {
        std::string arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"--import-csv " + home.file("bad.csv"), 1, "2 レコード目： 2026/5/32"},
        {"--import-csv " + home.file("bad.csv") + " --columns 0,2,3,4,5,6", 1, "日付が選択されていません。"},
        {"--import-csv " + home.file("none.csv"), 1, "が見つかりません。"},
        {"--import-csv " + home.file("folder.csv"), 1, "を読み込めません。\nファイルではなくフォルダです。"},
        {"--import-csv " + home.file("fifo.csv"), 1, "を読み込めません。\n通常のファイルではありません"},
        {"--import-csv " + home.file("broken.csv"), 1, "1 レコード目： 引用符の中に改行があります。"},
        {"--import-csv " + home.file("time.csv"), 1, "（時刻エラー）があるため処理できません。\n2 レコード目： 25:00"},
        {"--import-csv", 2, "--import-csv FILE"},
        {"--import-csv " + home.file("bad.csv") + " --columns 1,1,0,0,0,0", 2, "--columns"},
        {"--import-csv " + home.file("bad.csv") + " --columns 1,2,3", 2, "--columns"},
        {"--import-csv " + home.file("bad.csv") + " --force", 2, "不明な引数です: --force"},
        {"--export-csv 2026 13 " + home.file("x.csv"), 2, "月は 1 から 12 までです。"},
        {"--export-csv 2026 05", 2, "--export-csv YYYY MM FILE"},
        {"--export-csv 2026 05 " + home.path() + "missing/x.csv", 1, "を保存できません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ProgramRun run = runKalendra(home.path(), c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
    EXPECT_FALSE(home.exists("202605.sch")) << "a failed data check writes nothing";
}
