// The ToDo panel alone with its commands, offscreen with the fake platform; today is
// 8 December 2026.
#include "todo/qt/TodoPanel.h"

#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "schedule/CategoryFiles.h"
#include "schedule/ScheduleRecord.h"
#include "schedule/TDlgSchInput.h"
#include "support/PanelFixture.h"
#include "todo/TDlgTodoInput.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace kal;
using namespace kal::test;

namespace {

// A line written out by hand: deadline, priority, progress, done, done date, memo, title.
std::string todo(const std::string& deadline, const std::string& fixed, const std::string& memo,
                 const std::string& title, const std::string& doneDate = "2026/12/01", const std::string& category = "")
{
    return deadline + fixed + doneDate + category + std::string(14 - category.size(), ' ') + memo + title;
}

const std::string kWorkLine = "Work          1 0000025516777215";

struct TodoPanelFixture : PanelFixture {
    std::optional<ScheduleRef> schedule; // the day list's selection
    CategoryTable categories;
    std::vector<Date> shownDates; // where the calendar was asked to go
    std::unique_ptr<qt::TodoPanel> panel;

    // The panel as the window builds it: columns, colours, icons and the lists filled.
    void start(const std::string& extraSettings = "")
    {
        readSettings(extraSettings);
        categories = CategoryTable(files::loadLines(home.file(kCategoryFileName)));
        panel = std::make_unique<qt::TodoPanel>(
            context,
            qt::TodoPanelLinks{[this] { return schedule; }, [this]() -> const CategoryTable& { return categories; },
                               [this](const Date& date) { shownDates.push_back(date); }},
            &window);
        panel->TodoListCreate();
        panel->TodoSet();
        panel->TodoIconSetup();
        panel->resize(320, 240);
        window.show();
        panel->ToDoEdit();
    }
    QTreeWidget* open() const { return panel->ListTodoNo; }
    QTreeWidget* done() const { return panel->ListTodoOk; }

    static int columnOf(QTreeWidget* list, const char* caption)
    {
        for (int c = 0; c < list->columnCount(); ++c)
            if (list->headerItem()->text(c) == QString::fromUtf8(caption))
                return c;
        return -1;
    }
    static QStringList column(QTreeWidget* list, const char* caption)
    {
        QStringList texts;
        const int c = columnOf(list, caption);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(c);
        return texts;
    }
    static QStringList titles(QTreeWidget* list) { return column(list, "件名"); }
    static QTreeWidgetItem* rowTitled(QTreeWidget* list, const QString& title)
    {
        const int c = columnOf(list, "件名");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(c) == title)
                return list->topLevelItem(i);
        return nullptr;
    }
    static void tick(QTreeWidget* list, const char* title, bool checked)
    {
        rowTitled(list, title)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
    void select(QTreeWidget* list, std::initializer_list<const char*> rowTitles)
    {
        panel->PageTodo->setCurrentWidget(list);
        list->clearSelection();
        for (const char* title : rowTitles) {
            QTreeWidgetItem* item = rowTitled(list, title);
            list->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            item->setSelected(true);
        }
        panel->PopupToDoPopup();
    }
    void clickHeader(QTreeWidget* list, const char* caption)
    {
        QHeaderView* header = list->header();
        const int c = columnOf(list, caption);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + header->sectionSize(c) / 2, 5));
    }
    static QImage iconOf(QTreeWidgetItem* item) { return item->icon(0).pixmap(16, 16).toImage(); }
};

} // namespace

