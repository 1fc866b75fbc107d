// The main menu, the tool bar and the context menus, and where each entry leads.
#include "app/TForm1.h"

#include "alarm/qt/TimerPanel.h"

#include "calendar/qt/MonthGrid.h"
#include "memo/qt/MemoList.h"
#include "memo/qt/NotePanel.h"
#include "platform/qt/Widgets.h"

#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>

namespace kal {

QAction* TForm1::NewAction(QAction*& member, const char* name, const char* caption, const char* shortcut)
{
    member = new QAction(QString::fromUtf8(caption), this);
    member->setObjectName(name);
    if (shortcut) {
        member->setShortcut(QKeySequence(shortcut));
        // Bound to the window, the key works in every mode, the mini calendar's hidden menu
        // bar included.
        addAction(member);
    }
    return member;
}

void TForm1::CreateActions()
{
    NewAction(MenuCsvRead, "MenuCsvRead", "CSV形式の読込(&R)");
    NewAction(MenuCsvSave, "MenuCsvSave", "CSV形式で保存(&S)");
    NewAction(MenuPrintPrev, "MenuPrintPrev", "印刷プレビュー(&V)");
    NewAction(MenuPrint, "MenuPrint", "カレンダーの印刷(&P)");
    NewAction(MenuExit, "MenuExit", "終了(&X)");

    NewAction(MenuSchEdit, "MenuSchEdit", "スケジュール一覧(&E)");
    NewAction(MenuMemoList, "MenuMemoList", "メモ一覧(&L)");
    NewAction(MenuHoliday, "MenuHoliday", "祝日・休日・記念日一覧(&H)");
    NewAction(MenuDelete, "MenuDelete", "削除(&D)");
    NewAction(MenuFind, "MenuFind", "検索(&F)...");

    NewAction(MenuToolBar, "MenuToolBar", "ツールバー(&T)");
    NewAction(MenuStatusBar, "MenuStatusBar", "ステータスバー(&S)");
    NewAction(MenuClock, "MenuClock", "デジタル時計(&C)", "F7");
    NewAction(MenuNote, "MenuNote", "ノート(&N)", "F8");
    NewAction(MenuMonthly, "MenuMonthly", "月間(&M)");
    NewAction(MenuWeekly, "MenuWeekly", "週間(&W)");
    NewAction(MenuPanelMode1, "MenuPanelMode1", "カレンダー/ToDo(&T)");
    NewAction(MenuPanelMode2, "MenuPanelMode2", "カレンダー(&C)");
    NewAction(MenuSmall, "MenuSmall", "ミニカレンダー(&M)", "F12");
    NewAction(MenuTray, "MenuTray", "タスクトレイに格納(&R)", "F3");
    for (QAction* toggle : {MenuToolBar, MenuStatusBar, MenuClock, MenuNote, MenuSmall})
        toggle->setCheckable(true);

    NewAction(MenuNowMonth, "MenuNowMonth", "今月(&C)", "Home");
    NewAction(MenuNextMonth, "MenuNextMonth", "次月(&N)", "Ctrl+N");
    NewAction(MenuBeforeMonth, "MenuBeforeMonth", "前月(&B)", "Ctrl+B");
    NewAction(MenuNextYear, "MenuNextYear", "次年(&Y)", "Ctrl+Y");
    NewAction(MenuBeforeYear, "MenuBeforeYear", "前年(&Z)", "Ctrl+Z");
    NewAction(MenuJump, "MenuJump", "指定した日付へ移動(&J)", "Ctrl+J");

    NewAction(PopSetup, "PopSetup", "環境設定(&E)");
    NewAction(MenuPasswd, "MenuPasswd", "パスワード登録(&P)");
    NewAction(MenuSizeMode0, "MenuSizeMode0", "起動時のサイズ");
    NewAction(MenuSizeMode1, "MenuSizeMode1", "640 x 480");
    NewAction(MenuSizeMode2, "MenuSizeMode2", "800 x 600");
    NewAction(MenuSizeMini, "MenuSizeMini", "ミニカレンダー");
    NewAction(MenuCat, "MenuCat", "分類の設定(&C)");
    NewAction(MenuCatView1, "MenuCatView1", "チェック項目を表示");
    NewAction(MenuCatView2, "MenuCatView2", "チェック項目を非表示");
    NewAction(MenuTopic, "MenuTopic", "トピックの検索(&C)", "F1");
    NewAction(MenuAbout, "MenuAbout", "バージョン情報(&A)...");

    // Radio pairs: each entry selects its state and only shows the key in its caption; the key
    // itself is one window action that toggles the pair (CreateShortcuts). A real shortcut on
    // the entries would compete with it whenever the menu bar keeps the focus.
    for (auto [pair, key] : {std::pair{std::pair{MenuMonthly, MenuWeekly}, "F9"},
                             std::pair{std::pair{MenuPanelMode1, MenuPanelMode2}, "F10"},
                             std::pair{std::pair{MenuCatView1, MenuCatView2}, "F5"}}) {
        auto* group = new QActionGroup(this);
        for (QAction* entry : {pair.first, pair.second}) {
            entry->setCheckable(true);
            group->addAction(entry);
            entry->setText(entry->text() + '\t' + QKeySequence(key).toString(QKeySequence::NativeText));
        }
    }
    MenuMonthly->setChecked(true);
    MenuPanelMode1->setChecked(true);
    MenuCatView1->setChecked(true);

    TBtnHome = qt::toolAction(this, "TBtnHome", "今日", "tb-home");
    TBtnPrint = qt::toolAction(this, "TBtnPrint", "月間カレンダーの印刷", "tb-print");
    TBtnPreview = qt::toolAction(this, "TBtnPreview", "印刷プレビュー", "tb-preview");
    TBtnSchRep = qt::toolAction(this, "TBtnSchRep", "スケジュール一覧", "tb-sch-list");
    TBtnMemo = qt::toolAction(this, "TBtnMemo", "メモ一覧", "tb-memo-list");
    BtnHoliday = qt::toolAction(this, "BtnHoliday", "祝日・記念日一覧", "tb-holiday");
    TBtnDel = qt::toolAction(this, "TBtnDel", "削除", "tb-delete");
    TBtnClock = qt::toolAction(this, "TBtnClock", "デジタル時計の表示", "tb-clock");
    TBtnWeekly = qt::toolAction(this, "TBtnWeekly", "週間", "tb-weekly");
    TBtnMonthly = qt::toolAction(this, "TBtnMonthly", "月間", "tb-monthly");
    TBtnPanelMode = qt::toolAction(this, "TBtnPanelMode", "表示切替", "tb-panel");
    TBtnSmall = qt::toolAction(this, "TBtnSmall", "ミニカレンダー", "tb-mini");
    TBtnTray = qt::toolAction(this, "TBtnTray", "タスクトレイに格納", "tb-tray");
    TBtnFind = qt::toolAction(this, "TBtnFind", "検索", "tb-find");
    TBtnJump = qt::toolAction(this, "TBtnJump", "指定した日付へ移動", "tb-jump");
    TBtnCat = qt::toolAction(this, "TBtnCat", "分類の設定", "tb-cat");
    TBtnCatView = qt::toolAction(this, "TBtnCatView", "分類表示切替", "tb-cat-view");
    TBtnSetup = qt::toolAction(this, "TBtnSetup", "環境設定", "tb-setup");
    // The settings dialog enables its own command.
    PopSetup->setEnabled(false);
    CreateShortcuts();
}

void TForm1::ShowShortcut(QAction* entry, const char* key)
{
    // Shown in a pop-up menu only: a widget shortcut of an entry that no menu bar carries never
    // matches, so the window's own action stays the key's one owner.
    entry->setShortcut(QKeySequence(key));
    entry->setShortcutContext(Qt::WidgetShortcut);
}

void TForm1::CreateShortcuts()
{
    struct Toggle {
        const char* name;
        const char* key;
        void (TForm1::*handler)();
    };
    const Toggle toggles[] = {{"KeyGridMode", "F9", &TForm1::GridModeClick},
                              {"KeyPanelMode", "F10", &TForm1::PanelModeClick},
                              {"KeyCatView", "F5", &TForm1::MenuCatViewClick}};
    for (const Toggle& t : toggles) {
        auto* action = new QAction(this);
        action->setObjectName(t.name);
        action->setShortcut(QKeySequence(t.key));
        addAction(action);
        connect(action, &QAction::triggered, this, t.handler);
    }
}

void TForm1::ConnectSelections()
{
    // Entries and buttons that name a state select it; one that is already selected changes
    // nothing but its check mark.
    auto select = [this](QAction* entry, auto isSelected, void (TForm1::*toggle)(), auto showState) {
        connect(entry, &QAction::triggered, this, [this, isSelected, toggle, showState] {
            if (isSelected())
                showState();
            else
                (this->*toggle)();
        });
    };
    auto viewShown = [this] { ApplyViewCaptions(); };
    select(
        MenuMonthly, [this] { return !weekChosen_; }, &TForm1::GridModeClick, viewShown);
    select(
        TBtnMonthly, [this] { return !weekChosen_; }, &TForm1::GridModeClick, viewShown);
    select(
        MenuWeekly, [this] { return weekChosen_; }, &TForm1::GridModeClick, viewShown);
    select(
        TBtnWeekly, [this] { return weekChosen_; }, &TForm1::GridModeClick, viewShown);
    auto panelShown = [this] { PanelCheck(); };
    select(
        MenuPanelMode1, [this] { return panelMode_ == 0; }, &TForm1::PanelModeClick, panelShown);
    select(
        MenuPanelMode2, [this] { return panelMode_ == 1; }, &TForm1::PanelModeClick, panelShown);
    auto catShown = [this] { SetCatViewMode(catMode_); };
    select(
        MenuCatView1, [this] { return catMode_ == 0; }, &TForm1::MenuCatViewClick, catShown);
    select(
        MenuCatView2, [this] { return catMode_ != 0; }, &TForm1::MenuCatViewClick, catShown);
    // The single buttons of the panel mode and the category view are toggles.
    connect(TBtnPanelMode, &QAction::triggered, this, &TForm1::PanelModeClick);
    connect(TBtnCatView, &QAction::triggered, this, &TForm1::MenuCatViewClick);
}

void TForm1::CreateMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    MenuFile = bar->addMenu(QString::fromUtf8("ファイル(&F)"));
    MenuFile->setObjectName("MenuFile");
    MenuFile->addAction(MenuCsvRead);
    MenuFile->addAction(MenuCsvSave);
    MenuFile->addSeparator();
    MenuFile->addAction(PanelNote->MenuNoteTab);
    MenuFile->addSeparator();
    MenuFile->addAction(MenuPrintPrev);
    MenuFile->addAction(MenuPrint);
    MenuFile->addSeparator();
    MenuFile->addAction(MenuExit);

