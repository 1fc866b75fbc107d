// The main window among other writers of its data folder, and with files it cannot read.
#include "app/TForm1.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/SystemError.h"
#include "schedule/TDlgSchInput.h"
#include "support/LockHolder.h"
#include "support/MainWindowFixture.h"
#include "support/ScheduleLines.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <chrono>
#include <cstdlib>
#include <sys/stat.h>
#include <thread>

using namespace kal;
using namespace kal::test;
using namespace std::chrono_literals;

namespace {

struct DataFilesFixture : MainWindowFixture {
    // Adds a schedule titled `title` on the selected day through the input dialog.
    void addSchedule(const std::string& title)
    {
        dialogs.handlers.push_back([title](QDialog& dialog) {
            auto& input = dynamic_cast<TDlgSchInput&>(dialog);
            input.CmbTitle->setEditText(QString::fromStdString(title));
            input.BtnOkClick();
            return input.result();
        });
        form->DaySchInputAdd();
    }
    int countTitled(const std::string& prefix) const
    {
        int count = 0;
        for (int month = 1; month <= 12; ++month)
            for (const std::string& line : files::loadLines(MonthFilePath(home.path(), 2026, month)))
                count += RecTitle(line).rfind(prefix, 0) == 0;
        return count;
    }
};

} // namespace

TEST_F(DataFilesFixture, WindowSavesDuringAnImportLoseNothing)
{
    start();
    std::string csv;
    for (int n = 0; n < 12000; ++n)
        csv += "2026/" + std::to_string(1 + n % 12) + "/" + std::to_string(1 + n % 28) + ",,,I-" + std::to_string(n) +
               ",,\r\n";
    home.write("import.csv", csv);
    // The import runs as another process while the window keeps saving into one of its months.
    ASSERT_EQ(std::system(("(" + std::string(KALENDRA_BINARY) + " --home " + home.path() + " --import-csv " +
                           home.file("import.csv") + " >/dev/null 2>&1; echo $? > " + home.file("import.rc") + ") &")
                              .c_str()),
              0);
    int saves = 0;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!home.exists("import.rc") && std::chrono::steady_clock::now() < deadline)
        addSchedule("W" + std::to_string(saves++));
    addSchedule("W" + std::to_string(saves++));
    ASSERT_EQ(home.read("import.rc"), "0\n");
    EXPECT_EQ(countTitled("I-"), 12000);
    EXPECT_EQ(countTitled("W"), saves);
    EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().text;
}

TEST_F(DataFilesFixture, AWaitShowsABusyCursorAndTheReasonThenGivesUpChangingNothing)
{
    start();
    // The window's own reactions, sooner than a user would see them.
    files::LockWaiting window = files::setLockWaiting({});
    files::LockWaiting quick = window;
    quick.noticeAfter = 10ms;
    quick.giveUpAfter = 100ms;
    QString shownWhileWaiting;
    bool busyWhileWaiting = false;
    quick.started = [&](const std::string& folder) {
        window.started(folder);
        shownWhileWaiting = form->statusBar()->currentMessage();
        busyWhileWaiting = QGuiApplication::overrideCursor() != nullptr;
    };
    files::setLockWaiting(quick);
    {
        LockHolder other(home.path());
        ASSERT_TRUE(other.held());
        addSchedule("blocked");
    }
    files::setLockWaiting(window);
    EXPECT_EQ(shownWhileWaiting.toStdString(), files::lockWaitingText(home.path()));
    EXPECT_TRUE(busyWhileWaiting);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form->statusBar()->currentMessage().isEmpty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find(files::lockBusyText(home.path())), std::string::npos);
    EXPECT_FALSE(home.exists("202612.sch"));
}

TEST_F(DataFilesFixture, AMonthThatCannotBeReadIsNamedSaidOnceAndNeverEdited)
{
    home.write("202612.sch", std::string(files::kMaxDataFileBytes + 1, '0'));
    start();
    const std::string path = home.file("202612.sch");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, kUnreadableCaption);
    EXPECT_NE(platform.messages[0].text.find(path + ": " + files::fileTooLargeText(files::kMaxDataFileBytes)),
              std::string::npos);
    EXPECT_NE(form->StatusWarning->text().toStdString().find("202612.sch"), std::string::npos);
    EXPECT_TRUE(form->StatusWarning->isVisibleTo(form.get()));

    // Away and back: still named, not said again.
    form->NextMonthChange();
    form->BeforeMonthChange();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(form->StatusWarning->isVisibleTo(form.get()));

    // An edit of that month is refused before any dialog opens; the file stays as it was.
    addSchedule("lost");
    EXPECT_TRUE(dialogs.shownClasses.empty());
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_NE(platform.messages[1].text.find(path), std::string::npos);
    struct stat st { };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(static_cast<std::size_t>(st.st_size), files::kMaxDataFileBytes + 1);

    // Once it reads again the warning goes.
    home.write("202612.sch", crlf({scheduleLine(8, "", "back")}));
    form->NextMonthChange();
    form->BeforeMonthChange();
    EXPECT_FALSE(form->StatusWarning->isVisibleTo(form.get()));
}
