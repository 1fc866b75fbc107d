// The calendar of the main window: navigation, the month build, the selection and the
// category filter.
#include "app/TForm1.h"

#include "app/THeaderPanel.h"
#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/FileTransaction.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "schedule/CategoryFiles.h"
#include "schedule/ScheduleRecord.h"
#include "schedule/TDlgCatSet.h"
#include "schedule/qt/DayListPanel.h"

#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QTreeWidget>

namespace kal {

void TForm1::ApplyCalendarLook()
{
    look_ = CalendarLookFrom(settings_);
    painter_.setLook(look_);

    qt::CalendarFonts fonts;
    fonts.day = qt::toQFont(settings_.fonts[FontDay]);
    fonts.schedule = qt::toQFont(settings_.fonts[FontSch]);
    fonts.week = qt::toQFont(settings_.fonts[FontWeek]);
    fonts.mini = qt::toQFont(settings_.fonts[FontMini]);
    fonts.window = font();
    painter_.setFonts(fonts);
    QColor plain = look_.otherMonth ? palette().color(QPalette::Base) : qt::toQColor(look_.backColor[ColOtherMonth]);
    painter_.setPlainBackground(plain);
    GridMonth->setGridColor(plain);
    GridWeek->setGridColor(plain);
    ApplyWeekLook();

    auto labelColor = [](QLabel* label, ColorValue color) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, qt::toQColor(color));
        label->setPalette(palette);
    };
    labelColor(LabelYear, look_.textColor[ColYearLabel]);
    labelColor(LabelWareki, look_.textColor[ColEraLabel]);
    PanelMonSch->setCaptionColor(qt::toQColor(look_.textColor[ColMonthLabel]));
}

void TForm1::ApplyPainterMode()
{
    painter_.setMode(miniMode_, panelMode_ == 0);
    GridMonth->setHeaderHeight(painter_.headerHeight());
    GridMonth->update();
}

void TForm1::ApplyHeaderTexts()
{
    const int year = state_.viewYear, month = state_.viewMonth;
    LabelYear->setText(QString::number(year));
    LabelWareki->setText(look_.eraDates ? qt::fromSjis(EraYearText(year, month))
                                        : QString::fromStdString(EnglishMonthName(month)));
    QFont captionFont;
    if (miniMode_) {
        captionFont = QFont(qt::fromUtf8(settings_.fonts[FontSch].name));
        captionFont.setPixelSize(std::max(9, QFontMetrics(font()).height()));
        captionFont.setBold(true);
        PanelMonSch->setCaption(QString::fromUtf8("%1年%2月").arg(year).arg(month));
    } else {
        captionFont = qt::toQFont(settings_.fonts[FontDay]);
        captionFont.setPixelSize(QFontMetrics(font()).height() + 12);
        PanelMonSch->setCaption(QString::number(month));
    }
    PanelMonSch->setCaptionFont(captionFont);
    const char* todayPattern =
        look_.eraDates ? "\"今日：\"ggge\"年\"m\"月\"d\"日\"" : "\"今日：\"yyyy\"年\"m\"月\"d\"日\"";
    StatusPanel0->setText(qt::fromUtf8(text::formatDateUtf8(todayPattern, state_.today)));
    HSplitMove();
}

void TForm1::HeaderEdit()
{
    const CellPos before{GridMonth->selectedColumn(), GridMonth->selectedRow()};
    build_.layout =
        BuildLayout(state_.viewYear, state_.viewMonth, settings_.strWeek == 1 ? WeekStart::Monday : WeekStart::Sunday);
    CellPos selected = weekShown_ ? WeekSelectionAfterBuild(build_.layout, state_.selectedDate, before)
                                  : SelectionAfterBuild(build_.layout, state_.selectedDate.day, before);
    // The grid grows to six week rows first, or a sixth-row selection would be clamped.
    SetWeekRows(selected.row);
    GridMonth->setSelection(selected.column, selected.row);
    UpdateSelectedDate();
}

void TForm1::SetWeekRows(int selectedRow)
{
    // Five week rows unless the selection lies in the sixth.
    const int weeks = settings_.monWeek == 5 && selectedRow <= 5 ? 5 : 6;
    GridMonth->setRowCount(weeks + 1);
}

void TForm1::UpdateSelectedDate()
{
    const int column = GridMonth->selectedColumn(), row = GridMonth->selectedRow();
    if (row < 1 || row > 6)
        return;
    state_.selectedDate = build_.layout.dateOf(column, row);
    selectedRelation_ = build_.layout.cell(column, row).relation;
}

