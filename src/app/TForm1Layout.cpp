// The areas of the main window, its display modes, the notification area and the title.
#include "app/TForm1.h"

#include "alarm/qt/ClockPanel.h"
#include "alarm/qt/StatusPanel.h"
#include "app/Startup.h"
#include "calendar/THeaderPanel.h"
#include "calendar/qt/MonthGrid.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ResourceIcon.h"
#include "platform/qt/Widgets.h"
#include "settings/WindowGeometry.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace kal {
namespace {

QSplitter* splitter(Qt::Orientation orientation, const char* name, QWidget* parent)
{
    auto* area = new QSplitter(orientation, parent);
    area->setObjectName(name);
    area->setHandleWidth(3);
    area->setChildrenCollapsible(false);
    return area;
}

ScreenRect availableArea(const QScreen* screen)
{
    if (!screen)
        return ScreenRect{0, 0, 1024, 768};
    QRect r = screen->availableGeometry();
    return ScreenRect{r.left(), r.top(), r.width(), r.height()};
}

ScreenRect screenOf(const QWidget* window)
{
    return availableArea(window->screen() ? window->screen() : QGuiApplication::primaryScreen());
}

// The screen a stored position lies on; the primary one when that screen is gone.
ScreenRect screenAt(int left, int top)
{
    QScreen* screen = QGuiApplication::screenAt(QPoint(left, top));
    return availableArea(screen ? screen : QGuiApplication::primaryScreen());
}

} // namespace

void TForm1::CreateAreas()
{
    auto* central = new QWidget(this);
    central->setObjectName("CentralArea");
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    setCentralWidget(central);

    SplH = splitter(Qt::Horizontal, "SplH", central);
    centralLayout->addWidget(SplH);
    PanelLeft = new QWidget(SplH);
    PanelLeft->setObjectName("PanelLeft");
    auto* leftLayout = new QVBoxLayout(PanelLeft);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    leftLayout->addWidget(Calendar->PanelMonSch);
    SplX = splitter(Qt::Vertical, "SplX", PanelLeft);
    leftLayout->addWidget(SplX, 1);
    SplX->addWidget(Calendar->GridArea);
    SplX->addWidget(PanelNote);
    PanelNote->setMinimumHeight(50);
    SplX->setStretchFactor(0, 0);
    SplX->setStretchFactor(1, 1);

    PanelRight = new QWidget(SplH);
    PanelRight->setObjectName("PanelRight");
    auto* rightLayout = new QVBoxLayout(PanelRight);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(PanelTimer->PanelClock);
    rightLayout->addWidget(DayList->PanelDaySch);
    SplV = splitter(Qt::Vertical, "SplV", PanelRight);
    rightLayout->addWidget(SplV, 1);
    SplM = splitter(Qt::Vertical, "SplM", SplV);
    SplM->addWidget(DayList->ListDaySch);
    SplM->addWidget(ListMemo);
    ListMemo->setMinimumHeight(30);
    SplV->addWidget(PanelTodo);
    PanelTodo->setMinimumHeight(48);
    SplV->setStretchFactor(0, 0);
    SplV->setStretchFactor(1, 1);

    SplH->setStretchFactor(0, 1);
    SplH->setStretchFactor(1, 0);

    connect(Calendar->PanelMonSch, &THeaderPanel::doubleClicked, this, &TForm1::SmallSize);
    connect(SplH, &QSplitter::splitterMoved, this, [this] {
        // A drag of the splitter is the only thing that changes the remembered width.
        if (PanelRight->isVisible())
            pnlWidth_ = PanelRight->width();
        Calendar->HSplitMove();
    });
    connect(SplX, &QSplitter::splitterMoved, this, [this] {
        gridHeight_ = Calendar->GridMonth->height();
        SizeChange();
    });
}

void TForm1::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(true);
    qt::setFixedHeightForFont(bar, 19);
    StatusPanel3 = new QWidget(bar);
    StatusPanel3->setObjectName("StatusPanel3");
    StatusPanel3->setFixedWidth(50);
    bar->addWidget(Calendar->StatusPanel0);
    bar->addWidget(PanelTimer->StatusPanel1);
    bar->addWidget(PanelTimer->StatusPanel2);
    bar->addWidget(StatusPanel3);
    Notices = new qt::DataFileNotices(services_.platform, bar);
    bar->addPermanentWidget(Sync->ProgressSync);
    bar->addPermanentWidget(Sync->StatusSync);
    bar->addPermanentWidget(Feeds->StatusFeeds);
}

