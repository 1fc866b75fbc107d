// The day schedule list alone and the operations started from it; the calendar's part, the
// day's entries shown again after each change, is played by the fixture.
#include "schedule/qt/DayListPanel.h"

#include "platform/Files.h"
#include "platform/qt/ResourceIcon.h"
#include "schedule/TDlgSchInput.h"
#include "support/PanelFixture.h"
#include "support/ScheduleLines.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <sys/stat.h>

#include <optional>

using namespace kal;
using namespace kal::test;

namespace {

struct DayListFixture : PanelFixture {
    std::unique_ptr<qt::DayListPanel> panel;

    void start(const std::string& extraSettings = "")
    {
        readSettings(extraSettings);
        panel = std::make_unique<qt::DayListPanel>(context, &window);
        panel->ListDaySch->setGeometry(0, 0, 320, 200);
        panel->ListCreate();
        panel->DayListSet();
        window.show();
        whenRebuilt = [this] { showDay(); };
        showDay();
    }
    // What the calendar gives the list: the selected day's records in file order.
    void showDay()
    {
        qt::DaySchedules day{selected, {}, std::nullopt, 0, false};
        const std::string file = MonthFilePath(settings.dataPath, selected.year, selected.month);
        const std::vector<std::string> lines = files::loadLines(file);
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (RecDay(lines[i]) == selected.day)
                day.entries.push_back(ScheduleRef{file, static_cast<int>(i), lines[i]});
        panel->FillDayList(day.entries);
        panel->ShowDayHeader(day);
    }
    // A handler that types a title (and optionally a start time) and presses OK.
    static FakeDialogRunner::Handler fillAndOk(const char* title, const char* start = "")
    {
        return [title, start](QDialog& dialog) {
            auto& input = dynamic_cast<TDlgSchInput&>(dialog);
            input.CmbStrhhmm->setEditText(QString::fromUtf8(start));
            input.CmbTitle->setEditText(QString::fromUtf8(title));
            input.BtnOkClick();
            return input.result();
        };
    }
    QStringList dayListTitles() const
    {
        QStringList titles;
        for (int i = 0; i < panel->ListDaySch->topLevelItemCount(); ++i)
            titles << panel->ListDaySch->topLevelItem(i)->text(3);
        return titles;
    }
    // Selects an entry and opens the pop-up's enabling, as a right click does.
    void selectEntry(int index)
    {
        QTreeWidgetItem* item = panel->ListDaySch->topLevelItem(index);
        panel->ListDaySch->setCurrentItem(item);
        item->setSelected(true);
        panel->PopupDayPopup();
    }
    // The name of the program's icon an entry draws; empty when it draws nothing or another picture.
    static QString iconOf(QTreeWidgetItem* item)
    {
        const QString name = item->data(0, Qt::UserRole + 4).toString();
        return item->icon(0).pixmap(16).toImage() == qt::resourceIcon(name).pixmap(16).toImage() ? name : QString();
    }
};

} // namespace

TEST_F(DayListFixture, AddFromTheToolButtonWritesTheMonthAndShowsTheEntry)
{
    start();
    dialogs.handlers.push_back(fillAndOk("歯医者", "10:00"));
    panel->TBtnSchAdd->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgSchInput");
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "10:00", sj("歯医者"))}));
    EXPECT_EQ(dayListTitles(), QStringList{QString::fromUtf8("歯医者")});
    EXPECT_EQ(panel->ListDaySch->topLevelItem(0)->text(1), "10:00");
    EXPECT_TRUE(panel->PanelDaySch->text().endsWith(QString::fromUtf8("[1件］")));

    // The same from the menu and the pop-up menus of the grid and the tray.
    for (QAction* entry : {panel->MenuSchAdd, panel->PopSchNew, panel->PopTraySchAdd}) {
        dialogs.handlers.push_back(fillAndOk("b"));
        entry->trigger();
    }
    EXPECT_EQ(files::loadLines(home.file("202612.sch")).size(), 4u);
    EXPECT_EQ(dayListTitles().count("b"), 3);
    EXPECT_EQ(rebuilds, 4);
}

TEST_F(DayListFixture, GreyedPreviousMonthDayAddsToThatMonthsFile)
{
    selected = Date{2026, 11, 29}; // a neighbouring month's day in the calendar
    start();
    dialogs.handlers.push_back(fillAndOk("前月"));
    panel->DaySchInputAdd();
    EXPECT_EQ(home.read("202611.sch"), crlf({scheduleLine(29, "", sj("前月"))}));
    EXPECT_FALSE(home.exists("202612.sch"));
    EXPECT_EQ(dayListTitles(), QStringList{QString::fromUtf8("前月")});
}

