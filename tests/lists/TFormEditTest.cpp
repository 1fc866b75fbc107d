// The list window offscreen with the fake platform: the views and their status lines, the
// column sort, keys, correction, copy and deletion of schedules, holidays and memos, and the
// result lists of a search.
#include "lists/TFormEdit.h"
#include "calendar/TDlgHolidayInput.h"
#include "lists/qt/ListModel.h"
#include "schedule/ScheduleRecord.h"
#include "schedule/TDlgSchInput.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>

using namespace kal;
using namespace kal::test;

namespace {

struct FormEditFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    void SetUp() override { home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n"); }

    FormEditRequest request(ListMode mode, Date selected = {2024, 3, 5}) const
    {
        FormEditRequest r{.follower = store::Follower::none()};
        r.mode = mode;
        r.dataPath = r.memoPath = r.programFolder = home.path();
        r.selected = selected;
        return r;
    }
    std::unique_ptr<TFormEdit> open(const FormEditRequest& r) { return std::make_unique<TFormEdit>(services, r); }

    static QString cell(const TFormEdit& w, int row, int column)
    {
        return w.ListView->model()->index(row, column).data().toString();
    }
    static QStringList column(const TFormEdit& w, int column)
    {
        QStringList texts;
        for (int row = 0; row < w.ListView->model()->rowCount(); ++row)
            texts << cell(w, row, column);
        return texts;
    }
    static void selectRows(TFormEdit& w, std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = w.ListView->selectionModel();
        selection->clearSelection();
        selection->setCurrentIndex(w.ListView->model()->index(*rows.begin(), 1), QItemSelectionModel::NoUpdate);
        for (int row : rows)
            selection->select(w.ListView->model()->index(row, 1),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

} // namespace

TEST_F(FormEditFixture, DayViewListsTheDayInFileOrderWithItsStatusLine)
{
    home.write("202403.sch",
               crlf({scheduleLine(4, "", "before"), scheduleLine(5, "", "first"), scheduleLine(5, "09:00", "second"),
                     scheduleLine(5, "10:00", "third"), scheduleLine(6, "", "after")}));
    auto w = open(request(ListMode::Schedules));
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("スケジュール一覧"));
    EXPECT_EQ(column(*w, 4), (QStringList{"first", "second", "third"}));
    EXPECT_EQ(column(*w, 0), (QStringList{"202403050001", "202403050002", "202403050003"}));
    EXPECT_EQ(cell(*w, 1, 1), QString::fromUtf8("2024/03/05(火)"));
    EXPECT_EQ(w->statusText(), QString::fromUtf8("2024年3月5日(火)の予定 [3件]"));
    EXPECT_TRUE(w->ListView->isColumnHidden(0));
    EXPECT_TRUE(w->BtnView[0]->isChecked());
    // The first row is selected and the commands that need a row are on.
    EXPECT_EQ(w->SelectedRows().size(), 1u);
    for (QAction* a : {w->BtnRep, w->BtnCopy, w->BtnDel, w->MenuRep, w->MenuCopy, w->MenuDel})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    w->MenuView[1]->trigger();
    EXPECT_EQ(w->ListView->model()->rowCount(), 5);
    EXPECT_TRUE(w->BtnView[1]->isChecked());
    EXPECT_EQ(w->statusText(), QString::fromUtf8("2024年3月の予定 [5件]"));
    home.write("202312.sch", crlf({scheduleLine(1, "", "last year")}));
    w->BtnView[2]->trigger();
    EXPECT_EQ(w->statusText(), QString::fromUtf8("2024年の予定 [5件]"));
    w->BtnView[3]->trigger();
    EXPECT_EQ(w->statusText(), QString::fromUtf8("予定 [6件]"));
    EXPECT_EQ(cell(*w, 0, 4), "last year");
}

TEST_F(FormEditFixture, AnEmptyDayDisablesTheRowCommands)
{
    auto w = open(request(ListMode::Schedules));
    EXPECT_EQ(w->ListView->model()->rowCount(), 0);
    EXPECT_EQ(w->statusText(), QString::fromUtf8("2024年3月5日(火)の予定 [0件]"));
    for (QAction* a : {w->BtnRep, w->BtnCopy, w->BtnDel})
        EXPECT_FALSE(a->isEnabled());
    EXPECT_TRUE(w->BtnAdd->isEnabled());
    EXPECT_FALSE(w->nothingFound()) << "only a search finds nothing";
    w->DelClick();
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FormEditFixture, HeaderClicksSortDescendingFirstInJapaneseOrderAndKeepTheSelection)
{
    home.write("202403.sch", crlf({scheduleLine(5, "", "B"), scheduleLine(5, "", "a"), scheduleLine(5, "", sj("か"))}));
    auto w = open(request(ListMode::Schedules));
    w->show();
    selectRows(*w, {1});
    QHeaderView* header = w->ListView->header();
    auto clickColumn = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    clickColumn(4);
    EXPECT_EQ(column(*w, 4), (QStringList{"か", "B", "a"}));
    clickColumn(4);
    EXPECT_EQ(column(*w, 4), (QStringList{"a", "B", "か"}));
    ASSERT_EQ(w->SelectedRows().size(), 1u);
    EXPECT_EQ(RecTitle(w->SelectedRows()[0]->text), "a") << "the selection follows its row";
    const std::vector<const ListRow*> shown = w->ShownRows();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(RecTitle(shown[0]->text) + RecTitle(shown[1]->text) + RecTitle(shown[2]->text), sj("aBか"));
}

TEST_F(FormEditFixture, DeletingRowsOfMarchAndAprilTogether)
{
    home.write("202403.sch",
               crlf({scheduleLine(30, "", "m1"), scheduleLine(31, "", "m2"), scheduleLine(31, "", "m3")}));
    home.write("202404.sch", crlf({scheduleLine(1, "", "a1"), scheduleLine(2, "", "a2")}));
    auto w = open(request(ListMode::Schedules));
    w->BtnView[3]->trigger();
    ASSERT_EQ(w->ListView->model()->rowCount(), 5);
    selectRows(*w, {0, 2, 3});

    platform.messageAnswers.push_back(MessageAnswer::No);
    w->DelClick();
    EXPECT_EQ(home.read("202403.sch"),
              crlf({scheduleLine(30, "", "m1"), scheduleLine(31, "", "m2"), scheduleLine(31, "", "m3")}));
    EXPECT_FALSE(w->changed());

    w->DelClick();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].caption, "スケジュールの削除");
    EXPECT_EQ(platform.messages[1].text, "3件のスケジュールを削除します。\r\nよろしいですか？");
    EXPECT_EQ(platform.messages[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(home.read("202403.sch"), crlf({scheduleLine(31, "", "m2")}));
    EXPECT_EQ(home.read("202404.sch"), crlf({scheduleLine(2, "", "a2")}));
    EXPECT_TRUE(w->changed());
    EXPECT_EQ(column(*w, 4), (QStringList{"m2", "a2"})) << "the view is refilled";
}

TEST_F(FormEditFixture, DeletingARowChangedMeanwhileIsRefused)
{
    home.write("202403.sch", crlf({scheduleLine(5, "", "mine")}));
    auto w = open(request(ListMode::Schedules));
    home.write("202403.sch", crlf({scheduleLine(5, "", "theirs")}));
    w->DelClick();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, "「mine」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(platform.messages[1].text, "スケジュールが他で変更されています。\r\n表示を更新します。");
    EXPECT_EQ(home.read("202403.sch"), crlf({scheduleLine(5, "", "theirs")}));
    EXPECT_EQ(column(*w, 4), QStringList{"theirs"});
}

TEST_F(FormEditFixture, CorrectionReplacesItsLineAndCopyAddsOne)
{
    home.write("202403.sch", crlf({scheduleLine(5, "", "same"), scheduleLine(5, "", "same")}));
    auto w = open(request(ListMode::Schedules));
    selectRows(*w, {1});
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("スケジュール訂正"));
        input.CmbTitle->setEditText("changed");
        input.BtnOkClick();
        return input.result();
    });
    w->BtnRep->trigger();
    EXPECT_EQ(home.read("202403.sch"), crlf({scheduleLine(5, "", "changed"), scheduleLine(5, "", "same")}));
    EXPECT_TRUE(w->changed());
    EXPECT_EQ(column(*w, 4), (QStringList{"changed", "same"}));

    selectRows(*w, {1});
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("スケジュール複写"));
        input.DtpSchDate->setDate(QDate(2024, 4, 1));
        input.BtnOkClick();
        return input.result();
    });
    w->MenuCopy->trigger();
    EXPECT_EQ(home.read("202404.sch"), crlf({scheduleLine(1, "", "same")}));
    EXPECT_EQ(home.read("202403.sch"), crlf({scheduleLine(5, "", "changed"), scheduleLine(5, "", "same")}));
}

