// Start-up paths of the main window, offscreen with the fake platform.
#include "app/Password.h"
#include "app/Startup.h"
#include "app/TDlgPasswd.h"
#include "app/TDlgSetup.h"
#include "app/TForm1.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/OtherUser.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kal;
using namespace kal::test;

namespace {

struct StartupFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    void writeSettings(const std::string& content) { home.write("Kalendra.ini", content); }
    std::vector<std::string> captions() const
    {
        std::vector<std::string> out;
        for (const auto& m : platform.messages)
            out.push_back(m.caption);
        return out;
    }
    static int pressOk(QDialog& dialog)
    {
        if (auto* setup = qobject_cast<TDlgSetup*>(&dialog))
            setup->BtnOkClick();
        return dialog.result();
    }
    static FakeDialogRunner::Handler typePassword(const std::string& entry)
    {
        return [entry](QDialog& dialog) {
            auto& prompt = dynamic_cast<TDlgPasswd&>(dialog);
            prompt.MskPasswd->setText(qt::fromUtf8(entry));
            prompt.BtnOkClick();
            return prompt.result();
        };
    }
};

} // namespace

TEST_F(StartupFixture, FirstRunCancelledEndsWithOneAndLeavesNoFile)
{
    TForm1 form(services, home.path());
    EXPECT_EQ(form.FormCreate(), 1);
    ASSERT_EQ(dialogs.shownTitles.size(), 1u);
    EXPECT_EQ(dialogs.shownTitles[0], QString::fromUtf8("初期設定"));
    EXPECT_FALSE(home.exists("Kalendra.ini"));
    EXPECT_EQ(files::listFiles(home.path(), ".*", true), std::vector<std::string>{}) << "no lock, no kept names";
    EXPECT_FALSE(form.isVisible());
}

TEST_F(StartupFixture, FirstRunWritesEverySettingAndTheDefaultHolidays)
{
    dialogs.handlers.push_back(pressOk);
    TForm1 form(services, home.path());
    ASSERT_EQ(form.FormCreate(), 0);
    IniFile ini(home.file("Kalendra.ini"));
    ini.load();
    EXPECT_EQ(ini.readString("Kalendra", "Ver", ""), "3.01");
    EXPECT_EQ(ini.readString("Kalendra", "DataPath", ""), home.path());
    EXPECT_EQ(ini.readString("View", "CalView", ""), "111111000");
    EXPECT_EQ(ini.readString("Color", "Cw20", ""), "16776960");
    EXPECT_TRUE(home.exists("Holiday.dat"));
    EXPECT_FALSE(form.state().versionChanged);
    EXPECT_EQ(form.windowTitle(), "Kalendra");
}

TEST_F(StartupFixture, VersionChangeOpensTheSetupAtFirstShowAndKeepsStoredValues)
{
    writeSettings("[Kalendra]\r\nVer=2.50\r\n[View]\r\nStrWeek=1\r\n[Window]\r\nTitle=My days\r\n");
    dialogs.handlers.push_back(pressOk);
    TForm1 form(services, home.path());
    ASSERT_EQ(form.FormCreate(), 0);
    EXPECT_TRUE(form.state().versionChanged);
    EXPECT_TRUE(dialogs.shownTitles.empty());
    form.ShowAtStart();
    ASSERT_EQ(dialogs.shownTitles.size(), 1u);
    EXPECT_EQ(dialogs.shownTitles[0], QString::fromUtf8("Version 3.01 初期設定"));
    EXPECT_FALSE(form.state().versionChanged);
    IniFile ini(home.file("Kalendra.ini"));
    ini.load();
    EXPECT_EQ(ini.readString("Kalendra", "Ver", ""), "3.01");
    EXPECT_EQ(ini.readString("View", "StrWeek", ""), "1");
    EXPECT_EQ(ini.readString("Window", "Title", ""), "My days");
    EXPECT_EQ(form.windowTitle(), "My days");
    form.close();
}

TEST_F(StartupFixture, VersionChangeCancelledWarnsAndRunsOn)
{
    writeSettings("[Kalendra]\r\nVer=1.00\r\n");
    TForm1 form(services, home.path());
    ASSERT_EQ(form.FormCreate(), 0);
    form.ShowAtStart();
    EXPECT_TRUE(form.state().versionChanged);
    EXPECT_EQ(captions(), std::vector<std::string>{"警告"});
    EXPECT_TRUE(form.isVisible());
    form.close();
}

TEST_F(StartupFixture, NewYearGreetingOnceAndTheYearWrittenAtExit)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[Window]\r\nNow=2025\r\n");
    platform.setToday(2026, 1, 3);
    {
        TForm1 form(services, home.path());
        ASSERT_EQ(form.FormCreate(), 0);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text,
                  "あけましておめでとうございます。\r\n今年も「Kalendra」をよろしくお願いします。");
        form.ShowAtStart();
        form.close();
    }
    IniFile ini(home.file("Kalendra.ini"));
    ini.load();
    EXPECT_EQ(ini.readInteger("Window", "Now", 0), 2026);

    platform.messages.clear();
    TForm1 again(services, home.path());
    ASSERT_EQ(again.FormCreate(), 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartupFixture, NoGreetingOnTheEighthOfJanuary)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[Window]\r\nNow=2025\r\n");
    platform.setToday(2026, 1, 8);
    TForm1 form(services, home.path());
    ASSERT_EQ(form.FormCreate(), 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartupFixture, MissingDataFolderWarnsOnceAndStarts)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\nDataPath=nothing/\r\nMemoPath=gone/\r\n");
    TForm1 form(services, home.path());
    EXPECT_EQ(form.FormCreate(), 0);
    EXPECT_EQ(captions(), std::vector<std::string>{"データフォルダ指定エラー"});
}

