// The main window among other writers of its data folder, and with a month it cannot read.
#include "schedule/TDlgSchInput.h"
#include "support/LockHolder.h"
#include "support/MainWindowFixture.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <cstdlib>
#include <map>

using namespace kal;
using namespace kal::test;
using namespace std::chrono_literals;

namespace {

std::string batchCsv(const std::string& prefix, int count)
{
    std::string csv;
    for (int n = 0; n < count; ++n)
        csv += "2026/" + std::to_string(1 + n % 12) + "/" + std::to_string(1 + n % 28) + ",,," + prefix +
               std::to_string(n) + "\r\n";
    return csv;
}

std::map<char, int> titlesOf2026(const TempFolder& home)
{
    std::map<char, int> titles;
    for (int month = 1; month <= 12; ++month)
        for (const std::string& line : files::loadLines(MonthFilePath(home.path(), 2026, month)))
            ++titles[RecTitle(line).front()];
    return titles;
}

std::string importInBackground(const TempFolder& home, const std::string& csv)
{
    return "(" + std::string(KALENDRA_BINARY) + " --home " + home.path() + " --import-csv " + home.file(csv) +
           " >/dev/null; echo $? >" + home.file(csv + ".rc") + ") & ";
}

struct DataFilesFixture : MainWindowFixture {
    void addSchedule(const std::string& title)
    {
        dialogs.handlers.push_back([title](QDialog& dialog) {
            auto& input = dynamic_cast<TDlgSchInput&>(dialog);
            input.CmbTitle->setEditText(QString::fromStdString(title));
            input.BtnOkClick();
            return input.result();
        });
        form->DayList->DaySchInputAdd();
    }
};

} // namespace

TEST(DataFiles, TwoImportsAtOnceBothLandWhole)
{
    TempFolder home;
    home.write("A.csv", batchCsv("A", 5000));
    home.write("B.csv", batchCsv("B", 5000));
    ASSERT_EQ(std::system((importInBackground(home, "A.csv") + importInBackground(home, "B.csv") + "wait").c_str()), 0);
    EXPECT_EQ(home.read("A.csv.rc") + home.read("B.csv.rc"), "0\n0\n");
    EXPECT_EQ(titlesOf2026(home), (std::map<char, int>{{'A', 5000}, {'B', 5000}}));
}

TEST_F(DataFilesFixture, WindowSavesDuringAnImportInAnotherProcessLoseNothing)
{
    start();
    home.write("I.csv", batchCsv("I", 12000));
    ASSERT_EQ(std::system(importInBackground(home, "I.csv").c_str()), 0);
    int saves = 0;
    for (const auto end = std::chrono::steady_clock::now() + 60s;
         !home.exists("I.csv.rc") && std::chrono::steady_clock::now() < end;)
        addSchedule("W" + std::to_string(saves++));
    EXPECT_EQ(home.read("I.csv.rc"), "0\n");
    EXPECT_EQ(titlesOf2026(home), (std::map<char, int>{{'I', 12000}, {'W', saves}}));
}

TEST_F(DataFilesFixture, AWaitShowsABusyCursorAndWhyThenGivesUpChangingNothing)
{
    start();
    QString shown;
    ShortLockWait wait(100ms, 10ms);
    files::LockWaiting spied = files::setLockWaiting({});
    spied.started = [&, window = spied.started](const std::string& folder) {
        window(folder);
        shown = QGuiApplication::overrideCursor() ? form->statusBar()->currentMessage() : "no busy cursor";
    };
    files::setLockWaiting(spied);
    LockHolder other(home.path());
    addSchedule("blocked");
    EXPECT_EQ(shown.toStdString(), files::lockWaitingText(home.path()));
    EXPECT_TRUE(!QGuiApplication::overrideCursor() && form->statusBar()->currentMessage().isEmpty());
    EXPECT_NE(platform.messages.at(0).text.find(files::lockBusyText(home.path())), std::string::npos);
    EXPECT_FALSE(home.exists("202612.sch"));
}

TEST_F(DataFilesFixture, AMonthThatCannotBeReadIsNamedSaidOnceAndNeverEdited)
{
    const std::string path = home.file("202612.sch"), big(files::kMaxDataFileBytes + 1, '0');
    home.write("202612.sch", big);
    start();
    form->Calendar->NextMonthChange();
    form->Calendar->BeforeMonthChange();
    addSchedule("lost");
    EXPECT_TRUE(dialogs.shownClasses.empty()) << "refused before the dialog";
    ASSERT_EQ(platform.messages.size(), 2u) << "said once, then the refusal";
    EXPECT_NE(platform.messages[0].text.find(path + ": " + files::fileTooLargeText(big.size() - 1)), std::string::npos);
    EXPECT_NE(platform.messages[1].text.find(path), std::string::npos);
    EXPECT_EQ(form->Notices->StatusWarning->text(), QString::fromUtf8("読み込めないファイル: 202612.sch"));
    EXPECT_EQ(files::fileStamp(path).size, static_cast<long long>(big.size()));
}
