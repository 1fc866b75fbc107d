// CSV import: the column mapping, the data check and the execute run against real folders, the
// round trip with the export, and the behaviours the import must keep (counts that match, no
// merged lines, categories cut before comparing, encodings reported).
#include "exchange/CsvImport.h"

#include "exchange/CsvExport.h"
#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "schedule/ScheduleRecord.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kal;
using namespace kal::test;

namespace {

struct CsvImportFixture : ::testing::Test {
    TempFolder home; // program folder and schedule folder at once
    CsvMapping mapping = CsvMapping::inOrder();
    CsvImportOptions options;

    ImportOutcome run(const std::vector<std::string>& lines, ImportRun how)
    {
        return runCsvImport(CsvImportRequest{lines, mapping, options, home.path(), home.path()}, how);
    }
    ImportOutcome check(const std::vector<std::string>& lines) { return run(lines, ImportRun::Check); }
    ImportOutcome execute(const std::vector<std::string>& lines) { return run(lines, ImportRun::Execute); }
    std::vector<std::string> month(const char* name) const { return files::loadLines(home.file(name)); }
};

// Checks and executes the same lines and expects both to count `records` and `categories`.
void expectSameCounts(CsvImportFixture& f, const std::vector<std::string>& lines, int records, int categories = 0)
{
    ImportOutcome checked = f.check(lines);
    ASSERT_TRUE(checked.ok()) << checked.message;
    EXPECT_EQ(checked.counts.records, records);
    EXPECT_EQ(checked.counts.categories, categories);
    EXPECT_FALSE(checked.wroteFiles);
    ImportOutcome executed = f.execute(lines);
    ASSERT_TRUE(executed.ok()) << executed.message;
    EXPECT_EQ(executed.counts.records, records);
    EXPECT_EQ(executed.counts.categories, categories);
}

} // namespace

TEST(CsvMappingTest, ColumnsServeOneTargetAndCommandsMoveThem)
{
    CsvMapping m;
    EXPECT_EQ(m.columnOf(CsvDate), kUnassigned);
    EXPECT_TRUE(m.assign(CsvDate, 2));
    EXPECT_TRUE(m.isAssigned(2));
    EXPECT_FALSE(m.assign(CsvTitle, 2)) << "a column in use cannot be chosen again";
    EXPECT_EQ(m.columnOf(CsvTitle), kUnassigned);
    EXPECT_TRUE(m.assign(CsvDate, 0)) << "choosing another column releases the old one";
    EXPECT_FALSE(m.isAssigned(2));
    EXPECT_TRUE(m.assign(CsvTitle, 2));
    m.release(CsvTitle);
    EXPECT_FALSE(m.isAssigned(2));

    m.assignInOrder(3);
    for (int target = 0; target < kCsvTargetCount; ++target)
        EXPECT_EQ(m.columnOf(target), target < 3 ? target : kUnassigned) << target;
    m.clear();
    for (int column = 0; column < kCsvTargetCount; ++column)
        EXPECT_FALSE(m.isAssigned(column));
    EXPECT_EQ(CsvMapping::inOrder().columnOf(CsvCategory), 5);
}

TEST(CsvMappingTest, TargetRowsShowTheLabelAndTheMappedColumn)
{
    for (int target = 0; target < kCsvTargetCount; ++target)
        EXPECT_EQ(csvTargetLabel(target).size(), 18u) << target;
    EXPECT_EQ(csvTargetLabel(CsvDate), sj("日付（yyyy/mm/dd）"));
    EXPECT_EQ(csvTargetLabel(CsvTitle), sj("内容") + std::string(14, ' '));
    const std::vector<std::string> columns = {"a", sj("会議")};
    EXPECT_EQ(csvTargetRow(CsvTitle, 1, columns), sj("内容") + std::string(14, ' ') + " : " + sj("会議"));
    EXPECT_EQ(csvTargetRow(CsvPlace, kUnassigned, columns), csvTargetLabel(CsvPlace) + " : ");
    EXPECT_EQ(csvTargetRow(CsvPlace, 7, columns), csvTargetLabel(CsvPlace) + " : ");
}