void TForm1::PanelCheck()
{
    const bool withRight = panelMode_ == 0 && !miniMode_;
    MenuPanelMode1->setChecked(panelMode_ == 0);
    MenuPanelMode2->setChecked(panelMode_ != 0);
    TBtnPanelMode->setChecked(panelMode_ == 0);
    PanelRight->setVisible(withRight);
    ApplyCommandStates();
    if (withRight) {
        PanelTimer->PanelClock->setVisible(clockShown_);
        NoteCheck();
    } else {
        PanelNote->setVisible(false);
    }
    Calendar->SetPanelMode(panelMode_ == 0);
    Calendar->ApplyPainterMode();
    SizeChange();
}

void TForm1::PanelModeClick()
{
    if (miniMode_) {
        PanelCheck();
        return;
    }
    state_.windowStateDirty = true;
    if (panelMode_ == 0) {
        if (notesShown_)
            gridHeight_ = Calendar->GridMonth->height();
        panelMode_ = 1;
        PanelTodo->WriteBack();
    } else {
        panelMode_ = 0;
    }
    PanelCheck();
    if (panelMode_ == 0) {
        PanelTodo->PageTodo->setCurrentIndex(1);
        PanelTodo->PageTodo->setCurrentIndex(0);
    }
    SizeChange();
    DaySchEdit();
}

void TForm1::SizeChange()
{
    if (state_.layoutBusy || !state_.created)
        return;
    if (PanelRight->isVisible()) {
        int left = std::max(50, width() - pnlWidth_ - 11);
        SplH->setSizes({left, pnlWidth_});
    }
    if (PanelNote->isVisible()) {
        int total = SplX->height();
        SplX->setSizes({gridHeight_, std::max(50, total - gridHeight_ - SplX->handleWidth())});
    }
    Calendar->GridMonth->relayout();
    Calendar->HSplitMove();
    Focus->keepVisible();
}

void TForm1::BarCheck()
{
    ToolBar1->setVisible(MenuToolBar->isChecked() && !miniMode_);
    statusBar()->setVisible(miniMode_ ? settings_.miniStatusBar == 1 : MenuStatusBar->isChecked());
    // The mini calendar is narrower than the date panel alone.
    for (QWidget* panel : {static_cast<QWidget*>(PanelTimer->StatusPanel1),
                           static_cast<QWidget*>(PanelTimer->StatusPanel2), StatusPanel3})
        panel->setVisible(!miniMode_);
    Calendar->StatusPanel0->setMinimumWidth(miniMode_ ? 0 : 180);
}

void TForm1::MenuToolBarClick()
{
    state_.windowStateDirty = true;
    BarCheck();
    SizeChange();
}

void TForm1::MenuStatusBarClick()
{
    state_.windowStateDirty = true;
    BarCheck();
    SizeChange();
}

void TForm1::MenuClockClick()
{
    if (!PanelRight->isVisible())
        return;
    state_.windowStateDirty = true;
    clockShown_ = !clockShown_;
    MenuClock->setChecked(clockShown_);
    TBtnClock->setChecked(clockShown_);
    PanelTimer->PanelClock->setVisible(clockShown_);
    if (clockShown_)
        PanelTimer->PanelClock->tick(services_.platform.now());
    SizeChange();
}

void TForm1::MenuNoteClick()
{
    if (miniMode_)
        return;
    state_.windowStateDirty = true;
    if (notesShown_)
        gridHeight_ = Calendar->GridMonth->height();
    notesShown_ = !notesShown_;
    MenuNote->setChecked(notesShown_);
    NoteCheck();
    SizeChange();
}

void TForm1::NoteCheck()
{
    const bool show = notesShown_ && panelMode_ == 0 && !miniMode_;
    PanelNote->setVisible(show);
    if (show)
        SplX->setSizes({gridHeight_, std::max(50, SplX->height() - gridHeight_)});
}

// Stored sizes and positions are limited to the screen before any use.
void TForm1::FitStoredGeometry()
{
    normal_ = FitOnScreen(normal_, WindowGeometry{}, screenAt(normal_.left, normal_.top));
    mini_ =
        FitOnScreen(mini_, WindowGeometry{1, 1, kMiniPresetWidth, kMiniPresetHeight}, screenAt(mini_.left, mini_.top));
    const ScreenRect screen = screenAt(normal_.left, normal_.top);
    pnlWidth_ = FitExtent(pnlWidth_, screen.width);
    gridHeight_ = FitExtent(gridHeight_, screen.height);
    memoHeight_ = FitExtent(memoHeight_, screen.height);
    settings_.schHeight = FitExtent(settings_.schHeight, screen.height);
    settings_.memoHeight = FitExtent(settings_.memoHeight, screen.height);
}