TEST_F(TodoPanelFixture, ListsShowTheEntriesWithIconsByDaysLeftAndTheirCounts)
{
    home.write("ToDo.dat",
               crlf({todo("2026/12/05", "1000", "01", "overdue"), todo("2026/12/08", "1000", "02", "today"),
                     todo("2026/12/11", "1000", "03", "in three"), "not a record",
                     todo("2026/12/12", "1000", "04", "in four"), todo(sj("期限日なし"), "1000", "05", "none"),
                     todo("2026/12/01", "1101", "06", "finished", "2026/12/02")}));
    for (const char* icons : {"1", "0"}) {
        SCOPED_TRACE(icons);
        start(std::string("[ToDo]\r\nTNoIcon=") + icons + "\r\n[View]\r\nCalView=111111001\r\n");
        EXPECT_EQ(panel->PageTodo->tabText(0), QString::fromUtf8("ToDo 未処理 [ 5件]"));
        EXPECT_EQ(panel->PageTodo->tabText(1), QString::fromUtf8("ToDo 処理済 [ 1件]"));
        EXPECT_EQ(titles(open()), (QStringList{"overdue", "today", "in three", "in four", "none"}));
        EXPECT_EQ(titles(done()), QStringList{"finished"});
        EXPECT_EQ(column(open(), "期限日").last(), QString::fromUtf8("なし"));
        EXPECT_EQ(open()->headerItem()->text(0), QString::fromUtf8(icons[0] == '1' ? "状況" : ""));
        if (icons[0] == '1') {
            const qt::TodoIconSet set = qt::LoadTodoIcons(home.path(), {});
            const int expected[] = {1, 2, 3, 4, 4};
            for (int i = 0; i < 5; ++i)
                EXPECT_EQ(iconOf(open()->topLevelItem(i)), set[static_cast<std::size_t>(expected[i])].toImage()) << i;
        } else {
            EXPECT_TRUE(open()->topLevelItem(0)->icon(0).isNull());
        }
    }
}

TEST_F(TodoPanelFixture, UpdatingMovesTickedRowsAndStampsTodayAsDoneDate)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1070", "01", "open one"),
                                 todo("2026/12/01", "1101", "02", "done one", "2026/11/30")}));
    start();
    tick(open(), "open one", true);
    tick(done(), "done one", false);
    panel->PopUpdate->trigger();
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/10", "1071", "01", "open one", "2026/12/08"),
                                           todo("2026/12/01", "1100", "02", "done one", "2026/11/30")}))
        << "progress stays; a reopened entry keeps its done date";
    EXPECT_EQ(titles(open()), QStringList{"done one"});
    EXPECT_EQ(titles(done()), QStringList{"open one"});
    EXPECT_EQ(column(done(), "期限日"), QStringList{"26/12/10"});
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(TodoPanelFixture, TicksNotYetStoredSurviveARefillByEntryNotByRow)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "b"), todo("2026/12/10", "1000", "02", "c")}));
    start();
    tick(open(), "c", true);
    // A new entry sorts in front of both: every row moves down one.
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgTodoInput&>(dialog);
        input.DtpTodoLimit->setDate(QDate(2026, 12, 9));
        input.EditTitle->setText("a");
        input.BtnOkClick();
        return input.result();
    });
    panel->TBtnTodoNew->trigger();
    EXPECT_EQ(titles(open()), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(rowTitled(open(), "c")->checkState(0), Qt::Checked);
    EXPECT_EQ(rowTitled(open(), "b")->checkState(0), Qt::Unchecked);
    EXPECT_EQ(rowTitled(open(), "a")->checkState(0), Qt::Unchecked);

    panel->ToDoEdit(); // the periodic refresh
    EXPECT_EQ(rowTitled(open(), "c")->checkState(0), Qt::Checked);
    panel->PopUpdateClick();
    EXPECT_EQ(titles(done()), QStringList{"c"});
}

TEST_F(TodoPanelFixture, DeleteAsksForOneByTitleAndForSeveralByCount)
{
    const std::string longTitle = sj("とても長い件名のToDoエントリです");
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", longTitle), todo("2026/12/11", "1000", "02", "b"),
                                 todo("2026/12/12", "1000", "03", "c"), todo("2026/12/13", "1000", "04", "d")}));
    home.write("ToDoMemo.dat", crlf({"01,one", "02,two", "04,four"}));
    start();
    select(open(), {"とても長い件名のToDoエントリです"});
    platform.messageAnswers.push_back(MessageAnswer::No);
    panel->PopToDoDel->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "ToDoの削除");
    EXPECT_EQ(platform.messages[0].text, "ToDo「とても長い件名のToDo」を削除します。\r\nよろしいですか？")
        << "the first 20 bytes of the title";
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(files::loadLines(home.file("ToDo.dat")).size(), 4u);

    select(open(), {"とても長い件名のToDoエントリです", "b", "d"});
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    panel->TodoDel();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "3件のToDoを削除します。\r\nよろしいですか？");
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/12", "1000", "03", "c")}));
    EXPECT_EQ(home.read("ToDoMemo.dat"), "");
    EXPECT_EQ(titles(open()), QStringList{"c"});
    EXPECT_EQ(panel->PageTodo->tabText(0), QString::fromUtf8("ToDo 未処理 [ 1件]"));
}

