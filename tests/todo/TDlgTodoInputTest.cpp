// The ToDo input dialog in its three modes, offscreen with the fake platform: ToDo.dat and
// ToDoMemo.dat are checked byte for byte.
#include "todo/TDlgTodoInput.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "schedule/TDlgCatSet.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/GuiInput.h"
#include "support/TempFolder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace kal;
using namespace kal::test;

namespace {

const std::string kWorkLine = "Work          1 0000025516777215";
const std::string kPrivateLine = sj("私用") + "          1 ";

// A line written out by hand: deadline, priority, progress, done, done date, category, memo, title.
std::string todo(const std::string& deadline, const std::string& fixed, const std::string& doneDate,
                 const std::string& category, const std::string& memo, const std::string& title)
{
    return deadline + fixed + doneDate + category + std::string(14 - category.size(), ' ') + memo + title;
}

struct TodoInputFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    void SetUp() override
    {
        platform.setToday(2026, 12, 8);
        home.write("Category.tbl", crlf({kWorkLine, kPrivateLine}));
    }
    TodoInputRequest request(TodoInputMode mode) const
    {
        TodoInputRequest r{.follower = store::Follower::none()};
        r.mode = mode;
        r.todoFolder = home.path();
        r.programFolder = home.path();
        r.date = Date{2026, 12, 20};
        return r;
    }
    TodoInputRequest editRequest(int index) const
    {
        TodoInputRequest r = request(TodoInputMode::Edit);
        r.edited = store::LineRef{home.file("ToDo.dat"), index,
                                  files::loadLines(home.file("ToDo.dat")).at(static_cast<std::size_t>(index))};
        return r;
    }
    std::unique_ptr<TDlgTodoInput> open(const TodoInputRequest& r)
    {
        return std::make_unique<TDlgTodoInput>(services, r);
    }
    static void pressOk(TDlgTodoInput& d) { QTest::mouseClick(d.BtnOk, Qt::LeftButton); }
};

} // namespace

static_assert(!std::is_default_constructible_v<TodoInputRequest>, "a caller must name the follower");

TEST_F(TodoInputFixture, NewEntryWithEveryFieldAndItsMemo)
{
    auto d = open(request(TodoInputMode::New));
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("ToDo新規登録"));
    EXPECT_EQ(d->DtpTodoLimit->date(), QDate(2026, 12, 20));
    EXPECT_EQ(d->RadioPriButtons->checkedId(), 1) << "Ｂ by default";
    EXPECT_FALSE(d->ChkTask->isChecked());
    EXPECT_FALSE(d->DtpTodoOk->isEnabled());
    EXPECT_EQ(d->CmbBunrui->currentIndex(), -1);
    EXPECT_EQ(d->LabelProgress->text(), "0%");

    d->EditTitle->setText(QString::fromUtf8("見積書を送る"));
    d->MemoTodo->setPlainText(QString::fromUtf8("宛先: 山田様\n\n\"至急\", 午前中"));
    d->RadioPriButtons->button(0)->setChecked(true);
    d->CmbBunrui->setCurrentIndex(1);
    d->TrackProgress->setValue(5);
    EXPECT_EQ(d->LabelProgress->text(), "50%");
    QSignalSpy accepted(d.get(), &QDialog::accepted);
    pressOk(*d);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(home.read("ToDo.dat"),
              crlf({todo("2026/12/20", "0050", "2026/12/20", sj("私用"), "01", sj("見積書を送る"))}));
    EXPECT_EQ(home.read("ToDoMemo.dat"),
              crlf({"01,\"" + sj("宛先: 山田様") + "\",,\"\"\"" + sj("至急") + "\"\", " + sj("午前中") + "\""}));
}