TEST_F(DayListFixture, TwoIdenticalRecordsAreTwoEntriesAndDeleteOneAtATime)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "same"), scheduleLine(8, "09:00", "same"),
                                   scheduleLine(9, "", "other")}));
    start();
    EXPECT_EQ(dayListTitles(), (QStringList{"same", "same"}));
    selectEntry(1);
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    panel->PopDayDel->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "スケジュールの削除");
    EXPECT_EQ(platform.messages[0].text, "「same」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "09:00", "same"), scheduleLine(9, "", "other")}));
    EXPECT_EQ(dayListTitles(), QStringList{"same"});

    selectEntry(0);
    platform.messageAnswers.push_back(MessageAnswer::No);
    panel->DaySchDel();
    EXPECT_EQ(files::loadLines(home.file("202612.sch")).size(), 2u);
}

TEST_F(DayListFixture, CorrectAndCopyAreToldApartByTheInvokingEntry)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "meeting")}));
    start();
    selectEntry(0);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("スケジュール複写"));
        input.DtpSchDate->setDate(QDate(2027, 1, 5));
        input.BtnOkClick();
        return input.result();
    });
    panel->PopDayCopy->trigger();
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "09:00", "meeting")}));
    EXPECT_EQ(home.read("202701.sch"), crlf({scheduleLine(5, "09:00", "meeting")}));

    selectEntry(0);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("スケジュール訂正"));
        EXPECT_EQ(input.CmbTitle->currentText(), "meeting");
        input.CmbTitle->setEditText("moved");
        input.DtpSchDate->setDate(QDate(2026, 12, 20));
        input.BtnOkClick();
        return input.result();
    });
    panel->PopDayRep->trigger();
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(20, "09:00", "moved")}));
    EXPECT_TRUE(dayListTitles().isEmpty());

    // Without a selected entry correction falls back to adding.
    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("スケジュール新規登録"));
        return int(QDialog::Rejected);
    });
    panel->DaySchInputRep(panel->PopDayRep);
    EXPECT_EQ(dialogs.shownTitles.size(), 3u);
}

TEST_F(DayListFixture, CorrectingAndDeletingCarryTheRecordsIdentity)
{
    const std::string record = scheduleLine(8, "09:00", "meeting");
    home.write("202612.sch", crlf({record}));
    IdentityTable known;
    known.add({"uid-1", 0, {"202612.sch", 0, record}, {}, {}, {}, {}});
    home.write(kIdentityFileName, crlf(known.lines()));
    start();
    selectEntry(0);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        input.CmbTitle->setEditText("moved");
        input.BtnOkClick();
        return input.result();
    });
    panel->PopDayRep->trigger();
    IdentityFile after = loadIdentities(home.path());
    const RecordIdentity* moved = after.table.findUid("uid-1");
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->key, (RecordKey{"202612.sch", 0, scheduleLine(8, "09:00", "moved")}));
    EXPECT_EQ(moved->sequence, 1);

    selectEntry(0);
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    panel->DaySchDel();
    EXPECT_EQ(loadIdentities(home.path()).table.findUid("uid-1"), nullptr);
}

TEST_F(DayListFixture, ARecordChangedElsewhereIsNotDeletedAndTheMonthIsRebuilt)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "mine")}));
    start();
    selectEntry(0);
    // A sync tool rewrote the file after the month was built.
    home.write("202612.sch", crlf({scheduleLine(8, "08:00", "theirs"), scheduleLine(8, "09:00", "mine")}));
    panel->DaySchDel();
    ASSERT_EQ(platform.messages.size(), 1u) << "found changed before asking, so nothing is asked";
    EXPECT_EQ(platform.messages[0].text, "スケジュールが他で変更されています。\r\n表示を更新します。");
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "08:00", "theirs"), scheduleLine(8, "09:00", "mine")}));
    EXPECT_EQ(dayListTitles(), (QStringList{"theirs", "mine"}));

    // After the rebuild the entry points at its new line and deletes exactly it.
    selectEntry(1);
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    panel->DaySchDel();
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "08:00", "theirs")}));
}

TEST_F(DayListFixture, ARecordThatVanishedIsNotAskedAbout)
{
    struct Case {
        const char* what;
        std::optional<std::string> fileAfter;
        QStringList listAfter;
    };
    const Case cases[] = {
        {"month file removed", std::nullopt, {}},
        {"record deleted elsewhere", crlf({scheduleLine(8, "10:00", "kept")}), {"kept"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        home.write("202612.sch", crlf({scheduleLine(8, "09:00", "gone"), scheduleLine(8, "10:00", "kept")}));
        start();
        selectEntry(0);
        files::deleteFile(home.file("202612.sch"));
        if (c.fileAfter)
            home.write("202612.sch", *c.fileAfter);
        panel->DaySchDel();
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(home.exists("202612.sch"), c.fileAfter.has_value());
        EXPECT_EQ(dayListTitles(), c.listAfter) << "the list shows the file again";
    }
}

TEST_F(DayListFixture, DoubleClickOnAnEntryCorrectsItAndOnEmptySpaceAdds)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "meeting")}));
    start();
    QTest::qWait(30);
    selectEntry(0);
    QWidget* area = panel->ListDaySch->viewport();
    const QRect entry = panel->ListDaySch->visualItemRect(panel->ListDaySch->topLevelItem(0));
    ASSERT_GT(area->height(), entry.bottom() + 10);
    QTest::mouseDClick(area, Qt::LeftButton, {}, entry.center());
    QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(entry.center().x(), area->height() - 5));
    EXPECT_EQ(dialogs.shownTitles,
              (std::vector<QString>{QString::fromUtf8("スケジュール訂正"), QString::fromUtf8("スケジュール新規登録")}));
}

