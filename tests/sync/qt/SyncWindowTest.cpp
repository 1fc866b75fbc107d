// The sync in the windows, offscreen with the fake platform and a server of the test's own (the
// sync itself is tested against Radicale): the settings page "同期" and the main window's panel,
// whose sync runs off the GUI thread while the event loop goes on.
#include "app/TSetupPageSync.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "settings/AppSettings.h"
#include "support/PanelFixture.h"
#include "support/ScheduleLines.h"
#include "sync/qt/SyncPanel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <thread>

using namespace kal;
using namespace kal::test;

namespace {

// A server that holds nothing, takes every new item, and keeps the first listing waiting until
// the test lets it go (or the sync is cancelled).
struct FakeServer : caldav::Service {
    struct Calendar : caldav::Collection {
        FakeServer& server;
        caldav::CalDavHooks hooks;
        Calendar(FakeServer& s, caldav::CalDavHooks h) : server(s), hooks(std::move(h)) { }
        caldav::CollectionInfo discover() override
        {
            while (!server.answer && !(hooks.cancel && *hooks.cancel))
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (!server.answer)
                return {{caldav::DavError::Cancelled, 0, "中止しました。"}, {}, {}, true, true, {}, {}};
            return {{}, "", "", true, true, "c1", "t1"};
        }
        caldav::ItemChanges changesSince(const std::string&) override { return {{}, {}, {}, "t1", true}; }
        caldav::ItemChanges changesByEtag(const std::map<std::string, std::string>&) override { return {}; }
        caldav::ItemBodies fetch(const std::vector<std::string>&) override { return {}; }
        caldav::ItemBodies fetchAll() override { return {}; }
        caldav::WriteResult create(const std::string& name, const std::string&) override
        {
            return {{}, "/cal/" + name, "\"1\"", {}};
        }
        caldav::WriteResult update(const std::string&, const std::string&, const std::string&) override { return {}; }
        caldav::DavStatus remove(const std::string&, const std::string&) override { return {}; }
    };

    caldav::OpenedCollection open(const std::string&, const std::string&, caldav::CalDavHooks hooks) override
    {
        ++opened;
        return {{}, true, std::make_unique<Calendar>(*this, std::move(hooks))};
    }
    caldav::CalendarList findCalendars(const std::string& url, const std::string&, const std::string&) override
    {
        const caldav::CalendarEntry all[] = {{url + "home/", "ホーム", true, true},
                                             {url + "work/", "仕事", true, false}};
        return {{}, {all, all + calendars}};
    }
    caldav::DavStatus checkUrl(const std::string& url) override
    {
        return url.starts_with("https://") ? caldav::DavStatus{}
                                           : caldav::DavStatus{caldav::DavError::BadUrl, 0, "不正"};
    }
    caldav::FeedReply fetchFeed(const caldav::FeedRequest&, const std::atomic<bool>*) override
    {
        return {caldav::davFailure(caldav::DavError::ServerDown), false, {}, {}, {}};
    }
    caldav::KeyringResult storePassword(const std::string& url, const std::string& user,
                                        const std::string& password) override
    {
        stored.push_back(url + " " + user + " " + password);
        return {keyring, {}, keyring == caldav::KeyringOutcome::Done ? "" : "キーリングがありません。"};
    }

    std::size_t calendars = 2; // listed by findCalendars
    std::atomic<bool> answer{false};
    std::atomic<int> opened{0};
    caldav::KeyringOutcome keyring = caldav::KeyringOutcome::Done;
    std::vector<std::string> stored;
};

struct SyncWindowFixture : PanelFixture {
    FakeServer server;
    std::function<caldav::LoadedService()> source = [this] { return caldav::LoadedService{&server, {}}; };

    std::string ini() const { return home.exists("Kalendra.ini") ? home.read("Kalendra.ini") : ""; }
};

} // namespace