TEST_F(StartupFixture, UnreadableSettingsEndWithOne)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[View]\r\nRikuyo=1111\r\n");
    TForm1 form(services, home.path());
    EXPECT_EQ(form.FormCreate(), 1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "初期設定エラー");
    EXPECT_EQ(platform.messages[0].text, "エラーが発生しました。\r\nKalendra.ini を削除し、再起動して下さい。");
}

TEST_F(StartupFixture, SettingsAnotherUserCannotReadEndWithOneBeforeAnyWindowOrPassword)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[View]\r\nPasswd=1\r\n");
    ASSERT_TRUE(writePasswordFile(home.file("Kalendra.pwd"), "right"));
    ::chmod(home.file("Kalendra.ini").c_str(), 0);
    ::chmod(home.path().c_str(), 0755);
    TForm1 form(services, home.path());
    {
        OtherUser other;
        EXPECT_EQ(form.FormCreate(), 1);
    }
    EXPECT_EQ(captions(), std::vector<std::string>{"初期設定エラー"});
    EXPECT_TRUE(dialogs.shownTitles.empty()) << "neither the first-run setup nor the password prompt";
    EXPECT_FALSE(form.isVisible());
}

TEST_F(StartupFixture, PasswordWithPAndWOpensAfterTwoWrongEntries)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[View]\r\nPasswd=1\r\n");
    home.write("Kalendra.pwd", EncodeStr("WaPW", DateTime{{2026, 1, 1}, 12, 0, 0}) + "\r\n");
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& prompt = dynamic_cast<TDlgPasswd&>(dialog);
        EXPECT_EQ(prompt.LabelPasswd->text(), QString::fromUtf8("起動パスワードの入力："));
        for (const char* entry : {"wapw", " WaPW", "WaPW"}) {
            prompt.MskPasswd->setText(entry);
            prompt.BtnOkClick();
        }
        return prompt.result();
    });
    TForm1 form(services, home.path());
    EXPECT_EQ(form.FormCreate(), 0);
    EXPECT_EQ(captions(), (std::vector<std::string>{"Kalendra", "Kalendra"}));
    EXPECT_EQ(platform.messages[0].text, "パスワードが違います。");
}

TEST_F(StartupFixture, ThreeWrongPasswordsEndWithOne)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[View]\r\nPasswd=1\r\n");
    home.write("Kalendra.pwd", EncodeStr("right", DateTime{}) + "\r\n");
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& prompt = dynamic_cast<TDlgPasswd&>(dialog);
        for (int i = 0; i < 3; ++i) {
            prompt.MskPasswd->setText("wrong");
            prompt.BtnOkClick();
        }
        return prompt.result();
    });
    TForm1 form(services, home.path());
    EXPECT_EQ(form.FormCreate(), 1);
    EXPECT_EQ(platform.messages.size(), 3u);
}

TEST_F(StartupFixture, BlankPasswordIsAskedAgain)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[View]\r\nPasswd=1\r\n");
    home.write("Kalendra.pwd", EncodeStr("right", DateTime{}) + "\r\n");
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& prompt = dynamic_cast<TDlgPasswd&>(dialog);
        prompt.MskPasswd->setText("   ");
        prompt.BtnOkClick();
        EXPECT_EQ(prompt.wrongEntries(), 0);
        return QDialog::Rejected;
    });
    TForm1 form(services, home.path());
    EXPECT_EQ(form.FormCreate(), 1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "パスワードを入力して下さい。");
}

TEST_F(StartupFixture, PasswordSwitchedOnWithoutFileWarnsAndStarts)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[View]\r\nPasswd=1\r\n");
    TForm1 form(services, home.path());
    EXPECT_EQ(form.FormCreate(), 0);
    EXPECT_TRUE(dialogs.shownTitles.empty());
    EXPECT_EQ(captions(), std::vector<std::string>{"パスワード設定エラー"});
}

TEST_F(StartupFixture, StartingInTheTrayShowsNoWindowAndSavesNothing)
{
    writeSettings("[Kalendra]\r\nVer=3.01\r\n[Window]\r\nTaskTray=1\r\nNow=2020\r\n");
    std::string before = home.read("Kalendra.ini");
    {
        TForm1 form(services, home.path());
        ASSERT_EQ(form.FormCreate(), 0);
        form.ShowAtStart();
        EXPECT_FALSE(form.isVisible());
        EXPECT_TRUE(form.state().startupPending);
        form.close();
    }
    EXPECT_EQ(home.read("Kalendra.ini"), before);
}

TEST(StartupDecisions, GreetingOnlyOnTheFirstSevenDaysOfAYearAfterTheLastSave)
{
    EXPECT_TRUE(newYearGreetingDue(2025, Date{2026, 1, 1}));
    EXPECT_TRUE(newYearGreetingDue(2025, Date{2026, 1, 7}));
    EXPECT_FALSE(newYearGreetingDue(2025, Date{2026, 1, 8}));
    EXPECT_FALSE(newYearGreetingDue(2026, Date{2026, 1, 3}));
    EXPECT_FALSE(newYearGreetingDue(2025, Date{2026, 12, 31}));
}
