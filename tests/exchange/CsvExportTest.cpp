// CSV export: the fields of a line, the month export, and the save dialog with its question.
#include "exchange/CsvExport.h"

#include "schedule/ScheduleRecord.h"
#include "support/FakePlatform.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

TEST(CsvExport, EachRecordBecomesSixCommaTextFields)
{
    struct Case {
        std::string record;
        const char* csv;
    };
    const Case cases[] = {
        {plainScheduleLine(5, "09:00", "10:00", "会議", "本社", "仕事"), "2004/03/05,09:00,10:00,会議,本社,仕事"},
        {plainScheduleLine(9, "", "", "休み"), "2004/03/09,,,休み,,"},
        {plainScheduleLine(9, "", "", "朝 会"), "2004/03/09,,,\"朝 会\",,"},
        {plainScheduleLine(9, "", "", "a\"b"), "2004/03/09,,,\"a\"\"b\",,"},
        {plainScheduleLine(9, "", "", "x,y", "p q"), "2004/03/09,,,\"x,y\",\"p q\","},
        {plainScheduleLine(31, "9:00", "", "ｶﾅ", "", "長い分類名前です"), "2004/03/31,9:00,,ｶﾅ,,長い分類名前で"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv);
        EXPECT_EQ(csvLineOf(MonthRecord{2004, 3, c.record}), sj(c.csv));
    }
}

TEST(CsvExport, TheMonthIsWrittenInFileOrderAndOtherLinesAreLeftOut)
{
    TempFolder data;
    data.write("200403.sch", crlf({plainScheduleLine(1, "", "", "一日"), "garbage line", "",
                                   plainScheduleLine(2, "08:00", "", "二日")}));
    CsvExportResult exported = exportMonthCsv(data.path(), 2004, 3, data.file("out.csv"));
    ASSERT_TRUE(exported.ok) << exported.message;
    EXPECT_EQ(exported.count, 2);
    EXPECT_EQ(data.read("out.csv"), crlf({sj("2004/03/01,,,一日,,"), sj("2004/03/02,08:00,,二日,,")}));
}

TEST(CsvExport, AMonthWithoutSchedulesGivesAnEmptyFile)
{
    TempFolder data;
    data.write("out.csv", "old content\r\n");
    CsvExportResult exported = exportMonthCsv(data.path(), 2004, 4, data.file("out.csv"));
    ASSERT_TRUE(exported.ok);
    EXPECT_EQ(exported.count, 0);
    EXPECT_TRUE(data.exists("out.csv"));
    EXPECT_EQ(data.read("out.csv"), "");
}

TEST(CsvExport, FailuresAreReportedAndNothingIsReplaced)
{
    TempFolder data;
    CsvExportResult noFolder = exportMonthCsv(data.path(), 2004, 3, data.path() + "missing/out.csv");
    EXPECT_FALSE(noFolder.ok);
    EXPECT_NE(noFolder.message.find("missing/out.csv"), std::string::npos);

    // A month file that cannot be read must not be exported as an empty month.
    ASSERT_TRUE(files::createFolders(data.path() + "200403.sch"));
    data.write("out.csv", "kept\r\n");
    CsvExportResult unreadable = exportMonthCsv(data.path(), 2004, 3, data.file("out.csv"));
    EXPECT_FALSE(unreadable.ok);
    EXPECT_NE(unreadable.message.find("200403.sch"), std::string::npos);
    EXPECT_EQ(data.read("out.csv"), "kept\r\n");
}

TEST(CsvExport, TheSaveDialogProposesTheNameAndAsksBeforeReplacing)
{
    TempFolder data;
    FakePlatform platform;
    EXPECT_EQ(monthCsvName(2004, 3), "200403.csv");

    platform.fileAnswers = {std::nullopt};
    EXPECT_FALSE(askCsvExportPath(platform, data.path(), "200403.csv"));
    EXPECT_EQ(platform.fileDialogFolders.back(), data.file("200403.csv"));
    EXPECT_TRUE(platform.messages.empty());

    platform.fileAnswers = {data.file("new.csv")};
    EXPECT_EQ(askCsvExportPath(platform, data.path(), "200403.csv"), data.file("new.csv"));
    EXPECT_TRUE(platform.messages.empty());

    data.write("old.csv", "x");
    platform.fileAnswers = {data.file("old.csv"), data.file("old.csv")};
    platform.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(askCsvExportPath(platform, data.path(), "200403.csv"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "ファイルの保存");
    EXPECT_EQ(platform.messages[0].text, "'old.csv' を上書きしますか？");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(askCsvExportPath(platform, data.path(), "200403.csv"), data.file("old.csv"));
}
