// Subscribed calendars in the main window, offscreen: their entries in the month and the day list
// after the first frame, read-only rows that offer a copy among the user's own schedules, and a
// holiday calendar's days shown as holidays.
#include "app/TSetupPageFeeds.h"
#include "calendar/MonthBuild.h"
#include "lists/TDlgFind.h"
#include "lists/TFormEdit.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "schedule/TDlgSchInput.h"
#include "support/FeedServer.h"
#include "support/MainWindowFixture.h"
#include "support/PanelFixture.h"
#include "sync/FeedCache.h"
#include "sync/qt/SubscriptionPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

using namespace kal;
using namespace kal::test;

namespace {

const char* kFeed = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n"
                    "BEGIN:VEVENT\r\nUID:1\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20261210T000000Z\r\n"
                    "DTEND:20261210T030000Z\r\nSUMMARY:模試\r\nEND:VEVENT\r\n"
                    "BEGIN:VEVENT\r\nUID:2\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20261224\r\n"
                    "SUMMARY:学校休み\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

struct SubscriptionWindow : MainWindowFixture {
    void startWithFeed(bool holidays)
    {
        home.write("feed.ics", kFeed);
        files::createFolders(feedFolder(home.path()));
        files::saveBytes(feedTextPath(home.path(), home.file("feed.ics")), kFeed);
        start(sj("[Subscriptions]\r\nName1=学校\r\nUrl1=" + home.file("feed.ics") + "\r\nColor1=255\r\nHolidays1=") +
              (holidays ? "1" : "0") + "\r\n");
        // The list is read after the first frame, the copies on a thread.
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->Feeds->schedules() != nullptr; }, 5000));
    }
    const std::vector<CellLine>& cellOf(const Date& date)
    {
        CellPos pos;
        form->Calendar->monthBuild().layout.find(date, pos);
        return form->Calendar->monthBuild().lists.at(pos.column, pos.row);
    }
    QTreeWidgetItem* dayRow(const Date& date)
    {
        form->Calendar->ShowDate(date);
        QTreeWidgetItem* row = form->DayList->ListDaySch->topLevelItem(0);
        form->DayList->ListDaySch->setCurrentItem(row);
        row->setSelected(true);
        form->DayList->PopupDayPopup();
        return row;
    }
};

TEST_F(SubscriptionWindow, FeedRowsAreReadOnlyAndOfferACopyOfTheirOwn)
{
    startWithFeed(false);
    ASSERT_EQ(cellOf({2026, 12, 10}).size(), 1u);
    ASSERT_TRUE(cellOf({2026, 12, 10})[0].extra);
    EXPECT_EQ(sjis::toUtf8(ExtraLineText(*cellOf({2026, 12, 10})[0].extra)), "409:00-12:00 模試［学校］");
    ASSERT_TRUE(dayRow({2026, 12, 10}));
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItem(0)->text(3), QString::fromUtf8("模試"));
    const std::string monthFile = MonthFilePath(home.path(), 2026, 12);
    for (QAction* refused : {form->DayList->PopDayDel, form->DayList->PopDayRep, form->DayList->PopDayCopy}) {
        SCOPED_TRACE(refused->objectName().toStdString());
        ASSERT_TRUE(refused->isEnabled());
        platform.messages.clear();
        platform.messageAnswers = {MessageAnswer::No};
        refused->trigger();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].caption, "購読している予定");
        EXPECT_FALSE(files::fileExists(monthFile));
    }
    platform.messageAnswers = {MessageAnswer::Yes};
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        input.BtnOkClick();
        return input.result();
    });
    form->DayList->PopDayRep->trigger();
    const std::vector<std::string> written = files::loadLines(monthFile);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(RecTitle(written[0]), sj("模試"));
    EXPECT_EQ(RecStart(written[0]), "09:00");
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 2); // the copy and the feed's own
}

TEST_F(SubscriptionWindow, FindDialogSearchesTheCalendarsAndOnlyCopiesTheirRows)
{
    startWithFeed(false);
    FindRequest request{.dataPath = home.path(),
                        .memoPath = home.path(),
                        .programFolder = home.path(),
                        .follower = store::Follower::none()};
    request.extras = form->Feeds->schedules();
    TDlgFind find(services, request);
    find.FormShow();
    find.EditTitle->setText(QString::fromUtf8("模試"));
    find.ChkFeeds->setChecked(true);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& results = dynamic_cast<TFormEdit&>(dialog);
        EXPECT_EQ(results.rows().rows.size(), 1u);
        EXPECT_EQ(results.ListView->model()->index(0, 6).data().toString(), QString::fromUtf8("購読:学校"));
        results.ListView->selectAll();
        results.DelClick();
        results.RepClick(false);
        results.RepClick(true);
        return static_cast<int>(QDialog::Rejected);
    });
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        input.BtnOkClick();
        return input.result();
    });
    platform.messages.clear();
    find.BtnOkClick();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].caption, "購読している予定");
    const std::vector<std::string> written = files::loadLines(MonthFilePath(home.path(), 2026, 12));
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(RecTitle(written[0]), sj("模試"));
}

TEST_F(SubscriptionWindow, AHolidayCalendarMarksItsDaysAsHolidays)
{
    startWithFeed(true);
    EXPECT_EQ(sjis::toUtf8(cellOf({2026, 12, 24}).at(0).text), "0学校休み");
    CellPos pos;
    form->Calendar->monthBuild().layout.find({2026, 12, 24}, pos);
    EXPECT_EQ(form->Calendar->monthBuild().layout.cell(pos.column, pos.row).kind, 0);
}

