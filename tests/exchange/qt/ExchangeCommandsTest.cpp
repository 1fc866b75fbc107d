// The CSV and iCalendar commands alone: the shown month written out, a file read in through its
// dialog and the month (and the ToDo lists) read again afterwards, files that cannot be read.
#include "exchange/qt/ExchangeCommands.h"

#include "exchange/TDlgCsvToSch.h"
#include "exchange/TDlgIcalRead.h"
#include "exchange/TDlgIcalSave.h"
#include "support/PanelFixture.h"
#include "support/ScheduleLines.h"

#include <QAction>
#include <QDateEdit>

using namespace kal;
using namespace kal::test;

namespace {

struct ExchangeFixture : PanelFixture {
    Date shownMonth{2026, 12, 1};
    int todoChanges = 0;
    std::unique_ptr<qt::ExchangeCommands> exchange;

    void start()
    {
        readSettings();
        exchange = std::make_unique<qt::ExchangeCommands>(context,
                                                          qt::ExchangeLinks{[this] { return shownMonth; },
                                                                            [] {
                                                                                return Date{2026, 12, 8};
                                                                            },
                                                                            [this] { ++todoChanges; }},
                                                          &window);
    }
};

const std::string kIcs = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
                         "BEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20261201T000000Z\r\n"
                         "DTSTART:20261208T010000Z\r\nSUMMARY:歯医者\r\nEND:VEVENT\r\n"
                         "BEGIN:VTODO\r\nUID:b\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:年賀状\r\nEND:VTODO\r\n"
                         "END:VCALENDAR\r\n";

} // namespace

TEST_F(ExchangeFixture, CsvSaveWritesTheShownMonthUnderItsProposedName)
{
    home.write("202612.sch", crlf({plainScheduleLine(8, "10:00", "", "歯医者")}));
    home.write("202701.sch", crlf({plainScheduleLine(2, "", "", "初詣, 神社")}));
    start();
    shownMonth = Date{2027, 1, 1};
    platform.fileAnswers = {home.file("out.csv")};
    exchange->MenuCsvSave->trigger();
    EXPECT_EQ(platform.fileDialogFolders.back(), home.file("202701.csv"));
    EXPECT_EQ(home.read("out.csv"), crlf({sj("2027/01/02,,,\"初詣, 神社\",,")}));
    EXPECT_TRUE(platform.messages.empty());

    platform.fileAnswers = {home.file("out.csv")};
    platform.messageAnswers = {MessageAnswer::No};
    shownMonth = Date{2026, 12, 1};
    exchange->MenuCsvSave->trigger();
    EXPECT_EQ(platform.messages.back().text, "'out.csv' を上書きしますか？");
    EXPECT_EQ(home.read("out.csv"), crlf({sj("2027/01/02,,,\"初詣, 神社\",,")}));

    platform.fileAnswers = {home.path() + "missing/out.csv"};
    exchange->MenuCsvSave->trigger();
    EXPECT_EQ(platform.messages.back().caption, "ファイルの保存");
    EXPECT_EQ(platform.messages.back().icon, MessageIcon::Error);
}

TEST_F(ExchangeFixture, CsvReadRunsTheMappingDialogAndHasTheMonthBuiltAgain)
{
    start();
    home.write("in.csv", crlf({sj("2026/12/08,10:00,,歯医者")}));
    platform.fileAnswers = {home.file("in.csv")};
    bool modalWhileOpen = false;
    dialogs.handlers.push_back([&](QDialog& dialog) {
        modalWhileOpen = dialogOpen;
        auto& csv = dynamic_cast<TDlgCsvToSch&>(dialog);
        csv.BtnAllLeftClick();
        csv.BtnDataCheckClick();
        csv.BtnConvertClick();
        return csv.result();
    });
    exchange->MenuCsvRead->trigger();

    EXPECT_EQ(platform.fileDialogFolders.back(), settings.dataPath);
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgCsvToSch");
    EXPECT_EQ(dialogs.shownTitles[0],
              QString::fromUtf8("CSV形式の読込 - ") + QString::fromStdString(home.file("in.csv")));
    EXPECT_TRUE(modalWhileOpen);
    EXPECT_FALSE(dialogOpen);
    EXPECT_EQ(home.read("202612.sch"), crlf({plainScheduleLine(8, "10:00", "", "歯医者")}));
    EXPECT_EQ(rebuilds, 1);
}