void TForm1::MonthSchEdit()
{
    // Nothing half-made by another process is shown.
    files::finishPendingChanges(settings_.dataPath);
    MonthBuildInput input =
        MonthBuildInputFrom(settings_, state_.viewYear, state_.viewMonth, state_.today, PanelTodo->todoLines());
    categories_ = CategoryTable(files::loadLinesNoting(programFolder_ + kCategoryFileName, input.unreadable));
    input.weekStart = build_.layout.weekStart;
    input.memoTexts = weekShown_ && FlagOn(settings_.weekView, 5);
    build_ = BuildMonth(input);
    ShowUnreadable("month", build_.unreadable);
    painter_.setToday(state_.today);
    ApplyPainterMode();
    ShowWeekOfSelection();
    ApplyHeaderTexts();
    DaySchEdit();
}

void TForm1::SetMonth(int year, int month)
{
    state_.viewYear = year;
    state_.viewMonth = month;
    HeaderEdit();
    MonthSchEdit();
}

void TForm1::NextMonthChange()
{
    if (weekShown_) {
        NextWeekChange();
        return;
    }
    if (!CanAdvanceMonth(state_.viewYear))
        return;
    int year = state_.viewYear, month = state_.viewMonth;
    nextMonth(year, month);
    SetMonth(year, month);
}

void TForm1::BeforeMonthChange()
{
    if (weekShown_) {
        BeforeWeekChange();
        return;
    }
    if (!CanGoBackMonth(state_.viewYear))
        return;
    int year = state_.viewYear, month = state_.viewMonth;
    previousMonth(year, month);
    SetMonth(year, month);
}

void TForm1::NextYearChange()
{
    if (weekShown_ || state_.viewYear >= kLastYear)
        return;
    SetMonth(state_.viewYear + 1, state_.viewMonth);
}

void TForm1::BeforeYearChange()
{
    if (weekShown_ || state_.viewYear <= kFirstYear)
        return;
    SetMonth(state_.viewYear - 1, state_.viewMonth);
}

void TForm1::CurrentNow()
{
    GoToToday(services_.platform.now().date);
}

void TForm1::GoToToday(const Date& today)
{
    state_.today = today;
    state_.selectedDate = today;
    SetMonth(today.year, today.month);
}

void TForm1::SelectCell(int column, int row)
{
    GridMonth->setSelection(column, row);
    GridMonthSelect(GridMonth->selectedColumn(), GridMonth->selectedRow());
}

void TForm1::GridMonthSelect(int, int)
{
    UpdateSelectedDate();
    DaySchEdit();
}

void TForm1::GridMonthDblClick()
{
    const auto& lines = build_.lists.at(GridMonth->selectedColumn(), GridMonth->selectedRow());
    if (lines.empty())
        DayList->DaySchInputAdd();
    else
        ShowFormEdit();
}

void TForm1::ShowGridPopup(const QPoint& globalPosition)
{
    PopupGrid->popup(globalPosition);
}

void TForm1::SetCatViewMode(int mode)
{
    catMode_ = mode;
    MenuCatView1->setChecked(mode == 0);
    MenuCatView2->setChecked(mode != 0);
    TBtnCatView->setChecked(mode != 0);
}

void TForm1::MenuCatViewClick()
{
    const int mode = catMode_ == 0 ? 1 : 0;
    state_.windowStateDirty = true;
    FilterSwitch switched = SwitchCategoryFilter(programFolder_, mode);
    if (!switched.saved.ok()) {
        services_.platform.messageBox("分類の表示切替", CategorySaveMessage(switched.saved), MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    }
    SetCatViewMode(mode);
    if (!switched.tableFound)
        return;
    settings_.catchk = mode;
    RebuildMonth();
}

void TForm1::CatEntry()
{
    state_.modalDialogOpen = true;
    TDlgCatSet dialog(services_, programFolder_, this);
    dialog.move(geometry().topLeft() + QPoint(16, 24));
    bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    state_.modalDialogOpen = false;
    if (!accepted)
        return;
    IniFile ini(settingsPath());
    ini.load();
    settings_.catchk = ReadCatchk(ini);
    SetCatViewMode(settings_.catchk != 0 ? 1 : 0);
    HeaderEdit();
    MonthSchEdit();
}

void TForm1::RebuildMonth()
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

} // namespace kal
