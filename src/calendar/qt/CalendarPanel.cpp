#include "calendar/qt/CalendarPanel.h"

#include "calendar/GridLayout.h"
#include "calendar/Holidays.h"
#include "calendar/TDlgHolidayInput.h"
#include "calendar/TDlgJump.h"
#include "calendar/THeaderPanel.h"
#include "calendar/qt/CalendarNames.h"
#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/DateFormat.h"
#include "platform/FileTransaction.h"
#include "platform/SjisCodec.h"
#include "platform/qt/ElidedLabel.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "schedule/CategoryFiles.h"
#include "schedule/TDlgCatSet.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStackedLayout>
#include <QToolButton>

namespace kal::qt {
namespace {

QToolButton* headerButton(QWidget* parent, const char* name, const char* face, const char* hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(QString::fromUtf8(face));
    setHint(button, QString::fromUtf8(hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->resize(25, 22);
    return button;
}

} // namespace

CalendarPanel::CalendarPanel(const PanelContext& context, CalendarLinks links, QWidget* window)
    : QObject(window), context_(context), links_(std::move(links)), window_(window)
{
    createHeader();
    createGridArea();
    StatusPanel0 = new ElidedLabel(window);
    StatusPanel0->setObjectName("StatusPanel0");
    StatusPanel0->setFixedWidth(180);
    StatusPanel0->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    createCommands();
    createViewCommands();
    NameCalendarCells(*this);
}

void CalendarPanel::createHeader()
{
    PanelMonSch = new THeaderPanel(window_);
    PanelMonSch->setFixedHeight(26);
    LabelYear = new QLabel(PanelMonSch);
    LabelYear->setObjectName("LabelYear");
    LabelWareki = new QLabel(PanelMonSch);
    LabelWareki->setObjectName("LabelWareki");
    BtnBeforeYear = headerButton(PanelMonSch, "BtnBeforeYear", "≪", "前年");
    BtnBeforeMonth = headerButton(PanelMonSch, "BtnBeforeMonth", "＜", "前月");
    BtnNowMon = headerButton(PanelMonSch, "BtnNowMon", "", "今月");
    BtnNowMon->setStyleSheet("QToolButton { background: transparent; border: none; }");
    BtnNextMonth = headerButton(PanelMonSch, "BtnNextMonth", "＞", "次月");
    BtnNextYear = headerButton(PanelMonSch, "BtnNextYear", "≫", "次年");
    connect(PanelMonSch, &THeaderPanel::resized, this, &CalendarPanel::HSplitMove);
    connect(BtnBeforeYear, &QToolButton::clicked, this, &CalendarPanel::BeforeYearChange);
    connect(BtnBeforeMonth, &QToolButton::clicked, this, &CalendarPanel::BeforeMonthChange);
    connect(BtnNowMon, &QToolButton::clicked, this, &CalendarPanel::CurrentNow);
    connect(BtnNextMonth, &QToolButton::clicked, this, &CalendarPanel::NextMonthChange);
    connect(BtnNextYear, &QToolButton::clicked, this, &CalendarPanel::NextYearChange);
}

void CalendarPanel::createGridArea()
{
    GridArea = new QWidget(window_);
    GridArea->setObjectName("GridArea");
    // Every grid of the stack takes the area's geometry, shown or not, so the month grid keeps
    // the height the window remembers while the week grid is shown.
    auto* stack = new QStackedLayout(GridArea);
    stack->setStackingMode(QStackedLayout::StackAll);
    GridMonth = new MonthGrid(GridArea);
    GridMonth->setMinimumHeight(50);
    GridWeek = new WeekGrid(GridArea);
    stack->addWidget(GridMonth);
    stack->addWidget(GridWeek);
    GridWeek->hide();
    shown_ = GridMonth;
    painter_.setBuild(&build_);
    painter_.setCategories(&categories_);
    // The month grid holds the selected cell; the other views move it.
    connect(GridMonth, &MonthGrid::selectionChanged, this, &CalendarPanel::GridMonthSelect);
    connect(GridWeek, &WeekGrid::selectionChanged, this,
            [this](int column, int row) { SelectLayoutCell(GridWeek->layoutCell(column, row)); });
}

void CalendarPanel::createCommands()
{
    MenuNowMonth = namedAction(this, "MenuNowMonth", "今月(&C)");
    MenuNextMonth = namedAction(this, "MenuNextMonth", "次月(&N)");
    MenuBeforeMonth = namedAction(this, "MenuBeforeMonth", "前月(&B)");
    MenuNextYear = namedAction(this, "MenuNextYear", "次年(&Y)");
    MenuBeforeYear = namedAction(this, "MenuBeforeYear", "前年(&Z)");
    MenuJump = namedAction(this, "MenuJump", "指定した日付へ移動(&J)");
    // Bound to the window, these keys work in every mode, the mini calendar's hidden menu bar
    // included.
    for (auto [entry, key] :
         {std::pair{MenuNowMonth, "Home"}, std::pair{MenuNextMonth, "Ctrl+N"}, std::pair{MenuBeforeMonth, "Ctrl+B"},
          std::pair{MenuNextYear, "Ctrl+Y"}, std::pair{MenuBeforeYear, "Ctrl+Z"}, std::pair{MenuJump, "Ctrl+J"}})
        entry->setShortcut(QKeySequence(key));
    YearSeparator = new QAction(this);
    YearSeparator->setSeparator(true);
    MenuCat = namedAction(this, "MenuCat", "分類の設定(&C)");
    MenuCatView1 = namedAction(this, "MenuCatView1", "チェック項目を表示");
    MenuCatView2 = namedAction(this, "MenuCatView2", "チェック項目を非表示");
    radioPair(this, MenuCatView1, MenuCatView2, "F5");
    TBtnHome = toolAction(this, "TBtnHome", "今日", "tb-home");
    TBtnJump = toolAction(this, "TBtnJump", "指定した日付へ移動", "tb-jump");
    TBtnCat = toolAction(this, "TBtnCat", "分類の設定", "tb-cat");
    TBtnCatView = toolAction(this, "TBtnCatView", "分類表示切替", "tb-cat-view");
    TBtnCatView->setCheckable(true);
    PopHoliday = namedAction(this, "PopHoliday", "祝日・休日・記念日の追加(&H)");
    PopNow = namedAction(this, "PopNow", "今日へ移動(&T)");
    PopNextMonth = namedAction(this, "PopNextMonth", "次月(&N)");
    PopBeforeMonth = namedAction(this, "PopBeforeMonth", "前月(&B)");
    PopJump = namedAction(this, "PopJump", "指定した日付へ移動(&J)");
    // The main menu carries the shortcuts; the pop-up shows them as a reminder.
    showShortcut(PopNow, "Home");
    showShortcut(PopNextMonth, "Ctrl+N");
    showShortcut(PopBeforeMonth, "Ctrl+B");

    for (QAction* a : {MenuNowMonth, TBtnHome, PopNow})
        connect(a, &QAction::triggered, this, &CalendarPanel::CurrentNow);
    for (QAction* a : {MenuNextMonth, PopNextMonth})
        connect(a, &QAction::triggered, this, &CalendarPanel::NextMonthChange);
    for (QAction* a : {MenuBeforeMonth, PopBeforeMonth})
        connect(a, &QAction::triggered, this, &CalendarPanel::BeforeMonthChange);
    connect(MenuNextYear, &QAction::triggered, this, &CalendarPanel::NextYearChange);
    connect(MenuBeforeYear, &QAction::triggered, this, &CalendarPanel::BeforeYearChange);
    for (QAction* a : {MenuJump, TBtnJump, PopJump})
        connect(a, &QAction::triggered, this, &CalendarPanel::ShowDlgJump);
    connect(PopHoliday, &QAction::triggered, this, &CalendarPanel::ShowDlgHolidayInput);
    for (QAction* a : {MenuCat, TBtnCat})
        connect(a, &QAction::triggered, this, &CalendarPanel::CatEntry);
    auto catShown = [this] { SetCatViewMode(catMode_); };
    onSelect(
        MenuCatView1, [this] { return catMode_ == 0; }, [this] { MenuCatViewClick(); }, catShown);
    onSelect(
        MenuCatView2, [this] { return catMode_ != 0; }, [this] { MenuCatViewClick(); }, catShown);
    connect(TBtnCatView, &QAction::triggered, this, &CalendarPanel::MenuCatViewClick);
    auto* key = namedAction(this, "KeyCatView", "");
    key->setShortcut(QKeySequence("F5"));
    connect(key, &QAction::triggered, this, &CalendarPanel::MenuCatViewClick);
}

void CalendarPanel::ApplyCalendarLook()
{
    const AppSettings& settings = context_.settings;
    look_ = CalendarLookFrom(settings);
    painter_.setLook(look_);

    CalendarFonts fonts;
    fonts.day = toQFont(settings.fonts[FontDay]);
    fonts.schedule = toQFont(settings.fonts[FontSch]);
    fonts.week = toQFont(settings.fonts[FontWeek]);
    fonts.mini = toQFont(settings.fonts[FontMini]);
    fonts.window = window_->font();
    painter_.setFonts(fonts);
    QColor plain =
        look_.otherMonth ? window_->palette().color(QPalette::Base) : toQColor(look_.backColor[ColOtherMonth]);
    painter_.setPlainBackground(plain);
    for (CalendarView* view : views_)
        view->grid()->setGridColor(plain);
    ApplyViewLooks();

    auto labelColor = [](QLabel* label, ColorValue color) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, toQColor(color));
        label->setPalette(palette);
    };
    labelColor(LabelYear, look_.textColor[ColYearLabel]);
    labelColor(LabelWareki, look_.textColor[ColEraLabel]);
    PanelMonSch->setCaptionColor(toQColor(look_.textColor[ColMonthLabel]));
}

void CalendarPanel::SetTodoIcons(const TodoIconSet& icons)
{
    for (int state = 1; state <= 4; ++state)
        painter_.setTodoIcon(state, icons[static_cast<std::size_t>(state)]);
}

void CalendarPanel::SmallCheck(bool mini)
{
    mini_ = mini;
    GridMonth->setLineWidth(mini ? 0 : 1);
    PanelMonSch->setFixedHeight(mini ? 20 : 26);
    for (QWidget* w : {static_cast<QWidget*>(LabelYear), static_cast<QWidget*>(LabelWareki),
                       static_cast<QWidget*>(BtnBeforeYear), static_cast<QWidget*>(BtnNextYear)})
        w->setVisible(!mini);
}

void CalendarPanel::ApplyPainterMode()
{
    painter_.setMode(mini_, withPanel_);
    GridMonth->setHeaderHeight(painter_.headerHeight());
    GridMonth->update();
}

void CalendarPanel::ApplyHeaderTexts()
{
    const AppSettings& settings = context_.settings;
    const int year = cursor_.viewYear, month = cursor_.viewMonth;
    LabelYear->setText(QString::number(year));
    LabelWareki->setText(look_.eraDates ? fromSjis(EraYearText(year, month))
                                        : QString::fromStdString(EnglishMonthName(month)));
    const int lineHeight = QFontMetrics(window_->font()).height();
    QFont captionFont;
    if (mini_) {
        captionFont = QFont(fromUtf8(settings.fonts[FontSch].name));
        captionFont.setPixelSize(std::max(9, lineHeight));
        captionFont.setBold(true);
        PanelMonSch->setCaption(QString::fromUtf8("%1年%2月").arg(year).arg(month));
    } else {
        captionFont = toQFont(settings.fonts[FontDay]);
        captionFont.setPixelSize(lineHeight + 12);
        PanelMonSch->setCaption(QString::number(month));
    }
    PanelMonSch->setCaptionFont(captionFont);
    // The caption follows the desktop's font; the header grows rather than cut it.
    PanelMonSch->setFixedHeight(std::max(mini_ ? 20 : 26, QFontMetrics(captionFont).height()));
    const char* todayPattern =
        look_.eraDates ? "\"今日：\"ggge\"年\"m\"月\"d\"日\"" : "\"今日：\"yyyy\"年\"m\"月\"d\"日\"";
    StatusPanel0->setText(fromUtf8(text::formatDateUtf8(todayPattern, cursor_.today)));
    HSplitMove();
}

void CalendarPanel::HSplitMove()
{
    const int width = PanelMonSch->width();
    const HeaderButtons b = HeaderButtonPositions(width, mini_);
    const int buttonHeight = mini_ ? 16 : 22;
    const int top = (PanelMonSch->height() - buttonHeight) / 2;
    BtnBeforeMonth->setGeometry(b.beforeMonth, top, 25, buttonHeight);
    BtnNextMonth->setGeometry(b.nextMonth, top, 25, buttonHeight);
    BtnNowMon->setGeometry(b.nowMonth, 0, b.nowMonthWidth, PanelMonSch->height());
    if (!mini_) {
        BtnBeforeYear->setGeometry(b.beforeYear, top, 25, buttonHeight);
        BtnNextYear->setGeometry(b.nextYear, top, 25, buttonHeight);
        LabelYear->adjustSize();
        LabelYear->move(b.yearLabel - LabelYear->width() + 30, (PanelMonSch->height() - LabelYear->height()) / 2);
        LabelWareki->adjustSize();
        LabelWareki->move(b.eraLabel, (PanelMonSch->height() - LabelWareki->height()) / 2);
    }
}

void CalendarPanel::HeaderEdit()
{
    const CellPos before = SelectedCell();
    build_.layout = BuildLayout(cursor_.viewYear, cursor_.viewMonth,
                                context_.settings.strWeek == 1 ? WeekStart::Monday : WeekStart::Sunday);
    CellPos selected = shown_->selectionAfterBuild(build_.layout, cursor_.selectedDate, before);
    // The grid grows to six week rows first, or a sixth-row selection would be clamped.
    SetWeekRows(selected.row);
    GridMonth->setSelection(selected.column, selected.row);
    UpdateSelectedDate();
}

void CalendarPanel::SetWeekRows(int selectedRow)
{
    // Five week rows unless the selection lies in the sixth.
    const int weeks = context_.settings.monWeek == 5 && selectedRow <= 5 ? 5 : 6;
    GridMonth->setRowCount(weeks + 1);
}

CellPos CalendarPanel::SelectedCell() const
{
    return CellPos{GridMonth->selectedColumn(), GridMonth->selectedRow()};
}

void CalendarPanel::UpdateSelectedDate()
{
    const CellPos selected = SelectedCell();
    if (selected.row < 1 || selected.row > 6)
        return;
    cursor_.selectedDate = build_.layout.dateOf(selected.column, selected.row);
    selectedRelation_ = build_.layout.cell(selected.column, selected.row).relation;
}

void CalendarPanel::MonthSchEdit()
{
    const AppSettings& settings = context_.settings;
    // Nothing half-made by another process is shown.
    files::finishPendingChanges(settings.dataPath);
    MonthBuildInput input =
        MonthBuildInputFrom(settings, cursor_.viewYear, cursor_.viewMonth, cursor_.today, links_.todoLines());
    categories_ = CategoryTable(files::loadLinesNoting(context_.programFolder + kCategoryFileName, input.unreadable));
    input.weekStart = build_.layout.weekStart;
    input.memoTexts = shown_->showsMemoTexts(settings);
    input.extras = links_.extraSchedules ? links_.extraSchedules() : nullptr;
    build_ = BuildMonth(input);
    context_.showUnreadable("month", build_.unreadable);
    painter_.setToday(cursor_.today);
    ApplyPainterMode();
    ShowSelection();
    ApplyHeaderTexts();
    GridMonth->contentsChanged();
    GridWeek->contentsChanged();
    emit selectedDayChanged();
}

void CalendarPanel::RebuildMonth()
{
    // The data changed, not the month: the same cell stays selected, even a neighbouring
    // month's day.
    const int column = GridMonth->selectedColumn(), row = GridMonth->selectedRow();
    HeaderEdit();
    SetWeekRows(row);
    GridMonth->setSelection(column, row);
    UpdateSelectedDate();
    MonthSchEdit();
}

void CalendarPanel::TodoLinesChanged()
{
    const AppSettings& settings = context_.settings;
    if (settings.calView.on(CalViewFlag::TodoMark) || settings.calView.on(CalViewFlag::TodoTitle) ||
        settings.weekView.on(WeekViewFlag::TodoTitle))
        RebuildMonth();
}

bool CalendarPanel::ShowsMemoChange(bool existenceChanged) const
{
    // A view showing memo texts shows every change; the month's marks only a memo come or gone.
    return shown_->showsMemoTexts(context_.settings) ||
           (existenceChanged && context_.settings.calView.on(CalViewFlag::MemoMark));
}

void CalendarPanel::SetMonth(int year, int month)
{
    cursor_.viewYear = year;
    cursor_.viewMonth = month;
    HeaderEdit();
    MonthSchEdit();
}

void CalendarPanel::NextMonthChange()
{
    Step(true);
}

void CalendarPanel::BeforeMonthChange()
{
    Step(false);
}

void CalendarPanel::NextYearChange()
{
    if (!shown_->stepsByYear() || cursor_.viewYear >= kLastYear)
        return;
    SetMonth(cursor_.viewYear + 1, cursor_.viewMonth);
}

void CalendarPanel::BeforeYearChange()
{
    if (!shown_->stepsByYear() || cursor_.viewYear <= kFirstYear)
        return;
    SetMonth(cursor_.viewYear - 1, cursor_.viewMonth);
}

void CalendarPanel::CurrentNow()
{
    GoToToday(context_.services.platform.now().date);
}

void CalendarPanel::StartAt(const Date& today)
{
    cursor_.today = today;
    cursor_.viewYear = today.year;
    cursor_.viewMonth = today.month;
    cursor_.selectedDate = today;
}

void CalendarPanel::GoToToday(const Date& today)
{
    cursor_.today = today;
    cursor_.selectedDate = today;
    SetMonth(today.year, today.month);
}

void CalendarPanel::ShowDate(const Date& date)
{
    cursor_.selectedDate = date;
    SetMonth(date.year, date.month);
}

void CalendarPanel::SelectCell(int column, int row)
{
    GridMonth->setSelection(column, row);
    GridMonthSelect(GridMonth->selectedColumn(), GridMonth->selectedRow());
}

void CalendarPanel::GridMonthSelect(int, int)
{
    UpdateSelectedDate();
    emit selectedDayChanged();
}

void CalendarPanel::DayDblClick()
{
    const CellPos selected = SelectedCell();
    emit dayDoubleClicked(!build_.lists.at(selected.column, selected.row).empty());
}

DaySchedules CalendarPanel::SelectedDaySchedules() const
{
    const int column = GridMonth->selectedColumn(), row = GridMonth->selectedRow();
    const auto& lines = build_.lists.at(column, row);
    DaySchedules day;
    day.date = cursor_.selectedDate;
    day.eraDates = look_.eraDates;
    for (const CellLine& line : lines)
        if (line.kind() == '3')
            day.entries.push_back(ScheduleRef{line.file(), line.lineIndex, line.body()});
        else if (line.extra)
            day.extras.push_back(*line.extra);
    const DayCell& cell = build_.layout.cell(column, row);
    if (cell.kind <= 1 && !lines.empty() && lines.front().kind() <= '1')
        day.holiday = lines.front().body();
    if (cell.kind == 0)
        day.headerColor = look_.textColor[ColHoliday];
    else if (cell.kind == 1)
        day.headerColor = look_.textColor[ColDayOff];
    else if (column == build_.layout.saturdayColumn())
        day.headerColor = look_.textColor[ColSaturday];
    else if (column == build_.layout.sundayColumn())
        day.headerColor = look_.textColor[ColSunday];
    return day;
}

void CalendarPanel::ShowDayHint()
{
    if (!mini_) {
        GridMonth->setToolTip(QString());
        return;
    }
    QString hint = fromSjis(ShortDayText(cursor_.selectedDate));
    for (const CellLine& line : build_.lists.at(GridMonth->selectedColumn(), GridMonth->selectedRow())) {
        if (line.kind() == '3')
            hint += "\r\n" + fromSjis(RecTitle(line.body()));
        else if (line.extra)
            hint += "\r\n" + fromSjis(KAL_SJIS("◇") + line.extra->title);
        else if (line.kind() >= '0' && line.kind() <= '2')
            hint += "\r\n" + fromSjis(line.body());
    }
    GridMonth->setToolTip(hint);
}

QString CalendarPanel::DayTitle() const
{
    return fromSjis(DayText(cursor_.selectedDate, look_.eraDates));
}

void CalendarPanel::SetCatViewMode(int mode)
{
    catMode_ = mode;
    MenuCatView1->setChecked(mode == 0);
    MenuCatView2->setChecked(mode != 0);
    TBtnCatView->setChecked(mode != 0);
}

void CalendarPanel::MenuCatViewClick()
{
    const int mode = catMode_ == 0 ? 1 : 0;
    emit windowStateChanged();
    FilterSwitch switched = SwitchCategoryFilter(context_.programFolder, mode);
    if (!switched.saved.ok()) {
        context_.services.platform.messageBox("分類の表示切替", CategorySaveMessage(switched.saved), MessageIcon::Error,
                                              MessageButtons::Ok);
        return;
    }
    SetCatViewMode(mode);
    if (switched.tableFound)
        RebuildMonth();
}

void CalendarPanel::CatEntry()
{
    TDlgCatSet dialog(context_.services, context_.programFolder, window_);
    dialog.move(window_->geometry().topLeft() + QPoint(16, 24));
    if (context_.services.dialogs.run(dialog) != QDialog::Accepted)
        return;
    IniFile ini(SettingsPath(context_.programFolder));
    ini.load();
    SetCatViewMode(ReadCatchk(ini) != 0 ? 1 : 0);
    HeaderEdit();
    MonthSchEdit();
}

void CalendarPanel::ShowDlgHolidayInput()
{
    HolidayInputRequest request;
    request.mode = HolidayInputMode::New;
    request.path = files::withSeparator(context_.settings.dataPath) + kHolidayFileName;
    request.selected = cursor_.selectedDate;
    request.autoIme = context_.settings.autoIme == 1;
    TDlgHolidayInput dialog(context_.services, request, window_);
    dialog.move(links_.fullWindowDialogPlace());
    if (context_.services.dialogs.run(dialog) == QDialog::Accepted)
        RebuildMonth();
}

void CalendarPanel::ShowDlgJump()
{
    TDlgJump dialog(context_.services.platform.now().date, window_);
    dialog.adjustSize();
    const QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen)
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    if (context_.services.dialogs.run(dialog) == QDialog::Accepted)
        ShowDate(dialog.JumpDate());
}

} // namespace kal::qt
