// The two iCalendar dialogs, offscreen with the fake platform: their defaults, the period check
// with the focus on the end, keyboard access, the data check before the execute run.
#include "exchange/TDlgIcalRead.h"
#include "exchange/TDlgIcalSave.h"

#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

struct IcalDialogFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    IcalReadSource readSource(const std::string& text) const
    {
        return {home.file("in.ics"), text, home.path(), home.path(), home.path(), {2026, 12, 8}};
    }
    static void showAndWait(QDialog& dialog)
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QTest::qWait(50);
    }
};

const std::string kWeekly = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
                            "BEGIN:VEVENT\r\nUID:w\r\nDTSTAMP:20261201T000000Z\r\n"
                            "DTSTART;VALUE=DATE:20261207\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:週次\r\nEND:VEVENT\r\n"
                            "END:VCALENDAR\r\n";

} // namespace

TEST_F(IcalDialogFixture, ReadDialogDefaultsToAYearFromToday)
{
    TDlgIcalRead dlg(services, readSource(kWeekly));
    EXPECT_EQ(dlg.DtpFromDate->date(), QDate(2026, 12, 8));
    EXPECT_EQ(dlg.DtpToDate->date(), QDate(2027, 12, 7));
    EXPECT_TRUE(dlg.ChkDubleNo->isChecked());
    EXPECT_TRUE(dlg.ChkCategory->isChecked());
    EXPECT_EQ(dlg.LabelPeriod->buddy(), dlg.DtpFromDate);
}

TEST_F(IcalDialogFixture, DataCheckCountsAndExecuteWritesThePeriodOnly)
{
    TDlgIcalRead dlg(services, readSource(kWeekly));
    dlg.DtpToDate->setDate(QDate(2026, 12, 31));
    QTest::mouseClick(dlg.BtnDataCheck, Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.substr(0, std::string("3 件のスケジュールデータを反映します。").size()),
              "3 件のスケジュールデータを反映します。");
    EXPECT_FALSE(home.exists("202612.sch"));
    EXPECT_FALSE(dlg.wroteFiles());

    QTest::mouseClick(dlg.BtnConvert, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.wroteFiles());
    EXPECT_EQ(home.read("202612.sch"),
              crlf({plainScheduleLine(14, "", "", "週次"), plainScheduleLine(21, "", "", "週次"),
                    plainScheduleLine(28, "", "", "週次")}));
}

TEST_F(IcalDialogFixture, AnEndBeforeTheStartIsRefusedWithTheFocusOnTheEnd)
{
    for (bool readDialog : {true, false}) {
        SCOPED_TRACE(readDialog ? "read" : "save");
        platform.messages.clear();
        std::unique_ptr<QDialog> dlg;
        QDateEdit* to = nullptr;
        QPushButton* ok = nullptr;
        if (readDialog) {
            auto* read = new TDlgIcalRead(services, readSource(kWeekly));
            to = read->DtpToDate;
            ok = read->BtnConvert;
            dlg.reset(read);
        } else {
            auto* save =
                new TDlgIcalSave(services, {home.path(), home.path(), 0, {2026, 12, 1}, {2026, 12, 31}, home.path()});
            to = save->DtpToDate;
            ok = save->BtnOk;
            dlg.reset(save);
        }
        showAndWait(*dlg);
        to->setDate(QDate(2026, 11, 1));
        QTest::mouseClick(ok, Qt::LeftButton);
        QTest::qWait(20);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].caption, "入力エラー");
        EXPECT_EQ(platform.messages[0].text, "期間の終わりが初めより前です。");
        EXPECT_TRUE(to->hasFocus());
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_FALSE(home.exists("202612.sch"));
    }
}

TEST_F(IcalDialogFixture, KeyboardReachesThePeriodAndTheOptions)
{
    TDlgIcalRead dlg(services, readSource(kWeekly));
    showAndWait(dlg);
    QTest::keyClick(&dlg, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.ChkDubleNo->isChecked(); }, 1000));
    QTest::keyClick(&dlg, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.ChkCategory->isChecked(); }, 1000));
    dlg.ChkCategory->setFocus();
    QTest::keyClick(&dlg, Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.DtpFromDate->hasFocus(); }, 1000));
}

TEST_F(IcalDialogFixture, SaveAsksForTheFileAndCancelKeepsTheDialogOpen)
{
    home.write("202612.sch", crlf({scheduleLine(8, "10:00", sj("歯医者"), true, true)}));
    TDlgIcalSave dlg(services, {home.path(), home.path(), 5, {2026, 12, 1}, {2026, 12, 31}, home.path()});
    EXPECT_TRUE(dlg.ChkTodo->isChecked());
    platform.fileAnswers = {std::nullopt};
    dlg.BtnOkClick();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(platform.messages.empty());

    home.write("out.ics", "old");
    platform.fileAnswers = {home.file("out.ics")};
    platform.messageAnswers = {MessageAnswer::No};
    dlg.BtnOkClick();
    EXPECT_EQ(home.read("out.ics"), "old") << "declining the overwrite keeps the file";

    platform.fileAnswers = {home.file("out.ics")};
    dlg.BtnOkClick();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_NE(home.read("out.ics").find("TRIGGER:-PT5M"), std::string::npos) << home.read("out.ics");
}