TEST_F(TodoPanelFixture, TheDeleteKeyInAListDeletesItsSelectedEntries)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "a")}));
    start();
    select(open(), {"a"});
    open()->setFocus();
    QTest::keyClick(open(), Qt::Key_Delete);
    EXPECT_EQ(home.read("ToDo.dat"), "");
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(titles(open()), QStringList{});
}

TEST_F(TodoPanelFixture, HeaderClicksSortDescendingFirstInJapaneseOrderAndDaysLeftAsNumbers)
{
    home.write("ToDo.dat",
               crlf({todo("2026/12/20", "1000", "01", "B"), todo("2026/12/05", "1000", "02", sj("か")),
                     todo(sj("期限日なし"), "1000", "03", "a"), todo("2026/12/13", "1000", "04", sj("ｱ"))}));
    start("[ToDo]\r\nTNoItem=1111000\r\n");
    clickHeader(open(), "件名");
    EXPECT_EQ(titles(open()), (QStringList{"か", "ｱ", "B", "a"}));
    clickHeader(open(), "件名");
    EXPECT_EQ(titles(open()), (QStringList{"a", "B", "ｱ", "か"}));
    clickHeader(open(), "残日数");
    EXPECT_EQ(column(open(), "残日数"), (QStringList{"", "12", "5", "-3"}));
    clickHeader(open(), "残日数");
    EXPECT_EQ(column(open(), "残日数"), (QStringList{"-3", "5", "12", ""}));
    // Rows keep their entries: ticking the sorted first row and updating closes that entry.
    open()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    panel->PopUpdateClick();
    EXPECT_EQ(titles(done()), QStringList{"か"});
    EXPECT_EQ(titles(open()), (QStringList{"B", "a", "ｱ"})) << "a refill shows the file's order again";
}

TEST_F(TodoPanelFixture, AnEntryChangedElsewhereIsNotWrittenAndTheListsShowTheFile)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "a")}));
    start();
    tick(open(), "a", true);
    const std::string elsewhere = crlf({todo("2026/12/10", "1000", "01", "a, edited elsewhere")});
    home.write("ToDo.dat", elsewhere);
    panel->PopUpdate->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "ToDoが他で変更されています。\r\n表示を更新します。");
    EXPECT_EQ(home.read("ToDo.dat"), elsewhere);
    EXPECT_EQ(titles(open()), QStringList{"a, edited elsewhere"});
    EXPECT_EQ(open()->topLevelItem(0)->checkState(0), Qt::Unchecked);

    select(open(), {"a, edited elsewhere"});
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "gone")}));
    panel->ToDoRep();
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(dialogs.shownClasses.empty()) << "no dialog opens on a changed entry";
    EXPECT_EQ(titles(open()), QStringList{"gone"});
}

TEST_F(TodoPanelFixture, AMissingFileEmptiesTheListsAndTheNextSaveStartsAfresh)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "old folder")}));
    start();
    ASSERT_EQ(titles(open()).size(), 1);
    files::deleteFile(home.file("ToDo.dat"));
    panel->ToDoEdit();
    EXPECT_TRUE(panel->todoLines().empty());
    EXPECT_EQ(open()->topLevelItemCount(), 0);
    EXPECT_EQ(panel->PageTodo->tabText(0), QString::fromUtf8("ToDo 未処理 [ 0件]"));
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgTodoInput&>(dialog);
        input.EditTitle->setText("new");
        input.BtnOkClick();
        return input.result();
    });
    panel->ToDoNew();
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/08", "1000", "01", "new", "2026/12/08")}));
}

// Once the event loop has run, another writer may have changed what the start read.
TEST_F(TodoPanelFixture, TheStartsReadingFillsTheListsOnlyUntilTheEventLoopRuns)
{
    for (bool loopRan : {false, true}) {
        SCOPED_TRACE(loopRan);
        home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "at start")}));
        start();
        panel->ReadTodoLines();
        home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "changed")}));
        if (loopRan)
            QTest::qWait(0);
        panel->ToDoEdit();
        EXPECT_EQ(titles(open()), QStringList{loopRan ? "changed" : "at start"});
        panel->ToDoEdit();
        EXPECT_EQ(titles(open()), QStringList{"changed"}) << "the start's reading is used once";
    }
}