    MenuEdit = bar->addMenu(QString::fromUtf8("編集(&E)"));
    MenuEdit->setObjectName("MenuEdit");
    for (QAction* a : {DayList->MenuSchAdd, MenuSchEdit, PanelNote->MenuNoteEdit, ListMemo->MenuMemo, MenuMemoList,
                       PanelTodo->MenuToDo, MenuHoliday})
        MenuEdit->addAction(a);
    MenuEdit->addSeparator();
    MenuEdit->addAction(MenuDelete);
    MenuEdit->addSeparator();
    MenuEdit->addAction(MenuFind);

    MenuShow = bar->addMenu(QString::fromUtf8("表示(&V)"));
    MenuShow->setObjectName("MenuShow");
    for (QAction* a : {MenuToolBar, MenuStatusBar, MenuClock, MenuNote})
        MenuShow->addAction(a);
    MenuShow->addSeparator();
    MenuCalender = MenuShow->addMenu(QString::fromUtf8("カレンダー"));
    MenuCalender->setObjectName("MenuCalender");
    MenuCalender->addAction(MenuMonthly);
    MenuCalender->addAction(MenuWeekly);
    MenuPanelMode = MenuShow->addMenu(QString::fromUtf8("表示モード"));
    MenuPanelMode->setObjectName("MenuPanelMode");
    MenuPanelMode->addAction(MenuPanelMode1);
    MenuPanelMode->addAction(MenuPanelMode2);
    MenuShow->addAction(MenuSmall);
    MenuShow->addSeparator();
    MenuShow->addAction(MenuTray);

