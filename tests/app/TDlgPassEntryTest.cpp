// The password setting, offscreen with the fake platform.
#include "app/TDlgPassEntry.h"
#include "app/Password.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

struct PassEntryFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    static void fill(TDlgPassEntry& d, const char* now, const char* fresh, const char* again)
    {
        d.MskOldPasswd->setText(QString::fromUtf8(now));
        d.MskNewPasswd->setText(QString::fromUtf8(fresh));
        d.MskAgainPasswd->setText(QString::fromUtf8(again));
    }
    PasswordVerdict check(const std::string& entry) const
    {
        return checkPassword(*readPasswordFile(home.file(kPasswordFileName)), entry);
    }
};

} // namespace

TEST_F(PassEntryFixture, RefusesShortAndMismatchedPasswordsAndStaysOpen)
{
    TDlgPassEntry d(services, home.path());
    EXPECT_TRUE(d.MskOldPasswd->isHidden()) << "no password yet: nothing to ask first";
    EXPECT_EQ(d.MskNewPasswd->maxLength(), 8);
    struct Case {
        const char* fresh;
        const char* again;
        const char* message;
        QLineEdit* focus;
    };
    const Case cases[] = {
        {"abc   ", "abc   ", "パスワードは４文字以上で入力して下さい。", d.MskNewPasswd},
        {" ab ", " ab ", "パスワードは４文字以上で入力して下さい。", d.MskNewPasswd},
        {"abcd", "abce", "新しいパスワードと再入力したパスワードが違います。", d.MskAgainPasswd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fresh);
        platform.messages.clear();
        fill(d, "", c.fresh, c.again);
        d.BtnOkClick();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].caption, "パスワード入力エラー");
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(d.focusWidget(), c.focus);
        EXPECT_NE(d.result(), QDialog::Accepted);
    }
    EXPECT_FALSE(home.exists(kPasswordFileName));
    d.BtnCancel->click();
    EXPECT_FALSE(home.exists(kPasswordFileName));
}

TEST_F(PassEntryFixture, ReplacingAnOldFormPasswordAsksItFirstAndStoresTheHash)
{
    home.write(kPasswordFileName, EncodeStr("G]PW", DateTime{{2020, 1, 1}, 1, 2, 3}) + "\r\n");
    TDlgPassEntry d(services, home.path());
    EXPECT_FALSE(d.MskOldPasswd->isHidden());

    fill(d, "g]PW", "new pass", "new pass");
    d.BtnOkClick();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "現在のパスワードが違います。");
    EXPECT_EQ(d.focusWidget(), d.MskOldPasswd);
    EXPECT_EQ(check("G]PW"), PasswordVerdict::Accepted) << "nothing written yet";

    fill(d, "G]PW", "new pass", "new pass");
    d.BtnOkClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(home.read(kPasswordFileName).rfind("$argon2id$", 0), 0u);
    EXPECT_EQ(check("new pass"), PasswordVerdict::Accepted);
    EXPECT_EQ(check("G]PW"), PasswordVerdict::Wrong);
}

TEST_F(PassEntryFixture, ThreeWrongCurrentPasswordsEndTheDialog)
{
    home.write(kPasswordFileName, EncodeStr("right", DateTime{}) + "\r\n");
    TDlgPassEntry d(services, home.path());
    for (int i = 0; i < 3; ++i) {
        fill(d, "wrong", "abcd", "abcd");
        d.BtnOkClick();
    }
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(d.wrongEntries(), 3);
    EXPECT_EQ(check("right"), PasswordVerdict::Accepted);
}

TEST_F(PassEntryFixture, AFailedWriteIsReportedAndTheDialogStaysOpen)
{
    TDlgPassEntry d(services, home.file("missing/"));
    fill(d, "", "abcd", "abcd");
    d.BtnOkClick();
    EXPECT_NE(d.result(), QDialog::Accepted);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "パスワード登録");
    EXPECT_EQ(platform.messages[0].text.rfind("パスワードを保存できません。", 0), 0u);
}