TEST_F(TodoPanelFixture, DoubleClickCorrectsTheRowAndANewEntryOnTheDoneTabIsDone)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "a")}));
    start();
    QTreeWidgetItem* row = open()->topLevelItem(0);
    row->setCheckState(0, Qt::Checked);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgTodoInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("ToDo訂正"));
        EXPECT_TRUE(input.ChkTask->isChecked()) << "the row's tick, not the stored flag";
        return int(QDialog::Rejected);
    });
    const QPoint onTitle = open()->visualItemRect(row).center() + QPoint(60, 0);
    QTest::mouseClick(open()->viewport(), Qt::LeftButton, {}, onTitle);
    QTest::mouseDClick(open()->viewport(), Qt::LeftButton, {}, onTitle);
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    // Return on the current row does the same.
    open()->setCurrentItem(row);
    QTest::keyClick(open(), Qt::Key_Return);
    ASSERT_EQ(dialogs.shownClasses.size(), 2u);
    EXPECT_EQ(dialogs.shownTitles[1], QString::fromUtf8("ToDo訂正"));

    panel->PageTodo->setCurrentIndex(1);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgTodoInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("ToDo新規登録"));
        input.EditTitle->setText("already done");
        input.BtnOkClick();
        return input.result();
    });
    panel->ToDoRep(); // nothing selected on the done tab: a new entry
    EXPECT_EQ(files::loadLines(home.file("ToDo.dat")).at(0),
              todo("2026/12/08", "1001", "02", "already done", "2026/12/08"));
}

TEST_F(TodoPanelFixture, AScheduleCopiedToToDoTakesItsTitleAndCategory)
{
    home.write("Category.tbl", crlf({kWorkLine}));
    ScheduleFields work;
    work.day = 8;
    work.title = "meeting";
    work.category = "Work";
    ScheduleFields other = work;
    other.title = "lunch";
    other.category = "Unknown";
    home.write("202612.sch", crlf({ComposeSchedule(other), ComposeSchedule(work)}));
    start();
    for (const auto& [index, title] : {std::pair{1, "meeting"}, std::pair{0, "lunch"}}) {
        SCOPED_TRACE(title);
        schedule =
            ScheduleRef{MonthFilePath(settings.dataPath, 2026, 12), index, ComposeSchedule(index == 1 ? work : other)};
        dialogs.handlers.push_back([](QDialog& dialog) {
            auto& input = dynamic_cast<TDlgTodoInput&>(dialog);
            EXPECT_EQ(input.windowTitle(), QString::fromUtf8("スケジュールをToDoにコピー"));
            input.BtnOkClick();
            return input.result();
        });
        panel->PoPTodoCopyClick();
    }
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/08", "1000", "02", "lunch", "2026/12/08"),
                                           todo("2026/12/08", "1000", "01", "meeting", "2026/12/08", "Work")}))
        << "a category missing from the table gives a ToDo without category";
    EXPECT_EQ(titles(open()), (QStringList{"lunch", "meeting"}));
}