// Export then import into an empty folder gives the month file back byte for byte, and a second
// import with the duplicate check adds nothing.
TEST_F(CsvImportFixture, ExportThenImportReproducesTheMonthFile)
{
    const std::string forty = "あいうえおかきくけこさしすせそたちつてと";
    ASSERT_EQ(sj(forty).size(), 40u);
    std::vector<std::string> lines = {
        plainScheduleLine(1, "", "", "終日の予定"),
        plainScheduleLine(1, "09:00", "10:00", "朝会, 定例", "本社 3階", "仕事"),
        plainScheduleLine(2, "10:00", "", "\"引用\" と 空白", "", "私用"),
        plainScheduleLine(3, "12:00", "13:00", "ﾊﾝｶｸ ｶﾅ", "ｶﾌｪ"),
        plainScheduleLine(4, "18:00", "21:00", forty, forty, "長い分類名前で"),
        plainScheduleLine(4, "18:00", "21:00", forty, ""),
        plainScheduleLine(5, "", "", "", "場所だけ"),
        plainScheduleLine(31, "23:59", "", "a,\"b\",c"),
    };
    text::sortNoCase(lines);
    TempFolder source;
    source.write("200401.sch", crlf(lines));
    ASSERT_TRUE(exportMonthCsv(source.path(), 2004, 1, home.file("jan.csv")).ok);

    // Two records share day, start and title, so the first import runs without the check.
    const std::vector<std::string> csv = files::loadLines(home.file("jan.csv"));
    options.import.skipDuplicates = false;
    ImportOutcome first = execute(csv);
    ASSERT_TRUE(first.ok()) << first.message;
    EXPECT_EQ(first.counts.records, static_cast<int>(lines.size()));
    EXPECT_EQ(home.read("200401.sch"), source.read("200401.sch"));

    options.import.skipDuplicates = true;
    ImportOutcome again = execute(csv);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.counts.records, 0);
    EXPECT_EQ(home.read("200401.sch"), source.read("200401.sch"));
}

TEST_F(CsvImportFixture, TheDataCheckCountsExactlyWhatTheExecuteRunAdds)
{
    // The date in column 3, the lines going back and forth between two months, a line repeated
    // after the other month was visited, and a trailing blank line.
    mapping.clear();
    mapping.assign(CsvDate, 2);
    mapping.assign(CsvTitle, 0);
    const std::vector<std::string> lines = {
        sj("会議,x,2004/03/05"), sj("旅行,x,2004/04/01"),   sj("会議,x,2004/03/05"),
        sj("旅行,x,2004/04/02"), sj("歯医者,x,2004/03/06"), "",
    };
    expectSameCounts(*this, lines, 4);
    EXPECT_EQ(month("200403.sch"),
              (std::vector<std::string>{plainScheduleLine(5, "", "", "会議"), plainScheduleLine(6, "", "", "歯医者")}));
    EXPECT_EQ(month("200404.sch"),
              (std::vector<std::string>{plainScheduleLine(1, "", "", "旅行"), plainScheduleLine(2, "", "", "旅行")}));
}

TEST_F(CsvImportFixture, WithoutTheDuplicateCheckTheFileHoldsWhatTheCsvHolds)
{
    options.import.skipDuplicates = false;
    home.write("200403.sch", crlf({plainScheduleLine(5, "10:00", "", "Meeting")}));
    const std::vector<std::string> lines = {"2004/03/05,10:00,,Meeting", "2004/03/05,10:00,,Meeting",
                                            "2004/03/05,10:00,,MEETING"};
    expectSameCounts(*this, lines, 3);
    EXPECT_EQ(month("200403.sch"), (std::vector<std::string>{plainScheduleLine(5, "10:00", "", "Meeting"),
                                                             plainScheduleLine(5, "10:00", "", "Meeting"),
                                                             plainScheduleLine(5, "10:00", "", "Meeting"),
                                                             plainScheduleLine(5, "10:00", "", "MEETING")}));
}

TEST_F(CsvImportFixture, TheDuplicateCheckComparesTheComposedDayStartAndTitle)
{
    const std::string fortyText = "あいうえおかきくけこさしすせそたちつてと";
    const std::string forty = sj(fortyText);
    home.write("200403.sch",
               crlf({plainScheduleLine(5, "10:00", "11:00", fortyText), plainScheduleLine(6, "9:00", "", "Title")}));
    struct Case {
        std::string line;
        int added;
    };
    const Case cases[] = {
        {"2004/03/05,10:00,12:00," + forty + sj("ん") + ",other place", 0}, // title cut to 40 bytes first
        {"2004/3/5,10:00,,\"" + forty + "  \"", 0},                         // trailing blanks ignored
        {"2004/03/06,9:00,,Title,,", 0},                                    // start as stored ("9:00 ")
        {"2004/03/06,09:00,,Title", 0},                                     // the same time, two digits
        {"2004/03/06,9:00,,title", 1},                                      // titles compared exactly
        {"2004/04/06,9:00,,Title", 1},                                      // another month
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ImportOutcome checked = check({c.line});
        ASSERT_TRUE(checked.ok()) << checked.message;
        EXPECT_EQ(checked.counts.records, c.added);
    }
}

