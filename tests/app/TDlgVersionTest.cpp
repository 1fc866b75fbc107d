// The about box: version line with the program file's date, the home-page link, OK.
#include "app/TDlgVersion.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

// A desktop without a browser.
class NoBrowserPlatform : public FakePlatform {
public:
    bool shellOpen(const std::string& target) override
    {
        opened.push_back(target);
        return false;
    }
};

struct VersionFixture : ::testing::Test {
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};
};

} // namespace

TEST(VersionLine, AppendsTheProgramDateAsYymmdd)
{
    EXPECT_EQ(versionLine(DateTime{{2004, 3, 5}, 23, 59, 0}), "Version 3.01.040305");
    EXPECT_EQ(versionLine(DateTime{{2010, 11, 9}, 0, 0, 0}), "Version 3.01.101109");
    EXPECT_EQ(versionLine(std::nullopt), "Version 3.01.");
}

TEST_F(VersionFixture, ShowsNameVersionOfTheRunningProgramAndRights)
{
    TDlgVersion dialog(services);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("バージョン情報"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dialog.ProductName->text(), "Kalendra");

    QFileInfo program(QCoreApplication::applicationFilePath());
    ASSERT_TRUE(program.exists());
    QString expected = "Version 3.01." + program.lastModified().toString("yyMMdd");
    EXPECT_EQ(dialog.Version->text(), expected);
    EXPECT_FALSE(dialog.Copyright->text().isEmpty());
    EXPECT_FALSE(dialog.ProgramIcon->pixmap().isNull());
    for (const char* name : {"ProgramIcon", "ProductName", "Version", "Copyright", "LabelUrl", "BtnOk"})
        EXPECT_NE(dialog.findChild<QWidget*>(name), nullptr) << name;
}

TEST_F(VersionFixture, LinkOpensTheHomePageThroughThePlatform)
{
    TDlgVersion dialog(services);
    EXPECT_TRUE(dialog.LabelUrl->text().contains("https://kalendra.example.org/"));
    emit dialog.LabelUrl->linkActivated("https://kalendra.example.org/");
    ASSERT_EQ(platform.opened.size(), 1u);
    EXPECT_EQ(platform.opened[0], "https://kalendra.example.org/");
    EXPECT_TRUE(platform.messages.empty());
}

TEST(VersionDialog, LinkThatCannotOpenIsReported)
{
    NoBrowserPlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};
    TDlgVersion dialog(services);
    dialog.LabelUrlClick();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "バージョン情報");
    EXPECT_NE(platform.messages[0].text.find("https://kalendra.example.org/"), std::string::npos);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
}

TEST_F(VersionFixture, OkClosesTheBoxAccepted)
{
    dialogs.handlers.push_back([](QDialog& dialog) {
        dialog.findChild<QPushButton*>("BtnOk")->click();
        return dialog.result();
    });
    TDlgVersion dialog(services);
    EXPECT_EQ(services.dialogs.run(dialog), QDialog::Accepted);
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgVersion");
}