TEST_F(TodoPanelFixture, AToDoCopiedToASchedulePresetsDateTitleAndCategory)
{
    home.write("Category.tbl", crlf({kWorkLine}));
    const std::string longTitle = std::string(30, 'x') + sj("あいうえおか");
    home.write("ToDo.dat", crlf({todo("2026/12/24", "1000", "01", longTitle, "2026/12/01", "Work"),
                                 todo(sj("期限日なし"), "1000", "02", "undated")}));
    start();
    select(open(), {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxあいうえおか"});
    ASSERT_TRUE(panel->PopSchCopy->isEnabled());
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("ToDoをスケジュールにコピー"));
        EXPECT_EQ(input.DtpSchDate->date(), QDate(2026, 12, 24));
        EXPECT_EQ(input.CmbTitle->currentText(), QString(30, 'x') + QString::fromUtf8("あいうえお"))
            << "the first 40 bytes";
        EXPECT_EQ(input.CmbBunrui->currentIndex(), 0);
        input.BtnOkClick();
        return input.result();
    });
    panel->PopSchCopy->trigger();
    EXPECT_EQ(RecDay(files::loadLines(home.file("202612.sch")).at(0)), 24);
    EXPECT_EQ(rebuilds, 1) << "the calendar shows the new schedule";

    select(open(), {"undated"});
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.DtpSchDate->date(), QDate(2026, 12, 8)) << "today when there is no deadline";
        EXPECT_EQ(input.CmbBunrui->currentIndex(), -1);
        return int(QDialog::Rejected);
    });
    panel->PopSchCopyClick();
    EXPECT_EQ(dialogs.shownClasses.size(), 2u);
    EXPECT_EQ(home.read("ToDo.dat"), crlf({todo("2026/12/24", "1000", "01", longTitle, "2026/12/01", "Work"),
                                           todo(sj("期限日なし"), "1000", "02", "undated")}))
        << "the ToDo entry itself does not change";
}

TEST_F(TodoPanelFixture, PopupEnablingAndTheJumpToADeadline)
{
    home.write("ToDo.dat",
               crlf({todo("2025/12/31", "1000", "01", "year end"), todo(sj("期限日なし"), "1000", "02", "x")}));
    start();
    open()->clearSelection();
    panel->PopupToDoPopup();
    for (QAction* a : {panel->PopToDoDel, panel->PopToDoRep, panel->PopSchCopy, panel->PopTodoCal})
        EXPECT_FALSE(a->isEnabled()) << qt::toUtf8(a->objectName());
    EXPECT_TRUE(panel->PopToDoNew->isEnabled());
    EXPECT_TRUE(panel->PopUpdate->isEnabled());

    select(open(), {"x"});
    EXPECT_TRUE(panel->PopToDoDel->isEnabled());
    EXPECT_FALSE(panel->PopTodoCal->isEnabled()) << "no deadline to show";

    select(open(), {"year end"});
    ASSERT_TRUE(panel->PopTodoCal->isEnabled());
    panel->PopTodoCal->trigger();
    EXPECT_EQ(shownDates, std::vector<Date>{(Date{2025, 12, 31})});
}

TEST_F(TodoPanelFixture, AUsersOwnIconReplacesTheBuiltInOneUnlessItCannotBeRead)
{
    home.write("ToDo.dat", crlf({todo("2026/12/08", "1000", "01", "today")}));
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(qt::fromUtf8(home.file("TNoicon2.sbm")), "BMP"));
    const qt::TodoIconSet builtIn = qt::LoadTodoIcons(home.path(), {});
    start("[ToDo]\r\nSetIcon=0100\r\n");
    EXPECT_EQ(iconOf(open()->topLevelItem(0)).pixel(8, 8), QColor(Qt::red).rgb());

    for (const char* broken : {"missing", "not a picture"}) {
        SCOPED_TRACE(broken);
        files::deleteFile(home.file("TNoicon2.sbm"));
        if (std::string(broken) != "missing")
            home.write("TNoicon2.sbm", broken);
        start("[ToDo]\r\nSetIcon=0100\r\n");
        EXPECT_EQ(iconOf(open()->topLevelItem(0)), builtIn[2].toImage());
    }
}

TEST_F(TodoPanelFixture, CheckBoxIconAndDatesKeepTheirColumnsWholeInAnyFontSize)
{
    home.write("ToDo.dat",
               crlf({todo("2026/10/28", "1000", "01", "overdue"), todo(sj("期限日なし"), "1000", "02", "none"),
                     todo("2026/10/28", "1101", "03", "finished", "2026/11/30")}));
    for (int points : {9, 12, 18}) {
        SCOPED_TRACE(points);
        QFont font = window.font();
        font.setPointSize(points);
        window.setFont(font);
        start();
        for (QTreeWidget* list : {open(), done()})
            for (const char* caption : {"状況", "完", "期限日", "処理日"}) {
                const int c = columnOf(list, caption);
                if (c < 0)
                    continue;
                // What the view itself needs to show the column's contents and caption whole.
                const int given = list->columnWidth(c);
                list->resizeColumnToContents(c);
                EXPECT_GE(given, list->columnWidth(c)) << caption;
            }
    }
}