TEST_F(CsvImportFixture, FieldsAreCutAndComposedAsTheInputDialogDoes)
{
    const std::string longTitle = std::string(41, 'T');
    const std::vector<std::string> lines = {
        "2004/03/05,10:00,11:00," + longTitle, sj("2004/03/06,,,\"会議, 第 2 回\",,"),
        sj("2004/03/07,10:00:00,,x,\"   \",  "), // a place of blanks is no place
    };
    ASSERT_TRUE(execute(lines).ok());
    const std::vector<std::string> stored = month("200403.sch");
    ASSERT_EQ(stored.size(), 3u);
    const std::string noCategory(14, ' ');
    EXPECT_EQ(stored[0], "05"
                         "10:00"
                         "11:00" +
                             noCategory + "0000" + std::string(40, 'T'));
    EXPECT_EQ(RecTitle(stored[1]), sj("会議, 第 2 回"));
    EXPECT_EQ(stored[2], "07"
                         "10:00"
                         "     " +
                             noCategory +
                             "0000"
                             "x");
}

TEST_F(CsvImportFixture, BadDatesStopBeforeAnythingIsWritten)
{
    const std::vector<std::string> lines = {"2004/03/05,,,ok", "2004-03-05,,,bad"};
    for (ImportRun how : {ImportRun::Check, ImportRun::Execute}) {
        ImportOutcome outcome = run(lines, how);
        EXPECT_EQ(outcome.status, ImportStatus::BadDate);
        EXPECT_EQ(outcome.message, "不正なデータ（日付エラー）があるため処理できません。\r\n2 レコード目： 2004-03-05");
    }
    EXPECT_FALSE(home.exists("200403.sch"));

    mapping.release(CsvDate);
    ImportOutcome noDate = execute(lines);
    EXPECT_EQ(noDate.status, ImportStatus::NoDateColumn);
    EXPECT_EQ(noDate.message, "日付が選択されていません。");
}

TEST_F(CsvImportFixture, TheHeaderLineIsNeitherCheckedNorImportedButCounted)
{
    options.firstLineIsHeader = true;
    const std::vector<std::string> lines = {sj("日付,開始,終了,内容"), "2004/03/05,,,a", "bad,,,b"};
    ImportOutcome outcome = check(lines);
    EXPECT_EQ(outcome.status, ImportStatus::BadDate);
    EXPECT_NE(outcome.message.find("3 レコード目： bad"), std::string::npos);

    ImportOutcome onlyHeader = check({lines[0], ""});
    EXPECT_EQ(onlyHeader.status, ImportStatus::NoData);
    EXPECT_EQ(onlyHeader.message, "読み込むデータがありません。");

    expectSameCounts(*this, {lines[0], lines[1]}, 1);
}

