// The holiday input dialog offscreen with the fake platform: presets, enabling, the checks with
// their focus, and Holiday.dat as written.
#include "calendar/TDlgHolidayInput.h"
#include "platform/Files.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/GuiInput.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace kal;
using namespace kal::test;

namespace {

struct HolidayDialogFixture : ::testing::Test {
    TempFolder data;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    std::unique_ptr<TDlgHolidayInput> openNew(Date selected = {2024, 3, 10}, int kind = -1)
    {
        HolidayInputRequest r;
        r.path = data.file("Holiday.dat");
        r.selected = selected;
        r.kind = kind;
        return std::make_unique<TDlgHolidayInput>(services, r);
    }
    std::unique_ptr<TDlgHolidayInput> openCorrect(int index)
    {
        HolidayInputRequest r;
        r.mode = HolidayInputMode::Correct;
        r.path = data.file("Holiday.dat");
        r.rule = store::LineRef{data.file("Holiday.dat"), index,
                                files::loadLines(data.file("Holiday.dat")).at(static_cast<std::size_t>(index))};
        return std::make_unique<TDlgHolidayInput>(services, r);
    }
    static bool hasFocus(const QDialog& d, const QWidget* field) { return d.focusWidget() == field; }
};

} // namespace

TEST_F(HolidayDialogFixture, NewRuleStartsFromTheSelectedDay)
{
    // 10 March 2024 is a Sunday.
    auto d = openNew();
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("祝日・休日・記念日新規登録"));
    EXPECT_EQ(d->CmbMonth->currentText(), QString::fromUtf8("3月"));
    EXPECT_EQ(d->CmbDay->currentText(), QString::fromUtf8("10日"));
    EXPECT_EQ(d->CmbWeek->currentText(), QString::fromUtf8("日曜日"));
    EXPECT_EQ(d->CmbWeekNo->currentText(), QString::fromUtf8("毎週"));
    EXPECT_EQ(d->CmbBunrui->currentIndex(), -1);
    EXPECT_FALSE(d->ChkIreg->isChecked());
    EXPECT_TRUE(d->CmbMonth->isEnabled());
    EXPECT_FALSE(d->CmbWeekNo->isEnabled());
    EXPECT_FALSE(d->CmbWMonth->isEnabled());
    EXPECT_EQ(openNew({2024, 3, 10}, 1)->CmbBunrui->currentText(), QString::fromUtf8("休日"));
}

TEST_F(HolidayDialogFixture, WeekdayControlsFollowTheCheckAndTheWeek)
{
    auto d = openNew();
    d->show();
    QTest::mouseClick(d->ChkIreg, Qt::LeftButton, {}, QPoint(5, d->ChkIreg->height() / 2));
    ASSERT_TRUE(d->ChkIreg->isChecked());
    EXPECT_FALSE(d->CmbMonth->isEnabled());
    EXPECT_FALSE(d->CmbDay->isEnabled());
    EXPECT_TRUE(d->CmbWeekNo->isEnabled());
    EXPECT_TRUE(d->CmbWeek->isEnabled());
    EXPECT_FALSE(d->CmbWMonth->isEnabled()) << "every week has no month";
    d->CmbWeekNo->setCurrentIndex(2);
    EXPECT_TRUE(d->CmbWMonth->isEnabled());
    d->CmbWeekNo->setCurrentIndex(0);
    EXPECT_FALSE(d->CmbWMonth->isEnabled());
}

TEST_F(HolidayDialogFixture, SecondMondayOfJanuaryIsWrittenSorted)
{
    data.write("Holiday.dat", crlf({" 1 11949    000" + sj("元日"), "12231989    000" + sj("天皇誕生日")}));
    auto d = openNew();
    d->ChkIreg->setChecked(true);
    d->CmbWeekNo->setCurrentIndex(2);
    d->CmbWeek->setCurrentIndex(1);
    d->CmbWMonth->setCurrentIndex(1);
    d->CmbBunrui->setCurrentIndex(0);
    typeText(d->EditFromYear, "2000");
    typeText(d->EdtTitle, QString::fromUtf8("成人の日"));
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(data.read("Holiday.dat"), crlf({" 1  2000    210" + sj("成人の日"), " 1 11949    000" + sj("元日"),
                                              "12231989    000" + sj("天皇誕生日")}));
}

