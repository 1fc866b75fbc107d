// The find dialog offscreen with the fake platform: enabling, the period buttons, the checks,
// the criteria it hands over and the return to the dialog when nothing was found.
#include "lists/TDlgFind.h"
#include "lists/TFormEdit.h"
#include "platform/RecordFollower.h"
#include "schedule/ScheduleRecord.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/GuiInput.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace kal;
using namespace kal::test;

namespace {

struct FindFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    void SetUp() override
    {
        platform.setToday(2024, 2, 10);
        home.write("Category.tbl", crlf({"Work          1 ", "Workshop      1 ", sj("私用") + "          1 "}));
        ScheduleFields f;
        f.day = 5;
        f.title = "Meeting";
        f.category = "Work";
        home.write("202402.sch", crlf({ComposeSchedule(f)}));
    }
    std::unique_ptr<TDlgFind> open(files::RecordFollower* follower = nullptr)
    {
        FindRequest r{.follower = store::Follower(follower)};
        r.dataPath = r.memoPath = r.programFolder = home.path();
        r.resultHeight = 400;
        return std::make_unique<TDlgFind>(services, r);
    }
    // Records what the result window listed, then closes it.
    FakeDialogRunner::Handler resultWindow(QStringList& titles, QString& caption)
    {
        return [&titles, &caption](QDialog& dialog) {
            auto& results = dynamic_cast<TFormEdit&>(dialog);
            caption = results.windowTitle();
            for (int row = 0; row < results.ListView->model()->rowCount(); ++row)
                titles << results.ListView->model()->index(row, 4).data().toString();
            return static_cast<int>(QDialog::Rejected);
        };
    }
};

} // namespace

// The windows that correct and delete schedules cannot be opened without naming their follower.
static_assert(!std::is_default_constructible_v<FindRequest> && !std::is_default_constructible_v<FormEditRequest>);

TEST_F(FindFixture, ControlsStartEmptyAndFollowTheirSwitches)
{
    auto d = open();
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("検索"));
    EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(d->CmbFile->currentText(), QString::fromUtf8("スケジュール"));
    ASSERT_EQ(d->CmbBunrui->count(), 3);
    EXPECT_EQ(d->CmbBunrui->itemText(0), "Work          ") << "the names as stored";
    EXPECT_EQ(d->CmbBunrui->currentText(), "");
    EXPECT_EQ(d->DtpFromDate->date(), QDate(2024, 2, 10));
    for (QWidget* w : std::initializer_list<QWidget*>{d->DtpFromDate, d->DtpToDate, d->BtnYear, d->BtnMonth})
        EXPECT_FALSE(w->isEnabled());
    d->ChkDate->setChecked(true);
    EXPECT_TRUE(d->BtnMonth->isEnabled());
    d->CmbFile->setCurrentIndex(1);
    EXPECT_FALSE(d->CmbBunrui->isEnabled());
    d->CmbFile->setCurrentIndex(0);
    EXPECT_TRUE(d->CmbBunrui->isEnabled());
}

TEST_F(FindFixture, PeriodButtons)
{
    auto d = open();
    d->ChkDate->setChecked(true);
    d->BtnMonth->click();
    EXPECT_EQ(d->DtpFromDate->date(), QDate(2024, 2, 1));
    EXPECT_EQ(d->DtpToDate->date(), QDate(2024, 2, 29)) << "February of a leap year";
    d->BtnYear->click();
    EXPECT_EQ(d->DtpFromDate->date(), QDate(2024, 1, 1));
    EXPECT_EQ(d->DtpToDate->date(), QDate(2024, 12, 31));
}