TEST_F(TodoInputFixture, NoDeadlineAndDoneDateAsTicked)
{
    TodoInputRequest r = request(TodoInputMode::New);
    r.done = true; // a new entry from the done tab
    auto d = open(r);
    EXPECT_TRUE(d->ChkTask->isChecked());
    EXPECT_TRUE(d->DtpTodoOk->isEnabled());
    QTest::mouseClick(d->ChkNonLimit, Qt::LeftButton);
    EXPECT_FALSE(d->DtpTodoLimit->isEnabled());
    d->DtpTodoOk->setDate(QDate(2026, 12, 7));
    d->EditTitle->setText("done");
    pressOk(*d);
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo(sj("期限日なし"), "1001", "2026/12/07", "", "01", "done")}))
        << "the deadline picker's date is ignored";
    EXPECT_FALSE(home.exists("ToDoMemo.dat"));
}

TEST_F(TodoInputFixture, EditShowsTheEntryAndKeepsItsMemoNumber)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "2070", "2026/12/01", "Work", "04", "old title"),
                                 todo("2026/12/11", "1000", "2026/12/01", "", "05", "other")}));
    home.write("ToDoMemo.dat", crlf({"04,\"line one\",\"line two\"", "05,other memo"}));
    TodoInputRequest r = editRequest(0);
    r.done = true; // the row's check box, not the stored flag
    auto d = open(r);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("ToDo訂正"));
    EXPECT_EQ(d->DtpTodoLimit->date(), QDate(2026, 12, 10));
    EXPECT_FALSE(d->ChkNonLimit->isChecked());
    EXPECT_EQ(d->RadioPriButtons->checkedId(), 2);
    EXPECT_EQ(d->TrackProgress->value(), 7);
    EXPECT_EQ(d->LabelProgress->text(), "70%");
    EXPECT_EQ(d->CmbBunrui->currentIndex(), 0);
    EXPECT_EQ(d->EditTitle->text(), "old title");
    EXPECT_EQ(d->MemoTodo->toPlainText(), "line one\nline two");
    EXPECT_TRUE(d->ChkTask->isChecked());
    EXPECT_EQ(d->DtpTodoOk->date(), QDate(2026, 12, 1));

    d->MemoTodo->setPlainText("replaced");
    d->EditTitle->setText("new title");
    pressOk(*d);
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/10", "2071", "2026/12/01", "Work", "04", "new title"),
                                           todo("2026/12/11", "1000", "2026/12/01", "", "05", "other")}));
    EXPECT_EQ(home.read("ToDoMemo.dat"), crlf({"04,replaced", "05,other memo"}));
}

TEST_F(TodoInputFixture, EmptyingTheMemoStoresNoKeyAndKeepsTheOthers)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "2026/12/01", "", "01", "a"),
                                 todo("2026/12/11", "1000", "2026/12/01", "", "02", "b")}));
    home.write("ToDoMemo.dat", crlf({"01,first", "02,second"}));
    auto d = open(editRequest(1));
    d->MemoTodo->clear();
    pressOk(*d);
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/10", "1000", "2026/12/01", "", "01", "a"),
                                           todo("2026/12/11", "1000", "2026/12/01", "", "00", "b")}));
    EXPECT_EQ(home.read("ToDoMemo.dat"), crlf({"01,first"}));
}

TEST_F(TodoInputFixture, CopyFromAScheduleSelectsItsCategoryOrNone)
{
    for (int category : {0, -1}) {
        SCOPED_TRACE(category);
        TodoInputRequest r = request(TodoInputMode::CopyFromSchedule);
        r.title = sj("打ち合わせ");
        r.categoryIndex = category;
        auto d = open(r);
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8("スケジュールをToDoにコピー"));
        EXPECT_EQ(d->EditTitle->text(), QString::fromUtf8("打ち合わせ"));
        EXPECT_EQ(d->CmbBunrui->currentIndex(), category);
        EXPECT_EQ(d->DtpTodoLimit->date(), QDate(2026, 12, 20));
        EXPECT_EQ(d->DtpTodoOk->date(), QDate(2026, 12, 8)) << "the done date is not taken from the calendar";
    }
    auto d = open([&] {
        TodoInputRequest r = request(TodoInputMode::CopyFromSchedule);
        r.title = "copied";
        return r;
    }());
    pressOk(*d);
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/20", "1000", "2026/12/08", "", "01", "copied")}));
}