TEST_F(HolidayDialogFixture, InputErrorsKeepTheDialogOpenWithTheFocusOnTheField)
{
    struct Case {
        const char* what;
        std::function<void(TDlgHolidayInput&)> fill;
        const char* message;
        const char* focus; // object name, or empty
    };
    const Case cases[] = {
        {"毎月 29日", [](TDlgHolidayInput& d) { d.CmbMonth->setCurrentIndex(0), d.CmbDay->setCurrentIndex(28); },
         "ありえない日付が入力されています。", "CmbDay"},
        {"2月 29日", [](TDlgHolidayInput& d) { d.CmbMonth->setCurrentIndex(2), d.CmbDay->setCurrentIndex(28); },
         "ありえない日付が入力されています。", "CmbDay"},
        {"years reversed", [](TDlgHolidayInput& d) { d.EditFromYear->setText("2005"), d.EditToYear->setText("2000"); },
         "適用年月に誤りがあります。", "EditFromYear"},
        {"a short year", [](TDlgHolidayInput& d) { d.EditToYear->setText("99"); },
         "適用年は西暦４桁の数字で入力して下さい。", "EditToYear"},
        {"no kind", [](TDlgHolidayInput& d) { d.CmbBunrui->setCurrentIndex(-1); }, "分類は必須項目です。", "CmbBunrui"},
        {"no month for 第1",
         [](TDlgHolidayInput& d) {
             d.ChkIreg->setChecked(true), d.CmbWeekNo->setCurrentIndex(1), d.CmbWMonth->setCurrentIndex(-1);
         },
         "月を入力して下さい。", "CmbWMonth"},
        {"a tab in the name", [](TDlgHolidayInput& d) { d.EdtTitle->setText("a\tb"); },
         "名称に改行やタブなどの制御文字は使えません。", "EdtTitle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform.messages.clear();
        auto d = openNew();
        d->CmbBunrui->setCurrentIndex(0);
        c.fill(*d);
        d->BtnOkClick();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].caption, "入力エラー");
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
        EXPECT_NE(d->result(), QDialog::Accepted);
        EXPECT_EQ(d->focusWidget() ? d->focusWidget()->objectName() : QString(), QString::fromUtf8(c.focus));
        EXPECT_FALSE(data.exists("Holiday.dat"));
    }
}

TEST_F(HolidayDialogFixture, YearFieldsTakeDigitsOnly)
{
    auto d = openNew();
    typeText(d->EditFromYear, "2a0b0c0d5");
    EXPECT_EQ(d->EditFromYear->text(), "2000");
}

TEST_F(HolidayDialogFixture, CorrectionFillsFromTheLineAndReplacesExactlyIt)
{
    const std::string last = "99          510" + sj("月末");
    data.write("Holiday.dat", crlf({" 1 11949    000" + sj("元日"), last, last}));
    auto d = openCorrect(2);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("祝日・休日・記念日訂正"));
    EXPECT_TRUE(d->ChkIreg->isChecked());
    EXPECT_EQ(d->CmbWeekNo->currentText(), QString::fromUtf8("最終"));
    EXPECT_EQ(d->CmbWeek->currentText(), QString::fromUtf8("月曜日"));
    EXPECT_EQ(d->CmbWMonth->currentText(), QString::fromUtf8("毎月"));
    EXPECT_TRUE(d->CmbWMonth->isEnabled());
    EXPECT_EQ(d->EdtTitle->text(), QString::fromUtf8("月末"));
    EXPECT_EQ(d->CmbBunrui->currentText(), QString::fromUtf8("祝日"));

    d->CmbBunrui->setCurrentIndex(1);
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(data.read("Holiday.dat"), crlf({" 1 11949    000" + sj("元日"), last, "99          511" + sj("月末")}));
}

TEST_F(HolidayDialogFixture, ACorrectionOfAChangedRuleIsRefused)
{
    data.write("Holiday.dat", crlf({" 5 5        001A"}));
    auto d = openCorrect(0);
    data.write("Holiday.dat", crlf({" 5 5        001B"}));
    d->BtnOkClick();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(d->changedMeanwhile());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "祝日・休日・記念日が他で変更されています。\r\n表示を更新します。");
    EXPECT_EQ(data.read("Holiday.dat"), crlf({" 5 5        001B"}));
}
