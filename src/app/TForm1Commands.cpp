// The main menu, the tool bar and the pop-up menus shared by several panels, built from the
// panels' commands and the window's own; which of them are enabled in the window's state.
#include "app/TForm1.h"

#include "app/CommandStates.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace kal {
namespace {

// The entries in order, a null entry making a separator.
void addEntries(QWidget* menu, std::initializer_list<QAction*> entries)
{
    for (QAction* entry : entries) {
        if (!entry) {
            entry = new QAction(menu);
            entry->setSeparator(true);
        }
        menu->addAction(entry);
    }
}

WindowSituation SituationOf(const TForm1& form)
{
    WindowSituation situation;
    situation.windowVisible = form.isVisible();
    situation.miniMode = form.miniMode();
    situation.panelWithRight = form.panelWithRight();
    situation.waitsForPassword = form.state().waitsForPassword;
    situation.modalDialogOpen = form.state().modalDialogOpen;
    situation.modalWindowShown = QApplication::activeModalWidget() != nullptr;
    return situation;
}

QMenu* namedMenu(QMenuBar* bar, const char* name, const char* caption)
{
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    return menu;
}

QMenu* namedMenu(QMenu* parent, const char* name, const char* caption)
{
    QMenu* menu = parent->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    return menu;
}

} // namespace

void TForm1::CreateActions()
{
    MenuExit = qt::namedAction(this, "MenuExit", "終了(&X)");
    MenuDelete = qt::namedAction(this, "MenuDelete", "削除(&D)");
    MenuToolBar = qt::namedAction(this, "MenuToolBar", "ツールバー(&T)");
    MenuStatusBar = qt::namedAction(this, "MenuStatusBar", "ステータスバー(&S)");
    MenuClock = qt::namedAction(this, "MenuClock", "デジタル時計(&C)");
    MenuNote = qt::namedAction(this, "MenuNote", "ノート(&N)");
    MenuPanelMode1 = qt::namedAction(this, "MenuPanelMode1", "カレンダー/ToDo(&T)");
    MenuPanelMode2 = qt::namedAction(this, "MenuPanelMode2", "カレンダー(&C)");
    qt::radioPair(this, MenuPanelMode1, MenuPanelMode2, "F10");
    MenuSmall = qt::namedAction(this, "MenuSmall", "ミニカレンダー(&M)");
    MenuTray = qt::namedAction(this, "MenuTray", "タスクトレイに格納(&R)");
    for (QAction* toggle : {MenuToolBar, MenuStatusBar, MenuClock, MenuNote, MenuSmall})
        toggle->setCheckable(true);
    PopSetup = qt::namedAction(this, "PopSetup", "環境設定(&E)");
    MenuPasswd = qt::namedAction(this, "MenuPasswd", "パスワード登録(&P)");
    MenuSizeMode0 = qt::namedAction(this, "MenuSizeMode0", "起動時のサイズ");
    MenuSizeMode1 = qt::namedAction(this, "MenuSizeMode1", "640 x 480");
    MenuSizeMode2 = qt::namedAction(this, "MenuSizeMode2", "800 x 600");
    MenuSizeMini = qt::namedAction(this, "MenuSizeMini", "ミニカレンダー");
    MenuTopic = qt::namedAction(this, "MenuTopic", "トピックの検索(&C)");
    MenuAbout = qt::namedAction(this, "MenuAbout", "バージョン情報(&A)...");
    auto* keyPanelMode = qt::namedAction(this, "KeyPanelMode", "");
    for (auto [entry, key] : {std::pair{MenuClock, "F7"}, std::pair{MenuNote, "F8"}, std::pair{MenuSmall, "F12"},
                              std::pair{MenuTray, "F3"}, std::pair{MenuTopic, "F1"}, std::pair{keyPanelMode, "F10"}})
        entry->setShortcut(QKeySequence(key));
    connect(keyPanelMode, &QAction::triggered, this, &TForm1::PanelModeClick);

    TBtnDel = qt::toolAction(this, "TBtnDel", "削除", "tb-delete");
    TBtnClock = qt::toolAction(this, "TBtnClock", "デジタル時計の表示", "tb-clock");
    TBtnPanelMode = qt::toolAction(this, "TBtnPanelMode", "表示切替", "tb-panel");
    TBtnSmall = qt::toolAction(this, "TBtnSmall", "ミニカレンダー", "tb-mini");
    TBtnTray = qt::toolAction(this, "TBtnTray", "タスクトレイに格納", "tb-tray");
    TBtnSetup = qt::toolAction(this, "TBtnSetup", "環境設定", "tb-setup");
    for (QAction* toggle : {TBtnClock, TBtnPanelMode, TBtnSmall})
        toggle->setCheckable(true);

    PopMini = qt::namedAction(this, "PopMini", "ミニカレンダー(&S)");
    PopTray = qt::namedAction(this, "PopTray", "タスクトレイに格納(&R)");
    qt::showShortcut(PopMini, "F12");
    qt::showShortcut(PopTray, "F3");
    PopTraySize = qt::namedAction(this, "PopTraySize", "元のサイズ(&S)");
    PopTrayMini = qt::namedAction(this, "PopTrayMini", "ミニカレンダー(&N)");
    PopTrayExit = qt::namedAction(this, "PopTrayExit", "終了(&X)");

    // Bound to the window, the keys work in every mode, the mini calendar's hidden menu bar
    // included; the pop-up menus only show theirs.
    for (QAction* entry : findChildren<QAction*>())
        if (!entry->shortcut().isEmpty() && entry->shortcutContext() == Qt::WindowShortcut)
            addAction(entry);
}