TEST_F(FormEditFixture, ReturnCorrectsAndDeleteDeletesFromTheKeyboard)
{
    home.write("202403.sch", crlf({scheduleLine(5, "", "x")}));
    auto w = open(request(ListMode::Schedules));
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->ListView->setFocus();
    QTest::keyClick(w->ListView, Qt::Key_Return);
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgSchInput");
    platform.messageAnswers.push_back(MessageAnswer::No);
    QTest::keyClick(w->ListView, Qt::Key_Delete);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "スケジュールの削除");
}

TEST_F(FormEditFixture, HolidayListByKindWithItsOwnCaptions)
{
    home.write("Holiday.dat", crlf({" 1 11949    000" + sj("元日"), "99          510" + sj("月末"),
                                    "            001" + sj("定休日"), " 3 3        002" + sj("記念")}));
    auto w = open(request(ListMode::Holidays));
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("祝日・休日・記念日一覧"));
    EXPECT_EQ(w->BtnView[0]->text(), QString::fromUtf8("祝日"));
    EXPECT_EQ(w->MenuView[1]->text(), QString::fromUtf8("休日(&R)"));
    EXPECT_EQ(w->BtnView[3]->text(), "ALL");
    EXPECT_FALSE(w->MenuCsvSave->isVisible());
    EXPECT_FALSE(w->BtnCopy->isVisible());
    EXPECT_EQ(column(*w, 1), (QStringList{QString::fromUtf8("01月01日"), QString::fromUtf8("毎月最終月曜日")}));
    EXPECT_EQ(column(*w, 0), (QStringList{"0000", "0001"}));
    EXPECT_EQ(w->ListView->font().family(), QString::fromUtf8("ＭＳ ゴシック"));

    w->BtnView[1]->trigger();
    EXPECT_EQ(column(*w, 1), QStringList{QString::fromUtf8("毎週日曜日")});
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgHolidayInput&>(dialog);
        EXPECT_EQ(input.CmbBunrui->currentText(), QString::fromUtf8("休日")) << "the kind of the view";
        input.EdtTitle->setText(QString::fromUtf8("棚卸"));
        input.BtnOkClick();
        return input.result();
    });
    w->BtnAdd->trigger();
    EXPECT_EQ(column(*w, 2).size(), 2);
    EXPECT_TRUE(w->changed());
    EXPECT_EQ(home.read("Holiday.dat").find(" 3 5        001" + sj("棚卸")) != std::string::npos, true);
}