TEST_F(DayListFixture, AFailedSaveRebuildsTheMonthEvenWhenTheDialogIsCancelled)
{
    start();
    // Meanwhile a sync tool brings a record and leaves the file read-only.
    home.write("202612.sch", crlf({scheduleLine(8, "08:00", "theirs")}));
    ::chmod(home.file("202612.sch").c_str(), 0444);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        input.CmbTitle->setEditText("mine");
        input.BtnOkClick();
        input.reject();
        return input.result();
    });
    panel->DaySchInputAdd();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("読み取り専用のファイルです。"), std::string::npos);
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "08:00", "theirs")}));
    EXPECT_EQ(dayListTitles(), QStringList{"theirs"});
}

TEST_F(DayListFixture, PopupEnablingFollowsTheSelection)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "x")}));
    start();
    panel->ListDaySch->clearSelection();
    panel->ListDaySch->setCurrentItem(nullptr);
    panel->PopupDayPopup();
    EXPECT_TRUE(panel->PopDayNew->isEnabled());
    EXPECT_FALSE(panel->PopDayRep->isEnabled());
    EXPECT_FALSE(panel->PopDayDel->isEnabled());
    selectEntry(0);
    EXPECT_TRUE(panel->PopDayRep->isEnabled());
    EXPECT_TRUE(panel->PopDayCopy->isEnabled());
    EXPECT_TRUE(panel->PopDayDel->isEnabled());
}

TEST_F(DayListFixture, StateIconsAndColumnsFollowTheSettings)
{
    home.write("202612.sch",
               crlf({scheduleLine(8, "09:00", "sound", true, true), scheduleLine(8, "10:00", "message", false, true),
                     scheduleLine(8, "11:00", "quiet")}));
    start("[Sound]\r\nAlarm=0\r\n[View]\r\nSchView=011110\r\n");
    ASSERT_EQ(panel->ListDaySch->topLevelItemCount(), 3);
    EXPECT_EQ(panel->ListDaySch->columnWidth(0), 0);
    EXPECT_EQ(panel->ListDaySch->topLevelItem(0)->text(1), "09:00");
    EXPECT_EQ(panel->ListDaySch->headerItem()->text(1), QString::fromUtf8("開始"));
    // With alarms off every entry that has an icon shows the alarm-off one.
    EXPECT_EQ(iconOf(panel->ListDaySch->topLevelItem(0)), "alarm-off");
    EXPECT_EQ(iconOf(panel->ListDaySch->topLevelItem(1)), "alarm-off");
    EXPECT_TRUE(iconOf(panel->ListDaySch->topLevelItem(2)).isEmpty());
    EXPECT_TRUE(panel->ListDaySch->topLevelItem(2)->icon(0).isNull());

    // With alarms on: sound first, then message.
    start("[Sound]\r\nAlarm=1\r\n");
    EXPECT_EQ(iconOf(panel->ListDaySch->topLevelItem(0)), "alarm");
    EXPECT_EQ(iconOf(panel->ListDaySch->topLevelItem(1)), "message");
    EXPECT_EQ(panel->ListDaySch->columnWidth(0), 20);
}

TEST_F(DayListFixture, EachColumnFlagAloneShowsItsOwnColumnAndKeepsItsWidth)
{
    home.write("202612.sch", crlf({plainScheduleLine(8, "09:00", "10:00", "会議", "本社", "仕事")}));
    // The columns after the icon column; the icon column's width; the widths kept (SchWidth,
    // PlcWidth, CatWidth).
    const struct {
        const char *schView, *shown;
        int iconWidth;
        const char* kept;
    } cases[] = {{"000000", "", 0, "---"},
                 {"100000", "", 20, "---"},
                 {"010000", "開始=09:00|", 0, "---"},
                 {"001000", "終了=10:00|", 0, "---"},
                 {"000100", "内容=会議|", 0, "S--"},
                 {"000010", "場所=本社|", 0, "-P-"},
                 {"000001", "分類=仕事|", 0, "--C"}};
    for (const auto& c : cases) {
        start(std::string("[View]\r\nSchView=") + c.schView + "\r\n");
        QTreeWidget* list = panel->ListDaySch;
        QString shown;
        for (int column = 1; column < list->columnCount(); ++column)
            shown += list->headerItem()->text(column) + "=" + list->topLevelItem(0)->text(column) + "|";
        std::string kept;
        for (const std::optional<int>& width : panel->DayColumnWidths())
            kept += width ? "SPC"[kept.size()] : '-';
        EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.schView;
        EXPECT_EQ(list->columnWidth(0), c.iconWidth) << c.schView;
        EXPECT_EQ(kept, c.kept) << c.schView;
    }
}