void TForm1::PositionCheck()
{
    const int mode = miniMode_ ? settings_.miniPosMode : settings_.posMode;
    const WindowGeometry& remembered = miniMode_ ? mini_ : normal_;
    if (mode == 3 && !miniMode_ && (isMinimized() || isMaximized()))
        return;
    // Before the window is first on screen its frame is unknown; the placement is then made
    // again once it is (moveEvent).
    const QSize frame = frameGeometry().size();
    state_.frameCounted = frame != size();
    // A remembered place may lie on another screen than the one the window opens on.
    const ScreenRect screen = mode == 3 ? screenAt(remembered.left, remembered.top) : screenOf(this);
    ScreenRect place = PlaceWindow(mode, screen, frame.width(), frame.height(), remembered.left, remembered.top);
    move(place.left, place.top);
}

// The window system tells the frame only once the window is on screen.
void TForm1::PlaceAgainWithFrame()
{
    if (!state_.frameCounted && isVisible() && frameGeometry().size() != size())
        PositionCheck();
}

void TForm1::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    PlaceAgainWithFrame();
}

void TForm1::ApplyWindowFlags()
{
    Qt::WindowFlags flags = Qt::Window;
    // No task-bar button is only possible where the tray can bring the window back.
    if ((state_.taskbarHidden && Tray->available()) || miniMode_)
        flags = Qt::Tool;
    flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint;
    if (!miniMode_)
        flags |= Qt::WindowMaximizeButtonHint;
    if (settings_.stayOnTop == 1)
        flags |= Qt::WindowStaysOnTopHint;
    const bool visible = isVisible();
    setWindowFlags(flags);
    if (visible)
        show();
}

void TForm1::SmallCheck()
{
    state_.layoutBusy = true;
    Calendar->SmallCheck(miniMode_);
    TBtnSmall->setChecked(miniMode_);
    MenuSmall->setChecked(miniMode_);
    SplH->setHandleWidth(miniMode_ ? 0 : 3);
    menuBar()->setVisible(!miniMode_);
    // The mini calendar is the calendar alone; the right panel must go before the window shrinks.
    PanelRight->setVisible(!miniMode_ && panelMode_ == 0);
    PanelNote->setVisible(!miniMode_ && panelMode_ == 0 && notesShown_);
    ApplyCommandStates();
    ApplyWindowFlags();
    const WindowGeometry& size = miniMode_ ? mini_ : normal_;
    // A hidden window's splitters do not hear of the areas just hidden, so their minimum size
    // would still hold them and keep the window from shrinking.
    for (QWidget* area : {static_cast<QWidget*>(SplX), static_cast<QWidget*>(SplH), centralWidget()})
        area->updateGeometry();
    // Before the first show the layout is made when the window shows.
    if (state_.shownOnce)
        layout()->activate();
    resize(size.width, size.height);
    setWindowOpacity(miniMode_ ? settings_.miniOpacity() / 255.0 : 1.0);
    if (!miniMode_)
        SetTitleFromSettings();
    Calendar->ApplyPainterMode();
    Calendar->ApplyHeaderTexts();
    state_.layoutBusy = false;
}

void TForm1::SmallSize()
{
    if (isMaximized()) {
        // The entry and the button ticked themselves when triggered.
        TBtnSmall->setChecked(miniMode_);
        MenuSmall->setChecked(miniMode_);
        return;
    }
    state_.layoutBusy = true;
    state_.windowStateDirty = true;
    // Taken while the window manager still frames the window.
    const WindowGeometry shown = FormGeometry();
    Tray->Hide();
    hide();
    if (miniMode_) {
        if (!state_.miniPlaceKept)
            mini_ = shown;
        state_.miniPlaceKept = false;
        miniMode_ = false;
    } else {
        if (panelMode_ == 0)
            PanelTodo->WriteBack();
        normal_ = shown;
        miniMode_ = true;
    }
    BarCheck();
    SmallCheck();
    Calendar->ApplyGridMode();
    PanelCheck();
    PositionCheck();
    show();
    // The window was made anew for its new frame; the keys must reach it at once (F12 back).
    activateWindow();
    state_.layoutBusy = false;
    SizeChange();
    IconTraySet();
    Calendar->GridMonth->setSelection(Calendar->GridMonth->selectedColumn(), Calendar->GridMonth->selectedRow());
    DaySchEdit();
}