    MenuGoTo = bar->addMenu(QString::fromUtf8("移動(&G)"));
    MenuGoTo->setObjectName("MenuGoTo");
    MenuGoTo->addAction(MenuNowMonth);
    MenuGoTo->addAction(MenuNextMonth);
    MenuGoTo->addAction(MenuBeforeMonth);
    YearSeparator = MenuGoTo->addSeparator();
    MenuGoTo->addAction(MenuNextYear);
    MenuGoTo->addAction(MenuBeforeYear);
    MenuGoTo->addSeparator();
    MenuGoTo->addAction(MenuJump);

    MenuEnv = bar->addMenu(QString::fromUtf8("設定(&S)"));
    MenuEnv->setObjectName("MenuEnv");
    MenuEnv->addAction(PopSetup);
    MenuEnv->addAction(MenuPasswd);
    MenuSize = MenuEnv->addMenu(QString::fromUtf8("表示サイズの初期化"));
    MenuSize->setObjectName("MenuSize");
    for (QAction* a : {MenuSizeMode0, MenuSizeMode1, MenuSizeMode2, MenuSizeMini})
        MenuSize->addAction(a);
    MenuEnv->addSeparator();
    MenuEnv->addAction(MenuCat);
    MenuCatView = MenuEnv->addMenu(QString::fromUtf8("分類の表示切替"));
    MenuCatView->setObjectName("MenuCatView");
    MenuCatView->addAction(MenuCatView1);
    MenuCatView->addAction(MenuCatView2);