TEST_F(FormEditFixture, HolidayRowsAreCorrectedAndDeleted)
{
    home.write("Holiday.dat", crlf({" 1 11949    000" + sj("元日"), " 5 51948    000" + sj("こどもの日")}));
    auto w = open(request(ListMode::Holidays));
    selectRows(*w, {1});
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgHolidayInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("祝日・休日・記念日訂正"));
        EXPECT_EQ(input.EdtTitle->text(), QString::fromUtf8("こどもの日"));
        input.CmbBunrui->setCurrentIndex(2);
        input.BtnOkClick();
        return input.result();
    });
    w->BtnRep->trigger();
    EXPECT_EQ(home.read("Holiday.dat"), crlf({" 1 11949    000" + sj("元日"), " 5 51948    002" + sj("こどもの日")}));

    w->BtnView[3]->trigger();
    selectRows(*w, {0});
    w->BtnDel->trigger();
    EXPECT_EQ(platform.messages.back().caption, "祝日・休日・記念日の削除");
    EXPECT_EQ(platform.messages.back().text, "「元日」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(home.read("Holiday.dat"), crlf({" 5 51948    002" + sj("こどもの日")}));
}

TEST_F(FormEditFixture, MemoListOpensOnTheMonthWithoutAdd)
{
    home.write("20240305.mem", crlf({"a", "b"}));
    home.write("20240306.mem", crlf({"c"}));
    home.write("20240401.mem", crlf({"d"}));
    auto w = open(request(ListMode::Memos));
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("メモ一覧"));
    EXPECT_TRUE(w->BtnView[1]->isChecked());
    EXPECT_FALSE(w->BtnAdd->isEnabled());
    EXPECT_FALSE(w->MenuAdd->isEnabled());
    EXPECT_FALSE(w->MenuCsvSave->isVisible());
    EXPECT_EQ(column(*w, 2), (QStringList{"ab", "c"}));
    EXPECT_FALSE(w->BtnRep->isEnabled()) << "no memo editor was given";

    w->DelClick();
    EXPECT_EQ(platform.messages.back().caption, "メモの削除");
    EXPECT_EQ(platform.messages.back().text, "「2024年03月05日」のメモを削除します。\r\nよろしいですか？");
    EXPECT_FALSE(home.exists("20240305.mem"));
    EXPECT_TRUE(home.exists("20240306.mem"));
}