TEST_F(ExchangeFixture, FilesThatCannotBeReadAreReportedWithoutTheDialog)
{
    start();
    home.write("empty.csv", "");
    platform.fileAnswers = {home.file("none.csv"), home.file("empty.csv"), std::nullopt, home.file("none.ics"),
                            std::nullopt};
    for (const char* message : {"が見つかりません。", "にはデータがありません。"}) {
        exchange->MenuCsvRead->trigger();
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_NE(platform.messages.back().text.find(message), std::string::npos);
        EXPECT_EQ(platform.messages.back().caption, "CSV形式の読込");
    }
    exchange->MenuCsvRead->trigger(); // cancelled
    EXPECT_EQ(platform.messages.size(), 2u);
    exchange->MenuIcalRead->trigger();
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[2].caption, "iCalendar形式の読込");
    EXPECT_NE(platform.messages[2].text.find("が見つかりません。"), std::string::npos);
    exchange->MenuIcalRead->trigger(); // cancelled
    EXPECT_EQ(platform.messages.size(), 3u);
    EXPECT_TRUE(dialogs.shownClasses.empty());
    EXPECT_FALSE(dialogOpen);
}

TEST_F(ExchangeFixture, IcalSaveProposesTheShownMonthAndWritesTheChosenFile)
{
    home.write("202612.sch", crlf({plainScheduleLine(8, "10:00", "", "歯医者")}));
    start();
    platform.fileAnswers = {home.file("out.ics")};
    bool modalWhileOpen = false;
    dialogs.handlers.push_back([&](QDialog& dialog) {
        modalWhileOpen = dialogOpen;
        auto& save = dynamic_cast<TDlgIcalSave&>(dialog);
        EXPECT_EQ(save.DtpFromDate->date(), QDate(2026, 12, 1));
        EXPECT_EQ(save.DtpToDate->date(), QDate(2026, 12, 31));
        save.BtnOkClick();
        return save.result();
    });
    exchange->MenuIcalSave->trigger();
    EXPECT_TRUE(modalWhileOpen);
    EXPECT_FALSE(dialogOpen);
    EXPECT_EQ(platform.fileDialogFolders.back(), settings.dataPath + "202612.ics");
    const std::string written = home.read("out.ics");
    EXPECT_NE(written.find("SUMMARY:歯医者"), std::string::npos) << written;
    EXPECT_EQ(platform.messages.back().text, "1 件のスケジュールデータと 0 件のToDoを保存しました。");
}

TEST_F(ExchangeFixture, IcalReadAddsSchedulesAndTodosAndHasBothReadAgain)
{
    start();
    home.write("in.ics", kIcs);
    platform.fileAnswers = {home.file("in.ics")};
    dialogs.handlers.push_back([&](QDialog& dialog) {
        auto& read = dynamic_cast<TDlgIcalRead&>(dialog);
        read.BtnConvertClick();
        return read.result();
    });
    exchange->MenuIcalRead->trigger();
    EXPECT_EQ(dialogs.shownTitles.at(0),
              QString::fromUtf8("iCalendar形式の読込 - ") + QString::fromStdString(home.file("in.ics")));
    EXPECT_EQ(home.read("202612.sch"), crlf({plainScheduleLine(8, "10:00", "", "歯医者")}));
    EXPECT_NE(home.read("ToDo.dat").find(sj("年賀状")), std::string::npos);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(todoChanges, 1);
    EXPECT_FALSE(dialogOpen);
}