    MenuHelp = bar->addMenu(QString::fromUtf8("ヘルプ(&H)"));
    MenuHelp->setObjectName("MenuHelp");
    MenuHelp->addAction(MenuTopic);
    MenuHelp->addSeparator();
    MenuHelp->addAction(MenuAbout);
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

    // A null entry is a separator.
    const std::initializer_list<QAction*> buttons = {TBtnHome,
                                                     TBtnPrint,
                                                     TBtnPreview,
                                                     nullptr,
                                                     DayList->TBtnSchAdd,
                                                     TBtnSchRep,
                                                     PanelNote->TBtnNote,
                                                     ListMemo->TBtnMemoNew,
                                                     TBtnMemo,
                                                     PanelTodo->TBtnTodoNew,
                                                     BtnHoliday,
                                                     nullptr,
                                                     TBtnDel,
                                                     nullptr,
                                                     TBtnClock,
                                                     nullptr,
                                                     TBtnWeekly,
                                                     TBtnMonthly,
                                                     nullptr,
                                                     TBtnPanelMode,
                                                     TBtnSmall,
                                                     TBtnTray,
                                                     nullptr,
                                                     TBtnFind,
                                                     TBtnJump,
                                                     nullptr,
                                                     TBtnCat,
                                                     TBtnCatView,
                                                     TBtnSetup};
    for (QAction* button : buttons) {
        if (button)
            ToolBar1->addAction(button);
        else
            ToolBar1->addSeparator();
    }
    for (QAction* toggle : {TBtnClock, TBtnWeekly, TBtnMonthly, TBtnPanelMode, TBtnSmall, TBtnCatView})
        toggle->setCheckable(true);
    auto* viewGroup = new QActionGroup(this);
    viewGroup->addAction(TBtnWeekly);
    viewGroup->addAction(TBtnMonthly);
    TBtnMonthly->setChecked(true);
    TBtnSetup->setEnabled(false);
}

void TForm1::CreatePopups()
{
    PopupGrid = new QMenu(this);
    PopupGrid->setObjectName("PopupGrid");
    PopupGrid->addAction(DayList->PopSchNew);
    PopupGrid->addAction(NewAction(PopSchEdit, "PopSchEdit", "スケジュールの編集(&E)"));
    PopupGrid->addAction(ListMemo->PopMemo);
    PopupGrid->addAction(NewAction(PopHoliday, "PopHoliday", "祝日・休日・記念日の追加(&H)"));
    PopupGrid->addSeparator();
    PopupGrid->addAction(NewAction(PopNow, "PopNow", "今日へ移動(&N)"));
    PopupGrid->addAction(NewAction(PopNextMonth, "PopNextMonth", "次月(&N)"));
    PopupGrid->addAction(NewAction(PopBeforeMonth, "PopBeforeMonth", "前月(&B)"));
    PopupGrid->addAction(NewAction(PopJump, "PopJump", "指定した日付へ移動(&J)"));
    PopupGrid->addSeparator();
    PopupGrid->addAction(NewAction(PopMini, "PopMini", "ミニカレンダー(&S)"));
    PopupGrid->addAction(NewAction(PopTray, "PopTray", "タスクトレイに格納(&R)"));
    // The main menu carries the shortcuts; the pop-up shows them as a reminder.
    ShowShortcut(PopNow, "Home");
    ShowShortcut(PopNextMonth, "Ctrl+N");
    ShowShortcut(PopBeforeMonth, "Ctrl+B");
    ShowShortcut(PopMini, "F12");
    ShowShortcut(PopTray, "F3");

    PopupDay = new QMenu(this);
    PopupDay->setObjectName("PopupDay");
    for (QAction* a : {DayList->PopDayNew, DayList->PopDayRep, DayList->PopDayCopy, DayList->PopDayDel})
        PopupDay->addAction(a);
    PopupDay->addSeparator();
    PopupDay->addAction(PanelTodo->PoPTodoCopy);
    PopupDay->addSeparator();
    for (QAction* a : {ListMemo->PopMemoAdd, ListMemo->PopMemoLineRep, ListMemo->PopMemoLineDel, ListMemo->PopMemoDel})
        PopupDay->addAction(a);

    PopupTray = new QMenu(this);
    PopupTray->setObjectName("PopupTray");
    PopupTray->addAction(DayList->PopTraySchAdd);
    PopupTray->addAction(NewAction(PopTraySchEdit, "PopTraySchEdit", "スケジュールの編集(&E)"));
    PopupTray->addAction(ListMemo->PopTrayMemo);
    PopupTray->addSeparator();
    PopupTray->addAction(NewAction(PopTraySize, "PopTraySize", "元のサイズ(&S)"));
    PopupTray->addAction(NewAction(PopTrayMini, "PopTrayMini", "ミニカレンダー(&N)"));
    PopupTray->addSeparator();
    PopupTray->addAction(NewAction(PopTrayExit, "PopTrayExit", "終了(&X)"));
}