void TForm1::CreateMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    MenuFile = namedMenu(bar, "MenuFile", "ファイル(&F)");
    addEntries(MenuFile, {Exchange->MenuCsvRead, Exchange->MenuCsvSave, Exchange->MenuIcalSave, Exchange->MenuIcalRead,
                          Sync->MenuSync, Feeds->MenuFeedRefresh, nullptr, PanelNote->MenuNoteTab, nullptr,
                          Printing->MenuPrintPrev, Printing->MenuPrint, nullptr, MenuExit});
    MenuEdit = namedMenu(bar, "MenuEdit", "編集(&E)");
    addEntries(MenuEdit, {DayList->MenuSchAdd, Lists->MenuSchEdit, PanelNote->MenuNoteEdit, ListMemo->MenuMemo,
                          Lists->MenuMemoList, PanelTodo->MenuToDo, Lists->MenuHoliday, nullptr, MenuDelete, nullptr,
                          Lists->MenuFind});
    MenuShow = namedMenu(bar, "MenuShow", "表示(&V)");
    addEntries(MenuShow, {MenuToolBar, MenuStatusBar, MenuClock, MenuNote, nullptr});
    MenuCalender = namedMenu(MenuShow, "MenuCalender", "カレンダー");
    addEntries(MenuCalender, {Calendar->MenuMonthly, Calendar->MenuWeekly});
    MenuPanelMode = namedMenu(MenuShow, "MenuPanelMode", "表示モード");
    addEntries(MenuPanelMode, {MenuPanelMode1, MenuPanelMode2});
    addEntries(MenuShow, {MenuSmall, nullptr, MenuTray});
    MenuGoTo = namedMenu(bar, "MenuGoTo", "移動(&G)");
    addEntries(MenuGoTo,
               {Calendar->MenuNowMonth, Calendar->MenuNextMonth, Calendar->MenuBeforeMonth, Calendar->YearSeparator,
                Calendar->MenuNextYear, Calendar->MenuBeforeYear, nullptr, Calendar->MenuJump});
    MenuEnv = namedMenu(bar, "MenuEnv", "設定(&S)");
    addEntries(MenuEnv, {PopSetup, MenuPasswd});
    MenuSize = namedMenu(MenuEnv, "MenuSize", "表示サイズの初期化");
    addEntries(MenuSize, {MenuSizeMode0, MenuSizeMode1, MenuSizeMode2, MenuSizeMini});
    addEntries(MenuEnv, {nullptr, Calendar->MenuCat});
    MenuCatView = namedMenu(MenuEnv, "MenuCatView", "分類の表示切替");
    addEntries(MenuCatView, {Calendar->MenuCatView1, Calendar->MenuCatView2});
    MenuHelp = namedMenu(bar, "MenuHelp", "ヘルプ(&H)");
    addEntries(MenuHelp, {MenuTopic, nullptr, MenuAbout});
}

void TForm1::CreateToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(20, 20));
    ToolBar1->setFixedHeight(31);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    // Each button with the menu entry that names it; an empty pair makes a separator.
    const std::pair<QAction*, const QAction*> tools[] = {
        {Calendar->TBtnHome, Calendar->MenuNowMonth},
        {Printing->TBtnPrint, Printing->MenuPrint},
        {Printing->TBtnPreview, Printing->MenuPrintPrev},
        {},
        {DayList->TBtnSchAdd, DayList->MenuSchAdd},
        {Lists->TBtnSchRep, Lists->MenuSchEdit},
        {PanelNote->TBtnNote, PanelNote->MenuNoteEdit},
        {ListMemo->TBtnMemoNew, ListMemo->MenuMemo},
        {Lists->TBtnMemo, Lists->MenuMemoList},
        {PanelTodo->TBtnTodoNew, PanelTodo->MenuToDo},
        {Lists->BtnHoliday, Lists->MenuHoliday},
        {},
        {TBtnDel, MenuDelete},
        {},
        {TBtnClock, MenuClock},
        {},
        {Calendar->TBtnWeekly, Calendar->MenuWeekly},
        {Calendar->TBtnMonthly, Calendar->MenuMonthly},
        {},
        {TBtnPanelMode, MenuPanelMode->menuAction()},
        {TBtnSmall, MenuSmall},
        {TBtnTray, MenuTray},
        {},
        {Lists->TBtnFind, Lists->MenuFind},
        {Calendar->TBtnJump, Calendar->MenuJump},
        {},
        {Calendar->TBtnCat, Calendar->MenuCat},
        {Calendar->TBtnCatView, MenuCatView->menuAction()},
        {TBtnSetup, PopSetup},
    };
    for (const auto& [tool, menu] : tools) {
        if (!tool) {
            ToolBar1->addSeparator();
            continue;
        }
        qt::nameFromMenu(tool, menu);
        ToolBar1->addAction(tool);
    }
}