TEST_F(TodoInputFixture, ConfirmingTheCategoryDialogClearsTheChoice)
{
    auto d = open(request(TodoInputMode::New));
    d->CmbBunrui->setCurrentIndex(1);
    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_NE(dynamic_cast<TDlgCatSet*>(&dialog), nullptr);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(d->BtnCat, Qt::LeftButton);
    EXPECT_EQ(d->CmbBunrui->currentIndex(), -1);
    EXPECT_EQ(d->CmbBunrui->count(), 2);
    d->CmbBunrui->setCurrentIndex(1);
    QTest::mouseClick(d->BtnCat, Qt::LeftButton); // cancelled
    EXPECT_EQ(d->CmbBunrui->currentIndex(), 1);
}

TEST_F(TodoInputFixture, WithEveryMemoNumberTakenTheMemoCannotBeTyped)
{
    std::vector<std::string> lines;
    for (int n = 1; n <= 99; ++n)
        lines.push_back(todo("2026/12/10", "1000", "2026/12/01", "", (n < 10 ? "0" : "") + std::to_string(n), "t"));
    home.write("ToDo.dat", crlf(lines));
    auto d = open(request(TodoInputMode::New));
    EXPECT_FALSE(d->MemoTodo->isEnabled());
    d->EditTitle->setText("one more");
    pressOk(*d);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(files::loadLines(home.file("ToDo.dat")).back(),
              todo("2026/12/20", "1000", "2026/12/20", "", "00", "one more"));
    EXPECT_TRUE(open(editRequest(3))->MemoTodo->isEnabled()) << "an entry with its own number keeps its memo";
}

TEST_F(TodoInputFixture, TitleAndMemoTakeOnlyWhatShiftJisHolds)
{
    auto d = open(request(TodoInputMode::New));
    typeText(d->EditTitle, QString::fromUtf8("会議😀資料") + QString(80, 'x'));
    EXPECT_EQ(qt::sjisByteLength(d->EditTitle->text()), 80);
    EXPECT_TRUE(d->EditTitle->text().startsWith(QString::fromUtf8("会議資料"))) << qt::toUtf8(d->EditTitle->text());
    d->MemoTodo->insertPlainText(QString::fromUtf8("메모 and メモ"));
    EXPECT_EQ(d->MemoTodo->toPlainText(), QString::fromUtf8(" and メモ"));
}

TEST_F(TodoInputFixture, AnEmptyTitleIsRefused)
{
    auto d = open(request(TodoInputMode::New));
    QSignalSpy finished(d.get(), &QDialog::finished);
    pressOk(*d);
    EXPECT_EQ(finished.count(), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "入力エラー");
    EXPECT_EQ(platform.messages[0].text, "件名が未入力です。");
    EXPECT_FALSE(home.exists("ToDo.dat"));
}

TEST_F(TodoInputFixture, AnEntryChangedMeanwhileIsNotWritten)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "2026/12/01", "", "01", "a")}));
    auto d = open(editRequest(0));
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "2026/12/01", "", "01", "changed elsewhere")}));
    d->EditTitle->setText("mine");
    QSignalSpy rejected(d.get(), &QDialog::rejected);
    pressOk(*d);
    EXPECT_EQ(rejected.count(), 1);
    EXPECT_TRUE(d->changedMeanwhile());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "ToDoが他で変更されています。\r\n表示を更新します。");
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/10", "1000", "2026/12/01", "", "01", "changed elsewhere")}));
}

TEST_F(TodoInputFixture, AWriteFailureIsShownAndTheDialogStaysOpen)
{
    TodoInputRequest r = request(TodoInputMode::New);
    r.todoFolder = home.file("gone/");
    auto d = open(r);
    d->EditTitle->setText("x");
    QSignalSpy finished(d.get(), &QDialog::finished);
    pressOk(*d);
    EXPECT_EQ(finished.count(), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "ToDo新規登録");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(platform.messages[0].text.rfind("ToDoを保存できません。\r\n", 0), 0u);
}
