// The CSV entries of the main window's file menu: the shown month written out, and a file read
// in through the mapping dialog with the month rebuilt afterwards.
#include "app/TForm1.h"
#include "exchange/TDlgCsvToSch.h"
#include "schedule/ScheduleRecord.h"
#include "support/MainWindowFixture.h"
#include "support/ScheduleLines.h"

#include <QAction>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

struct CsvMenuFixture : MainWindowFixture {
    QStringList dayListTitles() const
    {
        QStringList titles;
        for (int i = 0; i < form->DayList->ListDaySch->topLevelItemCount(); ++i)
            titles << form->DayList->ListDaySch->topLevelItem(i)->text(3);
        return titles;
    }
};

} // namespace

TEST_F(CsvMenuFixture, SaveWritesTheShownMonthUnderItsProposedName)
{
    home.write("202612.sch", crlf({plainScheduleLine(8, "10:00", "", "歯医者")}));
    home.write("202701.sch", crlf({plainScheduleLine(2, "", "", "初詣, 神社")}));
    start();
    EXPECT_TRUE(form->Exchange->MenuCsvSave->isEnabled());
    form->Calendar->NextMonthChange();

    platform.fileAnswers = {home.file("out.csv")};
    form->Exchange->MenuCsvSave->trigger();
    EXPECT_EQ(platform.fileDialogFolders.back(), home.file("202701.csv"));
    EXPECT_EQ(home.read("out.csv"), crlf({sj("2027/01/02,,,\"初詣, 神社\",,")}));
    EXPECT_TRUE(platform.messages.empty());

    platform.fileAnswers = {home.file("out.csv")};
    platform.messageAnswers = {MessageAnswer::No};
    form->Calendar->BeforeMonthChange();
    form->Exchange->MenuCsvSave->trigger();
    EXPECT_EQ(platform.messages.back().text, "'out.csv' を上書きしますか？");
    EXPECT_EQ(home.read("out.csv"), crlf({sj("2027/01/02,,,\"初詣, 神社\",,")}));

    platform.fileAnswers = {home.path() + "missing/out.csv"};
    form->Exchange->MenuCsvSave->trigger();
    EXPECT_EQ(platform.messages.back().caption, "ファイルの保存");
    EXPECT_EQ(platform.messages.back().icon, MessageIcon::Error);
}

TEST_F(CsvMenuFixture, ReadRunsTheMappingDialogAndShowsWhatItAdded)
{
    start();
    home.write("in.csv", crlf({sj("2026/12/08,10:00,,歯医者")}));
    platform.fileAnswers = {home.file("in.csv")};
    bool modalWhileOpen = false;
    dialogs.handlers.push_back([&](QDialog& dialog) {
        modalWhileOpen = form->state().modalDialogOpen;
        auto& csv = dynamic_cast<TDlgCsvToSch&>(dialog);
        csv.BtnAllLeftClick();
        csv.BtnDataCheckClick();
        csv.BtnConvertClick();
        return csv.result();
    });
    form->Exchange->MenuCsvRead->trigger();

    EXPECT_EQ(platform.fileDialogFolders.back(), form->settings().dataPath);
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgCsvToSch");
    EXPECT_EQ(dialogs.shownTitles[0],
              QString::fromUtf8("CSV形式の読込 - ") + QString::fromStdString(home.file("in.csv")));
    EXPECT_TRUE(modalWhileOpen);
    EXPECT_FALSE(form->state().modalDialogOpen);
    EXPECT_EQ(home.read("202612.sch"), crlf({plainScheduleLine(8, "10:00", "", "歯医者")}));
    EXPECT_EQ(dayListTitles(), QStringList{QString::fromUtf8("歯医者")});
}

TEST_F(CsvMenuFixture, FilesThatCannotBeReadAreReportedWithoutTheDialog)
{
    start();
    home.write("empty.csv", "");
    platform.fileAnswers = {home.file("none.csv"), home.file("empty.csv"), std::nullopt};
    for (const char* message : {"が見つかりません。", "にはデータがありません。"}) {
        form->Exchange->MenuCsvRead->trigger();
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_NE(platform.messages.back().text.find(message), std::string::npos);
        EXPECT_EQ(platform.messages.back().caption, "CSV形式の読込");
    }
    form->Exchange->MenuCsvRead->trigger(); // cancelled
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(dialogs.shownClasses.empty());
    EXPECT_FALSE(form->state().modalDialogOpen);
}