TEST_F(SubscriptionWindow, SettingsPageAddsOnlyWhatItFetchedAndTheUserConfirmed)
{
    home.write("feed.ics", kFeed);
    TSetupFeedsPage page(services, home.path(), nullptr);
    page.load({});
    struct Add {
        const char* name;
        std::string url;
        MessageAnswer answer;
        const char* message;
        std::size_t listed;
    } adds[] = {
        {"", home.file("feed.ics"), MessageAnswer::Ok, "名前を入力", 0},
        {"学校", "ftp://x/", MessageAnswer::Ok, "https://、webcal://", 0},
        {"学校", home.file("none.ics"), MessageAnswer::Ok, "取得できません", 0},
        {"学校", home.file("feed.ics"), MessageAnswer::No, "2 件の予定があります", 0},
        {"学校", home.file("feed.ics"), MessageAnswer::Yes, "2 件の予定があります", 1},
    };
    for (const Add& add : adds) {
        SCOPED_TRACE(add.url + " " + add.message);
        platform.messages.clear();
        platform.messageAnswers = {add.answer};
        page.EditFeedName->setText(QString::fromUtf8(add.name));
        page.EditFeedUrl->setText(QString::fromStdString(add.url));
        QSignalSpy fetched(&page, &TSetupFeedsPage::fetchFinished);
        page.BtnFeedAddClick();
        if (page.fetching())
            ASSERT_TRUE(fetched.wait(5000));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_NE(platform.messages[0].text.find(add.message), std::string::npos) << platform.messages[0].text;
        EXPECT_EQ(page.edited().size(), add.listed);
    }
    platform.inputAnswers = {std::string("部活")};
    page.BtnFeedRenameClick();
    page.SpinFeedInterval->setValue(60);
    page.ChkFeedHolidays->setChecked(true);
    ASSERT_TRUE(page.Save());
    const std::vector<Subscription> saved = readSubscriptions(SettingsPath(home.path())).list;
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], (Subscription{"部活", home.file("feed.ics"), Subscription{}.color, 60, true}));
    platform.messageAnswers = {MessageAnswer::Yes};
    page.BtnFeedRemoveClick();
    ASSERT_TRUE(page.Save());
    EXPECT_TRUE(readSubscriptions(SettingsPath(home.path())).list.empty());
}

struct SubscriptionRefresh : PanelFixture { };

TEST_F(SubscriptionRefresh, RunsOffTheWindowThenShowsWhatItFetchedAndWhatFailed)
{
    FeedServer server;
    server.serve("a.ics", kFeed);
    readSettings(sj("[Subscriptions]\r\nName1=学校\r\nUrl1=" + server.url("/a.ics") +
                    "\r\nName2=部活\r\nUrl2=" + server.url("/none.ics") + "\r\n"));
    qt::SubscriptionPanel panel(context, &window, [](const std::atomic<bool>* cancel) {
        return [cancel](const caldav::FeedRequest& request) { return caldav::fetchFeed(request, cancel); };
    });
    QSignalSpy changed(&panel, &qt::SubscriptionPanel::schedulesChanged);
    ASSERT_TRUE(changed.wait(2000)); // the list, read after the first frame
    EXPECT_TRUE(panel.schedules()->between({2026, 12, 1}, {2026, 12, 31}).empty());
    QSignalSpy finished(&panel, &qt::SubscriptionPanel::refreshFinished);
    panel.MenuFeedRefresh->trigger();
    EXPECT_TRUE(panel.refreshing());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(qt::toUtf8(panel.StatusFeeds->text()), "10:00 購読の更新に失敗 1件");
    EXPECT_NE(qt::toUtf8(panel.StatusFeeds->toolTip()).find("学校: 取得しました（2件）\n部活: 失敗しました: "),
              std::string::npos);
    EXPECT_EQ(panel.schedules()->between({2026, 12, 1}, {2026, 12, 31}).size(), 2u);
}

TEST_F(SubscriptionRefresh, OnlyTheReadingOfTheNewestListIsTaken)
{
    const std::string url = home.file("feed.ics");
    files::createFolders(feedFolder(home.path()));
    files::saveBytes(feedTextPath(home.path(), url), kFeed);
    const std::string listed = sj("[Subscriptions]\r\nName1=学校\r\nUrl1=" + url + "\r\n");
    readSettings(listed);
    qt::SubscriptionPanel panel(context, &window);
    QSignalSpy changed(&panel, &qt::SubscriptionPanel::schedulesChanged);
    ASSERT_TRUE(changed.wait(2000));
    ASSERT_EQ(panel.schedules()->between({2026, 12, 1}, {2026, 12, 31}).size(), 2u);

    // Unsubscribed and subscribed again before the first reading is taken: the month is built
    // once, from the second.
    readSettings(sj("[Subscriptions]\r\nName1=部活\r\nUrl1=" + home.file("none.ics") + "\r\n"));
    panel.OpenFeeds();
    readSettings(listed);
    panel.OpenFeeds();
    changed.clear();
    ASSERT_TRUE(changed.wait(2000));
    QTest::qWait(50);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(panel.schedules()->between({2026, 12, 1}, {2026, 12, 31}).size(), 2u);
}

} // namespace
