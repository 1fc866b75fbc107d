// The window in the notification area: the password on the way back, the tray menu's entries
// and a tray that comes or goes while the program runs; with the event loop running.
#include "app/Password.h"
#include "app/TDlgPasswd.h"
#include "app/qt/InstanceGuard.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

using namespace kal;
using namespace kal::test;

namespace {

struct TrayFixture : MainWindowFixture {
    void startLocked(const std::string& extraSettings = "")
    {
        home.write(kPasswordFileName, EncodeStr("right", DateTime{}) + "\r\n");
        start("[View]\r\nPasswd2=1\r\n" + extraSettings);
    }
    // Answers the password prompt after running its own event loop for a while, as a modal
    // dialog does; nothing means cancel.
    void answerPrompt(std::optional<std::string> password)
    {
        dialogs.handlers.push_back([this, password](QDialog& dialog) {
            auto& prompt = dynamic_cast<TDlgPasswd&>(dialog);
            EXPECT_EQ(prompt.LabelPasswd->text(), QString::fromUtf8("パスワードの入力："));
            QTest::qWait(20);
            ++promptsAnswered;
            if (!password)
                return int(QDialog::Rejected);
            prompt.MskPasswd->setText(QString::fromStdString(*password));
            prompt.BtnOkClick();
            return prompt.result();
        });
    }
    std::vector<bool> editingEntries() const
    {
        return {form->PopTraySchAdd->isEnabled(), form->PopTraySchEdit->isEnabled(), form->PopTrayMemo->isEnabled()};
    }
    int promptsAnswered = 0;
};

const std::vector<bool> kAllOn{true, true, true};
const std::vector<bool> kAllOff{false, false, false};

} // namespace

TEST_F(TrayFixture, SecondStartAsksThePasswordOutsideTheSocketsHandler)
{
    startLocked();
    const QString folder = QString::fromStdString(home.path());
    qt::InstanceGuard guard;
    ASSERT_EQ(guard.acquire(folder), qt::InstanceGuard::Outcome::Running);
    QObject::connect(&guard, &qt::InstanceGuard::wakeRequested, form.get(), &TForm1::WMCopyData);
    form->TaskTraySet();
    ASSERT_FALSE(form->isVisible());

    // The prompt's event loop sees the second start's connection close and delete its socket.
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>(), std::optional<std::string>("right")}) {
        SCOPED_TRACE(answer.value_or("cancel"));
        const int before = promptsAnswered;
        answerPrompt(answer);
        qt::InstanceGuard second;
        ASSERT_EQ(second.acquire(folder), qt::InstanceGuard::Outcome::OtherWoken);
        ASSERT_TRUE(QTest::qWaitFor([&] { return promptsAnswered > before; }, 3000));
        QTest::qWait(50);
        EXPECT_EQ(form->isVisible(), answer.has_value());
        EXPECT_EQ(editingEntries(), answer ? kAllOn : kAllOff);
    }
}

TEST_F(TrayFixture, EditingEntriesWaitForThePasswordWhateverTheWayIntoTheTray)
{
    struct Way {
        const char* name;
        const char* settings;
        std::function<void(TForm1&)> intoTray;
    };
    const Way ways[] = {
        {"command", "", [](TForm1& f) { f.MenuTray->trigger(); }},
        {"tray click", "", [](TForm1& f) { f.MainFormShow(); }},
        {"close button", "CloseTray=1\r\n", [](TForm1& f) { f.close(); }},
        {"minimise", "[Window]\r\nTaskBar=1\r\n", [](TForm1& f) { f.showMinimized(); }},
        {"start", "[Window]\r\nTaskTray=1\r\n", [](TForm1&) {}},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        startLocked(way.settings);
        EXPECT_EQ(editingEntries(), form->isVisible() ? kAllOn : kAllOff);
        way.intoTray(*form);
        QTest::qWait(10);
        ASSERT_FALSE(form->isVisible());
        EXPECT_EQ(editingEntries(), kAllOff);

        answerPrompt(std::nullopt);
        form->MainFormShow();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(editingEntries(), kAllOff);

        answerPrompt("right");
        form->MainFormShow();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(editingEntries(), kAllOn);
        form->ApplicationExit();
    }
}

TEST_F(TrayFixture, TrayEntriesRestWhileADialogIsOpen)
{
    start();
    dialogs.handlers.push_back([this](QDialog& dialog) {
        form->PopupTrayPopup();
        EXPECT_EQ(editingEntries(), kAllOff);
        EXPECT_FALSE(form->PopTraySize->isEnabled());
        EXPECT_TRUE(form->PopTrayExit->isEnabled());
        return dialog.result();
    });
    form->MenuAbout->trigger();
    ASSERT_TRUE(dialogs.handlers.empty());
    form->PopupTrayPopup();
    EXPECT_EQ(editingEntries(), kAllOn);
    EXPECT_TRUE(form->PopTraySize->isEnabled());
}

TEST_F(TrayFixture, ATrayThatComesLaterGetsTheIconAndOneThatGoesGivesTheWindowBack)
{
    platform.notificationArea = false;
    start();
    EXPECT_FALSE(form->trayIconShown());
    form->TaskTraySet();
    EXPECT_TRUE(form->isMinimized()) << "no tray yet: the task bar keeps the window";
    form->showNormal();

    platform.notificationArea = true;
    form->Timer1Timer();
    EXPECT_TRUE(form->trayIconShown());
    form->TaskTraySet();
    EXPECT_FALSE(form->isVisible());

    platform.notificationArea = false;
    form->Timer1Timer();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
}
