// The main window's way into the lists and the calendar's small dialogs: the schedule, holiday
// and memo lists, the find dialog, the holiday input dialog and the jump to a date. Each opens
// its window with the main window's state and rebuilds the month when something changed.
#include "app/TForm1.h"

#include "calendar/Holidays.h"
#include "calendar/TDlgHolidayInput.h"
#include "calendar/TDlgJump.h"
#include "lists/TDlgFind.h"
#include "lists/TFormEdit.h"
#include "platform/Files.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>

namespace kal {
namespace {

// The memo list is this much narrower than the main window.
constexpr int kMemoListNarrower = 36;

} // namespace

void TForm1::ConnectListCommands()
{
    for (QAction* a : {MenuSchEdit, TBtnSchRep, PopSchEdit, PopTraySchEdit})
        connect(a, &QAction::triggered, this, &TForm1::ShowFormEdit);
    for (QAction* a : {MenuHoliday, BtnHoliday})
        connect(a, &QAction::triggered, this, &TForm1::HolidayUpdate);
    for (QAction* a : {MenuMemoList, TBtnMemo})
        connect(a, &QAction::triggered, this, &TForm1::ShowMemoList);
    for (QAction* a : {MenuFind, TBtnFind})
        connect(a, &QAction::triggered, this, &TForm1::ShowDlgFind);
    for (QAction* a : {MenuJump, TBtnJump, PopJump})
        connect(a, &QAction::triggered, this, &TForm1::ShowDlgJump);
    connect(PopHoliday, &QAction::triggered, this, &TForm1::ShowDlgHolidayInput);
    for (QAction* a : {MenuSchEdit, TBtnSchRep, PopSchEdit, MenuHoliday, BtnHoliday, MenuMemoList, TBtnMemo, MenuFind,
                       TBtnFind, MenuJump, TBtnJump, PopJump, PopHoliday})
        a->setEnabled(true);
}

std::function<bool(const Date&, QWidget*)> TForm1::DayMemoEditor()
{
    return [this](const Date& date, QWidget* parent) { return ListMemo->EditListedDayMemo(date, parent); };
}

FormEditRequest TForm1::ListRequest(ListMode mode) const
{
    FormEditRequest request;
    request.mode = mode;
    request.dataPath = files::withSeparator(settings_.dataPath);
    request.memoPath = files::withSeparator(settings_.memoPath);
    request.programFolder = programFolder_;
    request.selected = state_.selectedDate;
    request.autoIme = settings_.autoIme == 1;
    request.follower = identities_.get();
    return request;
}

int TForm1::ListWindowHeight() const
{
    if (miniMode_)
        return normal_.height;
    const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : 0;
    return height() - statusHeight;
}

bool TForm1::RunFormEdit(const FormEditRequest& request, int narrower)
{
    state_.modalDialogOpen = true;
    TFormEdit window(services_, request, this);
    const int width = (miniMode_ ? normal_.width : this->width()) - narrower;
    window.setGeometry(qt::keptOnScreen(QRect(DialogPlace(), QSize(width, ListWindowHeight() - 24)), this));
    services_.dialogs.run(window);
    state_.modalDialogOpen = false;
    return window.changed();
}

void TForm1::ShowFormEdit()
{
    if (RunFormEdit(ListRequest(ListMode::Schedules), 0))
        RebuildMonth();
}

void TForm1::HolidayUpdate()
{
    if (RunFormEdit(ListRequest(ListMode::Holidays), 0))
        RebuildMonth();
}

void TForm1::ShowMemoList()
{
    FormEditRequest request = ListRequest(ListMode::Memos);
    request.editDayMemo = DayMemoEditor();
    if (RunFormEdit(request, kMemoListNarrower))
        RebuildMonth();
}

void TForm1::ShowDlgFind()
{
    FindRequest request;
    request.dataPath = files::withSeparator(settings_.dataPath);
    request.memoPath = files::withSeparator(settings_.memoPath);
    request.programFolder = programFolder_;
    request.resultHeight = ListWindowHeight();
    request.autoIme = settings_.autoIme == 1;
    request.editDayMemo = DayMemoEditor();
    state_.modalDialogOpen = true;
    TDlgFind dialog(services_, request, this);
    dialog.move(DialogPlace());
    services_.dialogs.run(dialog);
    state_.modalDialogOpen = false;
    if (dialog.changed())
        RebuildMonth();
}

void TForm1::ShowDlgHolidayInput()
{
    HolidayInputRequest request;
    request.mode = HolidayInputMode::New;
    request.path = files::withSeparator(settings_.dataPath) + kHolidayFileName;
    request.selected = state_.selectedDate;
    request.autoIme = settings_.autoIme == 1;
    state_.modalDialogOpen = true;
    TDlgHolidayInput dialog(services_, request, this);
    // Beside the full-size window even while the mini calendar is shown.
    dialog.move(miniMode_ ? QPoint(normal_.left + 16, normal_.top + 24) : DialogPlace());
    const bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    state_.modalDialogOpen = false;
    if (accepted)
        RebuildMonth();
}

void TForm1::ShowDlgJump()
{
    state_.modalDialogOpen = true;
    TDlgJump dialog(services_.platform.now().date, this);
    dialog.adjustSize();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    const bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    state_.modalDialogOpen = false;
    if (!accepted)
        return;
    ShowDate(dialog.JumpDate());
}

} // namespace kal
