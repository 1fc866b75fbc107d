// Every menu, tool-bar and context-menu entry of the main window, in the full window and in the
// mini calendar: enabled when it should be, and reaching its operation; every shortcut pressed
// with the event loop running.
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <map>

using namespace kal;
using namespace kal::test;

namespace {

enum class Mode { Full, Mini };

struct CommandsFixture : MainWindowFixture, ::testing::WithParamInterface<Mode> {
    void startIn(Mode mode)
    {
        start(mode == Mode::Mini ? "[Window]\r\nSmallMode=1\r\n" : "");
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_EQ(form->miniMode(), mode == Mode::Mini);
    }
    QAction* entry(const char* name) const
    {
        auto* action = form->findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    // Opens every context menu's handler, as showing the menu would.
    void preparePopups()
    {
        form->PopupDayPopup();
        form->PanelNote->PopupNotePopup();
        form->PanelTodo->PopupToDoPopup();
        form->PopupTrayPopup();
    }
    std::pair<int, int> view() const { return {form->Calendar->cursor().viewYear, form->Calendar->cursor().viewMonth}; }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(form.get(), key, modifiers);
        QTest::qWait(10);
    }
};

// Entries whose operation is one of the program's dialogs.
struct DialogEntry {
    const char* entry;
    const char* windowClass;
};
const DialogEntry kDialogEntries[] = {
    {"MenuPrintPrev", "kal::TFormPreview"}, {"TBtnPreview", "kal::TFormPreview"},
    {"MenuPrint", "kal::TDlgPrint"},        {"TBtnPrint", "kal::TDlgPrint"},
    {"MenuSchAdd", "kal::TDlgSchInput"},    {"TBtnSchAdd", "kal::TDlgSchInput"},
    {"PopSchNew", "kal::TDlgSchInput"},     {"PopDayNew", "kal::TDlgSchInput"},
    {"PopTraySchAdd", "kal::TDlgSchInput"}, {"MenuSchEdit", "kal::TFormEdit"},
    {"TBtnSchRep", "kal::TFormEdit"},       {"PopSchEdit", "kal::TFormEdit"},
    {"PopTraySchEdit", "kal::TFormEdit"},   {"MenuMemoList", "kal::TFormEdit"},
    {"TBtnMemo", "kal::TFormEdit"},         {"MenuHoliday", "kal::TFormEdit"},
    {"BtnHoliday", "kal::TFormEdit"},       {"MenuNoteEdit", "kal::TDlgMemo"},
    {"TBtnNote", "kal::TDlgMemo"},          {"PopNoteEdit", "kal::TDlgMemo"},
    {"MenuMemo", "kal::TDlgMemo"},          {"TBtnMemoNew", "kal::TDlgMemo"},
    {"PopMemo", "kal::TDlgMemo"},           {"PopMemoAdd", "kal::TDlgMemo"},
    {"PopTrayMemo", "kal::TDlgMemo"},       {"MenuToDo", "kal::TDlgTodoInput"},
    {"TBtnTodoNew", "kal::TDlgTodoInput"},  {"PopToDoNew", "kal::TDlgTodoInput"},
    {"MenuFind", "kal::TDlgFind"},          {"TBtnFind", "kal::TDlgFind"},
    {"MenuJump", "kal::TDlgJump"},          {"TBtnJump", "kal::TDlgJump"},
    {"PopJump", "kal::TDlgJump"},           {"PopHoliday", "kal::TDlgHolidayInput"},
    {"MenuPasswd", "kal::TDlgPassEntry"},   {"MenuCat", "kal::TDlgCatSet"},
    {"TBtnCat", "kal::TDlgCatSet"},         {"MenuAbout", "kal::TDlgVersion"},
};

} // namespace

TEST_P(CommandsFixture, EveryDialogEntryIsEnabledAndOpensItsWindow)
{
    startIn(GetParam());
    for (const DialogEntry& d : kDialogEntries) {
        SCOPED_TRACE(d.entry);
        preparePopups();
        QAction* action = entry(d.entry);
        ASSERT_TRUE(action);
        EXPECT_TRUE(action->isEnabled());
        const std::size_t before = dialogs.shownClasses.size();
        action->trigger();
        ASSERT_EQ(dialogs.shownClasses.size(), before + 1);
        EXPECT_EQ(dialogs.shownClasses.back(), d.windowClass);
    }
    for (const char* fileEntry : {"MenuCsvRead", "MenuCsvSave", "MenuNoteTab"}) {
        SCOPED_TRACE(fileEntry);
        const std::size_t before = platform.fileDialogFolders.size();
        entry(fileEntry)->trigger();
        EXPECT_EQ(platform.fileDialogFolders.size(), before + 1);
    }
    entry("MenuTopic")->trigger();
    EXPECT_EQ(platform.opened.size(), 1u) << "the help page";
}