TEST_F(SyncWindowFixture, SettingsPageWritesItsSectionAndThePasswordOnlyToTheKeyring)
{
    struct Case {
        const char* name;
        const char* url;
        const char* password;
        caldav::KeyringOutcome keyring;
        bool saved;
        const char* message; // in the one message shown, if any
    };
    const Case cases[] = {
        {"all given", "https://dav.example.jp/cal/", "秘密", caldav::KeyringOutcome::Done, true, nullptr},
        {"no password typed", "https://dav.example.jp/cal/", "", caldav::KeyringOutcome::Failed, true, nullptr},
        {"a URL the client refuses", "ftp://dav.example.jp/", "", caldav::KeyringOutcome::Done, false, "不正"},
        {"no keyring", "https://dav.example.jp/cal/", "秘密", caldav::KeyringOutcome::Unavailable, false, ".netrc"},
        {"sync off", "", "", caldav::KeyringOutcome::Done, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        platform.messages.clear();
        server.stored.clear();
        server.keyring = c.keyring;
        TSetupSyncPage page(services, folder.path(), nullptr, source);
        page.load({});
        page.EditSyncUrl->setText(QString::fromUtf8(c.url));
        page.EditSyncUser->setText("alice");
        page.EditSyncPassword->setText(QString::fromUtf8(c.password));
        page.SpinSyncBack->setValue(3);
        page.ChkSyncAuto->setChecked(true);
        page.SpinSyncInterval->setValue(45);
        EXPECT_EQ(page.Save(), c.saved);
        ASSERT_EQ(platform.messages.size(), c.message ? 1u : 0u);
        if (c.message)
            EXPECT_NE(platform.messages.front().text.find(c.message), std::string::npos);
        const SyncSettings stored = readSyncSettings(SettingsPath(folder.path())).settings;
        EXPECT_EQ((stored == SyncSettings{c.url, "alice", 3, 24, 45}), c.saved);
        EXPECT_EQ(folder.exists("Kalendra.ini"), c.saved);
        if (c.saved)
            EXPECT_EQ(folder.read("Kalendra.ini").find(sjis::fromUtf8Lossy("秘密")), std::string::npos);
        EXPECT_EQ(server.stored.size(),
                  *c.password && (c.saved || c.keyring != caldav::KeyringOutcome::Done) ? 1u : 0u);
    }
}

TEST_F(SyncWindowFixture, SettingsPageFindsTheCalendarsWithoutBlocking)
{
    TSetupSyncPage page(services, home.path(), nullptr, source);
    page.load({});
    page.EditSyncUrl->setText("https://dav.example.jp/");
    page.BtnSyncFind->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.CmbSyncCalendar->count() == 2; }, 5000));
    EXPECT_EQ(qt::toUtf8(page.CmbSyncCalendar->itemText(1)), "仕事（予定のみ）");
    EXPECT_EQ(page.CmbSyncCalendar->currentIndex(), -1) << "none chosen while the URL is none of them";
    page.CmbSyncCalendar->setCurrentIndex(1);
    EXPECT_EQ(qt::toUtf8(page.EditSyncUrl->text()), "https://dav.example.jp/work/");
    EXPECT_TRUE(page.BtnSyncFind->isEnabled());
    server.calendars = 1; // an account's only calendar is chosen at once
    page.BtnSyncFind->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.CmbSyncCalendar->currentIndex() == 0; }, 5000));
    EXPECT_EQ(qt::toUtf8(page.EditSyncUrl->text()), "https://dav.example.jp/work/home/");
}

TEST_F(SyncWindowFixture, PanelSyncsOffTheGuiThreadAndCanBeCancelled)
{
    readSettings();
    int todoChanges = 0;
    qt::SyncPanel panel(context, {[] { return Date{2026, 12, 8}; }, [&] { ++todoChanges; }}, &window, source);
    panel.MenuSync->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages.front().text.find("同期先が設定されていません"), std::string::npos);

    ASSERT_TRUE(writeSyncSettings(SettingsPath(home.path()), {"https://dav.example.jp/cal/", "alice", 12, 24, 30}));
    home.write("202612.sch", crlf({scheduleLine(9, "10:00", "会議")}));
    panel.MenuSync->trigger();
    QTest::qWait(50); // the server keeps the sync waiting; the window goes on
    EXPECT_TRUE(panel.Runner->running());
    EXPECT_EQ(qt::toUtf8(panel.MenuSync->text()), "同期を中止(&Y)");
    EXPECT_FALSE(panel.ProgressSync->isHidden());
    panel.MenuSync->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.Runner->running(); }, 5000));
    EXPECT_TRUE(qt::toUtf8(panel.StatusSync->text()).ends_with("同期できません: 中止しました。"));
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(rebuilds + todoChanges, 0);

    server.answer = true;
    panel.MenuSync->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.Runner->running(); }, 5000));
    EXPECT_EQ(qt::toUtf8(panel.StatusSync->text()), "10:00 同期 受信 0・送信 1・更新 0・削除 0・競合 0");
    EXPECT_EQ(qt::toUtf8(panel.MenuSync->text()), "今すぐ同期(&Y)");
    EXPECT_TRUE(panel.ProgressSync->isHidden());
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(todoChanges, 1);

    // Every 30 minutes by the settings: not again 29 minutes after the last start, then again.
    const int opened = server.opened;
    platform.clock.minute = 29;
    panel.TimerSyncTimer();
    EXPECT_FALSE(panel.Runner->running());
    platform.clock.minute = 30;
    panel.setAutomaticCheck([] { return false; }); // the window's state forbids it
    panel.TimerSyncTimer();
    EXPECT_FALSE(panel.Runner->running());
    panel.setAutomaticCheck([] { return true; });
    panel.TimerSyncTimer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.Runner->running(); }, 5000));
    EXPECT_EQ(server.opened, opened + 1);
}