TEST_F(FindFixture, RefusedCriteria)
{
    struct Case {
        const char* what;
        std::function<void(TDlgFind&)> fill;
        const char* message;
        const char* focus;
    };
    const Case cases[] = {
        {"blanks only", [](TDlgFind& d) { d.CmbBunrui->setEditText("   "); }, "検索条件を入力して下さい。",
         "EditTitle"},
        {"memos without text", [](TDlgFind& d) { d.CmbFile->setCurrentIndex(1); }, "内容文字列を入力して下さい。",
         "EditTitle"},
        {"dates reversed",
         [](TDlgFind& d) {
             d.ChkDate->setChecked(true);
             d.DtpToDate->setDate(QDate(2024, 2, 9));
         },
         "日付の入力に誤りがあります。", "DtpFromDate"},
        {"no target", [](TDlgFind& d) { d.CmbFile->setCurrentIndex(-1); }, "検索対象を選択して下さい。", "CmbFile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform.messages.clear();
        auto d = open();
        c.fill(*d);
        d->BtnOkClick();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].caption, "検索条件入力エラー");
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
        const QWidget* focus = d->focusWidget();
        while (focus && focus->parentWidget() != d.get())
            focus = focus->parentWidget();
        EXPECT_EQ(focus ? focus->objectName() : QString(), QString::fromUtf8(c.focus));
        EXPECT_TRUE(dialogs.shownClasses.empty());
    }
}

TEST_F(FindFixture, NothingFoundReturnsToTheDialogAndAHitClosesIt)
{
    auto d = open();
    typeText(d->EditTitle, "xyz");
    QStringList titles;
    QString caption;
    dialogs.handlers.push_back(resultWindow(titles, caption));
    d->BtnOkClick();
    EXPECT_EQ(caption, QString::fromUtf8("スケジュール検索結果"));
    EXPECT_TRUE(titles.isEmpty());
    EXPECT_NE(d->result(), QDialog::Accepted) << "the criteria can be changed";

    d->EditTitle->clear();
    typeText(d->EditTitle, "MEET");
    d->CmbBunrui->setCurrentIndex(0);
    dialogs.handlers.push_back(resultWindow(titles, caption));
    d->BtnOkClick();
    EXPECT_EQ(titles, QStringList{"Meeting"});
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->changed());
}

TEST_F(FindFixture, TheResultWindowTellsTheFollowerOfWhatItDeletes)
{
    struct Counting final : files::RecordFollower {
        std::vector<std::string> folders() const override { return {}; }
        files::FollowerChanges follow(const std::vector<files::RecordChange>& changes) override
        {
            told += static_cast<int>(changes.size());
            return {};
        }
        int told = 0;
    } follower;
    auto d = open(&follower);
    typeText(d->EditTitle, "Meeting");
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& results = dynamic_cast<TFormEdit&>(dialog);
        results.ListView->selectionModel()->setCurrentIndex(
            results.ListView->model()->index(0, 1), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        results.BtnDel->trigger();
        return static_cast<int>(QDialog::Rejected);
    });
    d->BtnOkClick();
    EXPECT_EQ(home.read("202402.sch"), "");
    EXPECT_EQ(follower.told, 1);
}

TEST_F(FindFixture, CriteriaAsHandedOver)
{
    auto d = open();
    typeText(d->EditTitle, QString::fromUtf8("会議"));
    d->CmbBunrui->setEditText("W");
    d->ChkCapital->setChecked(true);
    d->ChkDate->setChecked(true);
    d->BtnMonth->click();
    const SearchCriteria c = d->Criteria();
    EXPECT_EQ(c.target, SearchTarget::Schedules);
    EXPECT_EQ(c.keyword, sj("会議"));
    EXPECT_EQ(c.letterCase, LetterCase::Match);
    EXPECT_EQ(c.category, "W");
    EXPECT_EQ(c.from, (Date{2024, 2, 1}));
    EXPECT_EQ(c.to, (Date{2024, 2, 29}));
}

TEST_F(FindFixture, MemoSearchAcrossLines)
{
    home.write("20240210.mem", crlf({"buy mi", "lk"}));
    auto d = open();
    d->CmbFile->setCurrentIndex(1);
    typeText(d->EditTitle, "milk");
    QString caption;
    dialogs.handlers.push_back([&caption](QDialog& dialog) {
        auto& results = dynamic_cast<TFormEdit&>(dialog);
        caption = results.windowTitle();
        EXPECT_EQ(results.ListView->model()->index(0, 2).data().toString(), "buy milk");
        return static_cast<int>(QDialog::Rejected);
    });
    d->BtnOkClick();
    EXPECT_EQ(caption, QString::fromUtf8("メモ検索結果"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
}