void TForm1::CreatePopups()
{
    PopupGrid = qt::popupMenu(this, "PopupGrid",
                              {DayList->PopSchNew, Lists->PopSchEdit, ListMemo->PopMemo, Calendar->PopHoliday, nullptr,
                               Calendar->PopNow, Calendar->PopNextMonth, Calendar->PopBeforeMonth, Calendar->PopJump,
                               nullptr, PopMini, PopTray});
    PopupDay = qt::popupMenu(this, "PopupDay",
                             {DayList->PopDayNew, DayList->PopDayRep, DayList->PopDayCopy, DayList->PopDayDel, nullptr,
                              PanelTodo->PoPTodoCopy, nullptr, ListMemo->PopMemoAdd, ListMemo->PopMemoLineRep,
                              ListMemo->PopMemoLineDel, ListMemo->PopMemoDel});
    PopupTray = qt::popupMenu(this, "PopupTray",
                              {DayList->PopTraySchAdd, Lists->PopTraySchEdit, ListMemo->PopTrayMemo, nullptr,
                               PopTraySize, PopTrayMini, nullptr, PopTrayExit});
}

void TForm1::ConnectCommands()
{
    for (QAction* a : {MenuExit, PopTrayExit})
        connect(a, &QAction::triggered, this, &TForm1::ApplicationExit);
    for (QAction* a : {MenuDelete, TBtnDel})
        connect(a, &QAction::triggered, this, &TForm1::DataDelete);
    connect(MenuToolBar, &QAction::triggered, this, &TForm1::MenuToolBarClick);
    connect(MenuStatusBar, &QAction::triggered, this, &TForm1::MenuStatusBarClick);
    for (QAction* a : {MenuClock, TBtnClock})
        connect(a, &QAction::triggered, this, &TForm1::MenuClockClick);
    connect(MenuNote, &QAction::triggered, this, &TForm1::MenuNoteClick);
    for (QAction* a : {MenuSmall, TBtnSmall, PopMini})
        connect(a, &QAction::triggered, this, &TForm1::SmallSize);
    for (QAction* a : {MenuTray, TBtnTray, PopTray})
        connect(a, &QAction::triggered, this, &TForm1::TaskTraySet);
    // An entry that names the shown mode selects it; the single button toggles.
    qt::onSelect(
        MenuPanelMode1, [this] { return panelMode_ == 0; }, [this] { PanelModeClick(); }, [this] { PanelCheck(); });
    qt::onSelect(
        MenuPanelMode2, [this] { return panelMode_ == 1; }, [this] { PanelModeClick(); }, [this] { PanelCheck(); });
    connect(TBtnPanelMode, &QAction::triggered, this, &TForm1::PanelModeClick);
    for (auto [entry, preset] : {std::pair{MenuSizeMode0, 0}, std::pair{MenuSizeMode1, 1}, std::pair{MenuSizeMode2, 2}})
        connect(entry, &QAction::triggered, this, [this, preset] { FormInitSize(preset); });
    connect(MenuSizeMini, &QAction::triggered, this, &TForm1::MenuSizeMiniClick);
    for (QAction* a : {PopSetup, TBtnSetup})
        connect(a, &QAction::triggered, this, &TForm1::ShowDlgSetup);
    connect(MenuPasswd, &QAction::triggered, this, &TForm1::MenuPasswdClick);
    connect(MenuAbout, &QAction::triggered, this, &TForm1::ShowDlgVersion);
    connect(MenuTopic, &QAction::triggered, this, &TForm1::HelpTopic);
    connect(PopTraySize, &QAction::triggered, this, &TForm1::MainFormShow);
    connect(PopTrayMini, &QAction::triggered, this, &TForm1::PopTrayMiniClick);
    connect(PopupTray, &QMenu::aboutToShow, this, &TForm1::PopupTrayPopup);
    // The automatic sync asks at the minute it is due.
    Sync->setAutomaticCheck([this] { return CommandStatesFor(SituationOf(*this)).automaticSync; });
}

// The commands whose use depends on the window's state, from the one table.
void TForm1::ApplyCommandStates()
{
    const CommandStates states = CommandStatesFor(SituationOf(*this));
    PopTraySize->setText(QString::fromUtf8(states.traySizeCaption));
    PopTrayMini->setText(QString::fromUtf8(states.trayMiniCaption));
    PopMini->setText(QString::fromUtf8(states.gridMiniCaption));
    for (QAction* entry : {DayList->PopTraySchAdd, Lists->PopTraySchEdit, ListMemo->PopTrayMemo})
        entry->setEnabled(states.trayEditing);
    for (QAction* entry : {PopTraySize, PopTrayMini})
        entry->setEnabled(states.trayShowHide);
    for (QAction* entry : {MenuClock, TBtnClock, MenuNote})
        entry->setEnabled(states.rightPanelToggles);
    MenuPanelMode->setEnabled(states.panelModeMenu);
}

} // namespace kal