void TForm1::ConnectCommands()
{
    connect(MenuExit, &QAction::triggered, this, &TForm1::ApplicationExit);
    connect(PopTrayExit, &QAction::triggered, this, &TForm1::ApplicationExit);
    connect(PanelTodo, &qt::TodoPanel::todoLinesChanged, this, &TForm1::TodoLinesChanged);
    connect(ListMemo, &qt::MemoList::memoChanged, this, &TForm1::MemoChanged);
    connect(MenuPasswd, &QAction::triggered, this, &TForm1::MenuPasswdClick);
    connect(PanelTimer, &qt::TimerPanel::ticked, this, &TForm1::TrayCheck);
    connect(PanelTimer, &qt::TimerPanel::minuteBegan, this, &TForm1::MinuteBegan);
    connect(PanelTimer, &qt::TimerPanel::refreshDue, this, &TForm1::PeriodicRefresh);

    for (QAction* a : {MenuNowMonth, TBtnHome, PopNow})
        connect(a, &QAction::triggered, this, &TForm1::CurrentNow);
    for (QAction* a : {MenuNextMonth, PopNextMonth})
        connect(a, &QAction::triggered, this, &TForm1::NextMonthChange);
    for (QAction* a : {MenuBeforeMonth, PopBeforeMonth})
        connect(a, &QAction::triggered, this, &TForm1::BeforeMonthChange);
    connect(MenuNextYear, &QAction::triggered, this, &TForm1::NextYearChange);
    connect(MenuBeforeYear, &QAction::triggered, this, &TForm1::BeforeYearChange);

    connect(MenuToolBar, &QAction::triggered, this, &TForm1::MenuToolBarClick);
    connect(MenuStatusBar, &QAction::triggered, this, &TForm1::MenuStatusBarClick);
    for (QAction* a : {MenuClock, TBtnClock})
        connect(a, &QAction::triggered, this, &TForm1::MenuClockClick);
    connect(MenuNote, &QAction::triggered, this, &TForm1::MenuNoteClick);
    for (QAction* a : {MenuSmall, TBtnSmall, PopMini})
        connect(a, &QAction::triggered, this, &TForm1::SmallSize);
    for (QAction* a : {MenuTray, TBtnTray, PopTray})
        connect(a, &QAction::triggered, this, &TForm1::TaskTraySet);
    connect(MenuSizeMode0, &QAction::triggered, this, [this] { FormInitSize(0); });
    connect(MenuSizeMode1, &QAction::triggered, this, [this] { FormInitSize(1); });
    connect(MenuSizeMode2, &QAction::triggered, this, [this] { FormInitSize(2); });
    connect(MenuSizeMini, &QAction::triggered, this, &TForm1::MenuSizeMiniClick);
    for (QAction* a : {MenuCat, TBtnCat})
        connect(a, &QAction::triggered, this, &TForm1::CatEntry);
    connect(MenuAbout, &QAction::triggered, this, &TForm1::ShowDlgVersion);
    connect(MenuTopic, &QAction::triggered, this, &TForm1::HelpTopic);

    for (QAction* a : {MenuDelete, TBtnDel})
        connect(a, &QAction::triggered, this, &TForm1::DataDelete);
    for (QTreeWidget* list : {DayList->ListDaySch, static_cast<QTreeWidget*>(ListMemo)})
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            PopupDayPopup();
            PopupDay->popup(list->viewport()->mapToGlobal(at));
        });

    connect(PopTraySize, &QAction::triggered, this, &TForm1::MainFormShow);
    connect(PopTrayMini, &QAction::triggered, this, &TForm1::PopTrayMiniClick);
    connect(PopupTray, &QMenu::aboutToShow, this, &TForm1::PopupTrayPopup);
    ConnectListCommands();
    ConnectWeekCommands();
    ConnectSelections();
}

} // namespace kal