void TForm1::FormInitSize(int preset)
{
    SizePreset size;
    if (preset == 0)
        size = SizePreset{startGeometry_.width,      startGeometry_.height,        startGeometry_.rightPanel,
                          startGeometry_.gridHeight, startGeometry_.dayListHeight, startGeometry_.memoHeight};
    else
        size = preset == 1 ? kPreset640 : kPreset800;
    state_.windowStateDirty = true;
    normal_.width = size.width;
    normal_.height = size.height;
    pnlWidth_ = size.rightPanel;
    gridHeight_ = size.gridHeight;
    memoHeight_ = size.memoHeight;
    if (miniMode_)
        return;
    if (isMaximized())
        showNormal();
    resize(size.width, size.height);
    // The day list and the memo are sized through both splitters; the ToDo lists take the rest.
    SplM->setSizes({size.dayListHeight, size.memoHeight});
    const int schedulesAndMemo = size.dayListHeight + SplM->handleWidth() + size.memoHeight;
    SplV->setSizes({schedulesAndMemo, std::max(48, SplV->height() - schedulesAndMemo - SplV->handleWidth())});
    SizeChange();
}

void TForm1::MenuSizeMiniClick()
{
    state_.windowStateDirty = true;
    mini_.width = kMiniPresetWidth;
    mini_.height = kMiniPresetHeight;
    if (miniMode_)
        resize(mini_.width, mini_.height);
}

void TForm1::IconTraySet()
{
    Tray->Show(qt::fromSjis(windowTitle_));
}

// A notification area that came or went since the last look: the icon follows it.
void TForm1::TrayCheck()
{
    if (Tray->available()) {
        IconTraySet();
    } else if (!isVisible()) {
        // The tray that held the window is gone; the task bar brings it back now.
        state_.waitsForPassword = false;
        showMinimized();
    }
    const bool taskbarHidden = settings_.taskBar == 1 && Tray->available();
    if (taskbarHidden != state_.taskbarHidden) {
        state_.taskbarHidden = taskbarHidden;
        ApplyWindowFlags();
    }
}

void TForm1::TaskTraySet()
{
    Tray->Settle();
    if (!Tray->available()) {
        // Without a notification area the window could not come back from hiding.
        showMinimized();
        return;
    }
    state_.waitsForPassword = settings_.passwd2 == 1;
    hide();
    PopupTrayPopup();
}

void TForm1::MainFormShow()
{
    Tray->Settle();
    if (state_.modalDialogOpen)
        return;
    if (isVisible() && Tray->available()) {
        if (isMinimized())
            showNormal();
        TaskTraySet();
        return;
    }
    if (settings_.passwd2 == 1 && !PasswordGiven(startup_text::kTrayPasswordLabel))
        return;
    state_.waitsForPassword = false;
    if (isMinimized() || !isVisible())
        showNormal();
    raise();
    activateWindow();
    PopupTrayPopup();
}

void TForm1::PopupTrayPopup()
{
    ApplyCommandStates();
}

void TForm1::PopTrayMiniClick()
{
    if (!isVisible() || isMinimized())
        MainFormShow();
    if (isVisible())
        SmallSize();
}

void TForm1::SetTitleFromSettings()
{
    QString title = qt::fromSjis(windowTitle_);
    setWindowTitle(title);
    QApplication::setApplicationDisplayName(QString());
    Tray->SetTip(title);
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        if (state_.taskbarHidden && Tray->available()) {
            // Minimising goes to the tray.
            setWindowState(windowState() & ~Qt::WindowMinimized);
            TaskTraySet();
            return;
        }
        if (!state_.taskbarHidden)
            setWindowTitle(qt::fromSjis(ShortDayText(Calendar->cursor().today)));
    } else if (miniMode_ && isMaximized()) {
        // Where the title bar's double clicks are not heard, the window manager reports them only
        // as a maximise: the mini calendar never maximises, it goes back to the normal size, once
        // its own handler has returned. The mini place and size are the ones from before.
        const QRect before = QWidget::normalGeometry();
        mini_ = WindowGeometry{before.x() + x() - geometry().x(), before.y() + y() - geometry().y(), before.width(),
                               before.height()};
        state_.miniPlaceKept = true;
        setWindowState(windowState() & ~Qt::WindowMaximized);
        QMetaObject::invokeMethod(this, &TForm1::SmallSize, Qt::QueuedConnection);
    } else if (miniMode_) {
        DaySchEdit();
    } else {
        SetTitleFromSettings();
    }
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    SizeChange();
}

} // namespace kal