TEST_F(CsvImportFixture, OtherEncodingsAreReportedWithTheirLine)
{
    struct Case {
        std::vector<std::string> lines;
        std::string detail;
    };
    const Case cases[] = {
        {{"\xEF\xBB\xBF"
          "2004/03/05,,,a"},
         "1 レコード目： 先頭にバイトオーダーマーク（BOM）があります。"},
        {{"2004/03/05,,,a", "2004/03/06,,,会議"}, "2 レコード目： UTF-8 の文字があります。"},
        {{std::string("2\0000\0", 4)}, "1 レコード目： テキストではないデータ（NUL 文字）があります。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.detail);
        ImportOutcome outcome = check(c.lines);
        EXPECT_EQ(outcome.status, ImportStatus::BadEncoding);
        EXPECT_EQ(outcome.message, "不正なデータ（文字コードエラー）があるため処理できません。\r\n" + c.detail +
                                       "Shift-JIS で保存したファイルを指定して下さい。");
    }
}

TEST_F(CsvImportFixture, NewCategoriesJoinTheTableSortedByName)
{
    home.write("Category.tbl", crlf({"Zeta          1 00000255        ", sj("長い分類名前で") + "0 "}));
    const std::vector<std::string> lines = {
        "2004/03/05,,,a,,Alpha",
        "2004/03/06,,,b,,Alpha",                  // collected once
        sj("2004/03/07,,,c,,長い分類名前ですね"), // the same 14 bytes as a table entry
        "2004/03/08,,,d,,Zeta",
        "2004/03/09,,,e,,",
        "2004/03/10,,,f,,ABCDEFGHIJKLMNOPQ", // stored cut to 14 bytes
    };
    expectSameCounts(*this, lines, 6, 2);
    EXPECT_EQ(home.read("Category.tbl"), crlf({"ABCDEFGHIJKLMN1", "Alpha         1", "Zeta          1 00000255        ",
                                               sj("長い分類名前で") + "0 "}));
}

TEST_F(CsvImportFixture, CategoriesStayUntouchedWhenNotAdded)
{
    options.import.addCategories = false;
    expectSameCounts(*this, {"2004/03/05,,,a,,Alpha"}, 1, 0);
    EXPECT_FALSE(home.exists("Category.tbl"));
}

TEST_F(CsvImportFixture, FilesThatCannotBeReadOrWrittenAreReported)
{
    ASSERT_TRUE(files::createFolders(home.path() + "200404.sch"));
    ImportOutcome unreadable = execute({"2004/03/05,,,a", "2004/04/05,,,b"});
    EXPECT_EQ(unreadable.status, ImportStatus::ReadFailed);
    EXPECT_NE(unreadable.message.find("200404.sch"), std::string::npos);
    EXPECT_FALSE(home.exists("200403.sch")) << "nothing is written when a month cannot be read";

    ImportOutcome noFolder =
        runCsvImport(CsvImportRequest{{"2004/03/05,,,a"}, mapping, options, home.path() + "missing/", home.path()},
                     ImportRun::Execute);
    EXPECT_EQ(noFolder.status, ImportStatus::WriteFailed);
    EXPECT_FALSE(noFolder.wroteFiles);
    EXPECT_NE(noFolder.message.find("missing/"), std::string::npos) << noFolder.message;
    EXPECT_NE(noFolder.message.find("見つかりません"), std::string::npos) << noFolder.message;
}

TEST(ScheduleImportWrite, MonthsThatFitTheirFilesButNotOneChangeAreRefusedWithThatLimit)
{
    TempFolder data;
    std::vector<FileUpdate> months;
    for (int m = 1; m <= 5; ++m)
        months.push_back({MonthFilePath(data.path(), 2004, m), {std::string(7u << 20, 'x')}});
    EXPECT_EQ(writeImportFiles(months).result.reason, files::systemErrorText(files::kChangeTooLarge));
}

TEST(ScheduleImportWrite, AFailureInAnyFolderLeavesEveryFileAsItWas)
{
    struct Case {
        const char* name;
        bool monthsFail; // else the category table's folder fails
    };
    for (const Case& c : {Case{"months refused", true}, Case{"category table refused", false}}) {
        SCOPED_TRACE(c.name);
        TempFolder data, program;
        data.write("200403.sch", crlf({"old"}));
        program.write("Category.tbl", crlf({"Work          1 "}));
        // A folder where a file should be: no save can replace it, not even root's.
        const std::string blocked = c.monthsFail ? data.file("200404.sch") : program.file("Category.tbl");
        if (!c.monthsFail) {
            ASSERT_EQ(::unlink(blocked.c_str()), 0);
        }
        ASSERT_EQ(::mkdir(blocked.c_str(), 0755), 0);
        ImportWriteResult written = writeImportFiles({{data.file("200403.sch"), {"old", "new"}},
                                                      {data.file("200404.sch"), {"new"}},
                                                      {program.file("Category.tbl"), {"Work          1 ", "New 1"}}});
        EXPECT_FALSE(written.result.ok());
        EXPECT_EQ(written.written, 0);
        EXPECT_NE(written.result.reason.find(blocked.substr(blocked.rfind('/') + 1)), std::string::npos)
            << written.result.reason;
        EXPECT_EQ(data.read("200403.sch"), crlf({"old"}));
        if (c.monthsFail) {
            EXPECT_EQ(program.read("Category.tbl"), crlf({"Work          1 "}));
        }
        for (const TempFolder* dir : {&data, &program})
            for (const char* pattern : {"*", ".*"})
                for (const std::string& name : files::listFiles(dir->path(), pattern))
                    EXPECT_FALSE(files::isTemporaryName(name) || files::isIntentRecordName(name)) << name;
    }
}

TEST(ScheduleImportReport, CountsAreShownWithThousandsSeparators)
{
    EXPECT_EQ(importCheckReport({12345, 0}), "12,345 件のスケジュールデータを反映します。\r\n0 件の分類が未登録です。");
    EXPECT_EQ(importDoneReport({1, 2}), "1 件のスケジュールデータを反映しました。\r\n2 件の分類を追加しました。");
}

TEST(CsvFileTest, MissingUnreadableAndEmptyFilesAreRefusedClearly)
{
    TempFolder folder;
    EXPECT_EQ(readCsvFile(folder.file("none.csv")).message, "「" + folder.file("none.csv") + "」が見つかりません。");
    folder.write("empty.csv", "");
    folder.write("blank.csv", "\r\n  \r\n");
    for (const char* name : {"empty.csv", "blank.csv"}) {
        CsvFile file = readCsvFile(folder.file(name));
        EXPECT_FALSE(file.ok) << name;
        EXPECT_EQ(file.message, "「" + folder.file(name) + "」にはデータがありません。");
    }
    folder.write("data.csv", "2004/03/05,,,a\r\n\r\n");
    CsvFile file = readCsvFile(folder.file("data.csv"));
    EXPECT_TRUE(file.ok);
    EXPECT_EQ(file.lines, (std::vector<std::string>{"2004/03/05,,,a", ""}));
}