TEST_P(CommandsFixture, OnlyEntriesWithNothingToActOnAreDisabled)
{
    startIn(GetParam());
    preparePopups();
    QStringList disabled;
    for (QAction* action : form->findChildren<QAction*>())
        if (!action->objectName().isEmpty() && !action->isEnabled())
            disabled << action->objectName();
    disabled.sort();
    // What stays off until there is something to act on: no selected schedule, memo line, note
    // or ToDo entry; the clock button and entries that belong to the right panel.
    QStringList expected{"PopDayCopy",     "PopDayDel",      "PopDayRep",    "PoPTodoCopy",    "PopMemoDel",
                         "PopMemoLineDel", "PopMemoLineRep", "PopNoteClear", "PopNoteLineDel", "PopSchCopy",
                         "PopToDoDel",     "PopToDoRep",     "PopTodoCal"};
    if (GetParam() == Mode::Mini)
        expected << "MenuClock"
                 << "MenuNote"
                 << "TBtnClock";
    expected.sort();
    EXPECT_EQ(disabled, expected);
    EXPECT_EQ(form->MenuPanelMode->isEnabled(), GetParam() == Mode::Full);
}

TEST_P(CommandsFixture, EveryShortcutWorksWithTheEventLoopRunning)
{
    startIn(GetParam());
    const bool full = GetParam() == Mode::Full;
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<int()> observed;
        bool changesInMini;
    };
    const Case cases[] = {
        {Qt::Key_N, Qt::ControlModifier, [&] { return view().second; }, true},
        {Qt::Key_B, Qt::ControlModifier, [&] { return view().second; }, true},
        {Qt::Key_Y, Qt::ControlModifier, [&] { return view().first; }, true},
        {Qt::Key_Z, Qt::ControlModifier, [&] { return view().first; }, true},
        {Qt::Key_F5, Qt::NoModifier, [&] { return form->Calendar->catViewMode(); }, true},
        {Qt::Key_F7, Qt::NoModifier, [&] { return int(form->clockShown()); }, false},
        {Qt::Key_F8, Qt::NoModifier, [&] { return int(form->notesShown()); }, false},
        {Qt::Key_F9, Qt::NoModifier, [&] { return int(form->Calendar->shownMode()); }, false},
        {Qt::Key_F10, Qt::NoModifier, [&] { return int(form->panelWithRight()); }, false},
        {Qt::Key_F1, Qt::NoModifier, [&] { return int(platform.opened.size()); }, true},
        {Qt::Key_J, Qt::ControlModifier, [&] { return int(dialogs.shownClasses.size()); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
        const int before = c.observed();
        press(c.key, c.modifiers);
        if (full || c.changesInMini)
            EXPECT_NE(c.observed(), before);
        else
            EXPECT_EQ(c.observed(), before) << "the full window's modes stay as they are in the mini calendar";
    }
    ASSERT_FALSE(dialogs.shownClasses.empty());
    EXPECT_EQ(dialogs.shownClasses.back(), "kal::TDlgJump");

    // The toggles come back on the second press; the right panel first, since the clock and
    // the notes belong to it.
    for (Qt::Key key : {Qt::Key_F10, Qt::Key_F9, Qt::Key_F8, Qt::Key_F7, Qt::Key_F5}) {
        SCOPED_TRACE(key);
        press(key);
    }
    EXPECT_EQ(form->Calendar->catViewMode(), 0);
    EXPECT_TRUE(form->clockShown());
    EXPECT_TRUE(form->notesShown());
    EXPECT_EQ(form->Calendar->shownMode(), CalendarViewMode::Month);
    EXPECT_TRUE(form->panelWithRight());

    press(Qt::Key_N, Qt::ControlModifier);
    press(Qt::Key_Home);
    EXPECT_EQ(view(), std::make_pair(2026, 12));

    press(Qt::Key_F12);
    EXPECT_NE(form->miniMode(), !full);
    press(Qt::Key_F12);
    EXPECT_EQ(form->miniMode(), !full);

    press(Qt::Key_F3);
    EXPECT_FALSE(form->isVisible()) << "in the notification area";
}

INSTANTIATE_TEST_SUITE_P(Modes, CommandsFixture, ::testing::Values(Mode::Full, Mode::Mini),
                         [](const auto& info) { return info.param == Mode::Full ? "Full" : "Mini"; });

namespace {
struct StateCommandsFixture : CommandsFixture { };
} // namespace

TEST_F(StateCommandsFixture, EntriesOfAPairSelectTheirStateAndTheSingleButtonsToggle)
{
    startIn(Mode::Full);
    struct Case {
        const char* entry;
        std::function<int()> state;
        int selected;
    };
    const Case selections[] = {
        {"MenuWeekly", [&] { return int(form->Calendar->shownMode()); }, 1},
        {"TBtnWeekly", [&] { return int(form->Calendar->shownMode()); }, 1},
        {"MenuMonthly", [&] { return int(form->Calendar->shownMode()); }, 0},
        {"TBtnMonthly", [&] { return int(form->Calendar->shownMode()); }, 0},
        {"MenuPanelMode2", [&] { return int(form->panelWithRight()); }, 0},
        {"MenuPanelMode1", [&] { return int(form->panelWithRight()); }, 1},
        {"MenuCatView2", [&] { return form->Calendar->catViewMode(); }, 1},
        {"MenuCatView1", [&] { return form->Calendar->catViewMode(); }, 0},
    };
    for (const Case& c : selections) {
        SCOPED_TRACE(c.entry);
        for (int time = 0; time < 2; ++time) {
            entry(c.entry)->trigger();
            EXPECT_EQ(c.state(), c.selected) << "triggered " << time + 1 << " times";
            EXPECT_TRUE(entry(c.entry)->isChecked());
        }
    }
    EXPECT_TRUE(form->Calendar->MenuMonthly->isChecked());
    EXPECT_FALSE(form->Calendar->TBtnWeekly->isChecked());

    const Case toggles[] = {
        {"TBtnPanelMode", [&] { return int(form->panelWithRight()); }, 0},
        {"TBtnCatView", [&] { return form->Calendar->catViewMode(); }, 1},
        {"MenuClock", [&] { return int(form->clockShown()); }, 0},
        {"TBtnClock", [&] { return int(form->clockShown()); }, 0},
        {"MenuNote", [&] { return int(form->notesShown()); }, 0},
        {"MenuToolBar", [&] { return int(form->ToolBar1->isVisible()); }, 0},
        {"MenuStatusBar", [&] { return int(form->statusBar()->isVisible()); }, 0},
    };
    for (const Case& c : toggles) {
        SCOPED_TRACE(c.entry);
        entry(c.entry)->trigger();
        EXPECT_EQ(c.state(), c.selected);
        entry(c.entry)->trigger();
        EXPECT_EQ(c.state(), 1 - c.selected);
    }
    EXPECT_TRUE(form->TBtnPanelMode->isChecked());
    EXPECT_FALSE(form->Calendar->TBtnCatView->isChecked());
}

TEST_F(StateCommandsFixture, NavigationSizeMiniAndTrayEntriesReachTheirOperations)
{
    startIn(Mode::Full);
    struct Step {
        const char* entry;
        std::pair<int, int> view;
    };
    const Step steps[] = {{"MenuNextMonth", {2027, 1}},   {"PopNextMonth", {2027, 2}},  {"MenuBeforeMonth", {2027, 1}},
                          {"PopBeforeMonth", {2026, 12}}, {"MenuNextYear", {2027, 12}}, {"MenuBeforeYear", {2026, 12}},
                          {"MenuNextYear", {2027, 12}},   {"MenuNowMonth", {2026, 12}}, {"MenuNextYear", {2027, 12}},
                          {"TBtnHome", {2026, 12}},       {"MenuNextYear", {2027, 12}}, {"PopNow", {2026, 12}}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.entry);
        entry(s.entry)->trigger();
        EXPECT_EQ(view(), s.view);
    }

    entry("MenuSizeMode1")->trigger();
    EXPECT_EQ(form->size(), QSize(638, 448));
    entry("MenuSizeMode2")->trigger();
    EXPECT_EQ(form->size(), QSize(799, 571));
    entry("MenuSizeMini")->trigger();
    EXPECT_EQ(form->miniGeometry().width, 164);

    for (const char* mini : {"MenuSmall", "TBtnSmall", "PopMini", "PopTrayMini"}) {
        SCOPED_TRACE(mini);
        const bool before = form->miniMode();
        entry(mini)->trigger();
        EXPECT_NE(form->miniMode(), before);
    }
    for (const char* tray : {"MenuTray", "TBtnTray", "PopTray"}) {
        SCOPED_TRACE(tray);
        entry(tray)->trigger();
        EXPECT_FALSE(form->isVisible());
        entry("PopTraySize")->trigger();
        EXPECT_TRUE(form->isVisible());
    }

    bool closed = false;
    QObject::connect(form.get(), &TForm1::closed, form.get(), [&] { closed = true; });
    entry("PopTrayExit")->trigger();
    EXPECT_TRUE(closed);
}