TEST_F(FormEditFixture, MemoRowsOpenTheGivenEditor)
{
    home.write("20240305.mem", crlf({"a"}));
    FormEditRequest r = request(ListMode::Memos);
    std::vector<Date> edited;
    r.editDayMemo = [&](const Date& date, QWidget*) {
        edited.push_back(date);
        home.write("20240305.mem", crlf({"edited"}));
        return true;
    };
    auto w = open(r);
    ASSERT_TRUE(w->BtnRep->isEnabled());
    w->BtnRep->trigger();
    ASSERT_EQ(edited.size(), 1u);
    EXPECT_EQ(edited[0], (Date{2024, 3, 5}));
    EXPECT_EQ(column(*w, 2), QStringList{"edited"});
    EXPECT_TRUE(w->changed());
}

TEST_F(FormEditFixture, SearchResultsWithTheirCriteria)
{
    home.write("202403.sch", crlf({scheduleLine(5, "", "Meeting"), scheduleLine(9, "", "lunch")}));
    FormEditRequest r = request(ListMode::Schedules);
    r.search = SearchCriteria{};
    r.search->keyword = "meet";
    auto w = open(r);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("スケジュール検索結果"));
    EXPECT_EQ(column(*w, 4), QStringList{"Meeting"});
    EXPECT_EQ(w->statusText(), QString::fromUtf8("検索結果 [1件]"));
    for (QAction* a : w->BtnView)
        EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(w->nothingFound());

    // Adding in a result list starts at today; the search runs again afterwards.
    platform.setToday(2024, 3, 20);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.DtpSchDate->date(), QDate(2024, 3, 20));
        input.CmbTitle->setEditText("meet again");
        input.BtnOkClick();
        return input.result();
    });
    w->BtnAdd->trigger();
    EXPECT_EQ(column(*w, 4), (QStringList{"Meeting", "meet again"}));
    EXPECT_EQ(w->statusText(), QString::fromUtf8("検索結果 [2件]"));

    r.search->keyword = "nothing";
    auto none = open(r);
    EXPECT_TRUE(none->nothingFound());
    EXPECT_EQ(none->statusText(), QString::fromUtf8("検索結果 [0件]"));

    FormEditRequest memos = request(ListMode::Memos);
    memos.search = SearchCriteria{SearchTarget::Memos, "x", LetterCase::Ignore, {}, {}, {}};
    EXPECT_EQ(open(memos)->windowTitle(), QString::fromUtf8("メモ検索結果"));
}

TEST_F(FormEditFixture, CsvOfASearchHoldsTheFoundRowsInTheOrderShown)
{
    home.write("202403.sch",
               crlf({scheduleLine(5, "09:00", "b meet"), scheduleLine(6, "", "lunch"), scheduleLine(7, "", "a meet")}));
    FormEditRequest r = request(ListMode::Schedules);
    r.search = SearchCriteria{};
    r.search->keyword = "meet";
    auto w = open(r);
    ASSERT_TRUE(w->MenuCsvSave->isVisible());
    ASSERT_TRUE(w->MenuCsvSave->isEnabled());
    w->ListViewColumnClick(4); // titles descending: "b meet" before "a meet"
    w->ListViewColumnClick(4); // ascending
    platform.fileAnswers.push_back(home.file("found.csv"));
    w->MenuCsvSave->trigger();
    EXPECT_EQ(platform.fileDialogFolders.back(), home.file("Sch.csv"));
    EXPECT_EQ(home.read("found.csv"), crlf({"2024/03/07,,,\"a meet\",,", "2024/03/05,09:00,,\"b meet\",,"}))
        << "a title with a blank is quoted";
}