TEST_F(StateCommandsFixture, PairKeysWorkAfterAMenuWasOpenedAndClosedWithEscape)
{
    startIn(Mode::Full);
    const std::pair<Qt::Key, std::function<int()>> keys[] = {
        {Qt::Key_F9, [&] { return int(form->Calendar->shownMode()); }},
        {Qt::Key_F10, [&] { return int(form->panelWithRight()); }},
        {Qt::Key_F5, [&] { return form->Calendar->catViewMode(); }}};
    for (const auto& [key, observed] : keys) {
        press(Qt::Key_V, Qt::AltModifier); // the menu bar keeps the focus after Escape
        ASSERT_NE(QApplication::activePopupWidget(), nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        const int before = observed();
        press(key);
        EXPECT_NE(observed(), before) << QKeySequence(key).toString().toStdString();
    }
}

TEST_F(StateCommandsFixture, EachKeyAndEachAccessKeyOfAMenuLeadToOneEntryOnly)
{
    startIn(Mode::Full);
    std::map<QString, QStringList> owners;
    for (QAction* action : form->findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts())
            if (action->shortcutContext() != Qt::WidgetShortcut)
                owners[key.toString()] << action->objectName();
    for (const char* key :
         {"F1", "F3", "F5", "F7", "F8", "F9", "F10", "F12", "Home", "Ctrl+N", "Ctrl+B", "Ctrl+Y", "Ctrl+Z", "Ctrl+J"}) {
        SCOPED_TRACE(key);
        ASSERT_EQ(owners[key].size(), 1) << owners[key].join(' ').toStdString();
        EXPECT_TRUE(form->actions().contains(form->findChild<QAction*>(owners[key].front())))
            << "bound to the window, so it works with the menu bar hidden";
    }
    for (const auto& [key, names] : owners)
        EXPECT_EQ(names.size(), 1) << key.toStdString() << ": " << names.join(' ').toStdString();
    // A letter two entries of one menu share only moves the highlight; pop-up menus included.
    for (QMenu* menu : form->findChildren<QMenu*>()) {
        QStringList letters;
        for (QAction* action : menu->actions())
            letters << QKeySequence::mnemonic(action->text()).toString();
        letters.removeAll(QString());
        EXPECT_EQ(letters.removeDuplicates(), 0) << menu->objectName().toStdString();
    }
}

TEST_F(StateCommandsFixture, TheICalendarAndSyncEntriesFollowTheCsvEntriesInTheFileMenu)
{
    start();
    const QList<QAction*> entries = form->MenuFile->actions();
    const qsizetype csv = entries.indexOf(form->Exchange->MenuCsvSave);
    ASSERT_GE(csv, 0);
    ASSERT_GT(entries.size(), csv + 5);
    EXPECT_EQ(entries[csv + 1], form->Exchange->MenuIcalSave);
    EXPECT_EQ(entries[csv + 2], form->Exchange->MenuIcalRead);
    EXPECT_EQ(entries[csv + 3], form->Sync->MenuSync);
    EXPECT_EQ(entries[csv + 4], form->Feeds->MenuFeedRefresh);
    EXPECT_TRUE(entries[csv + 5]->isSeparator());
    EXPECT_EQ(form->Sync->StatusSync->parentWidget(), form->statusBar());
    EXPECT_EQ(form->Exchange->MenuIcalSave->text(), QString::fromUtf8("iCalendar形式で保存(&I)..."));
    EXPECT_EQ(form->Exchange->MenuIcalRead->text(), QString::fromUtf8("iCalendar形式の読込(&J)..."));
}
