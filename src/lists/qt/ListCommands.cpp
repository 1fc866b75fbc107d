#include "lists/qt/ListCommands.h"

#include "lists/TDlgFind.h"
#include "memo/qt/MemoList.h"
#include "platform/Files.h"
#include "platform/qt/Widgets.h"

#include <QAction>

namespace kal::qt {
namespace {

// The memo list is this much narrower than the main window.
constexpr int kMemoListNarrower = 36;

} // namespace

ListCommands::ListCommands(const PanelContext& context, MemoList& memos, std::function<QSize()> listArea,
                           QWidget* window)
    : QObject(window), context_(context), memos_(memos), listArea_(std::move(listArea)), window_(window)
{
    MenuSchEdit = namedAction(this, "MenuSchEdit", "スケジュール一覧(&E)");
    TBtnSchRep = toolAction(this, "TBtnSchRep", "スケジュール一覧", "tb-sch-list");
    PopSchEdit = namedAction(this, "PopSchEdit", "スケジュールの編集(&E)");
    PopTraySchEdit = namedAction(this, "PopTraySchEdit", "スケジュールの編集(&E)");
    MenuHoliday = namedAction(this, "MenuHoliday", "祝日・休日・記念日一覧(&H)");
    BtnHoliday = toolAction(this, "BtnHoliday", "祝日・記念日一覧", "tb-holiday");
    MenuMemoList = namedAction(this, "MenuMemoList", "メモ一覧(&L)");
    TBtnMemo = toolAction(this, "TBtnMemo", "メモ一覧", "tb-memo-list");
    MenuFind = namedAction(this, "MenuFind", "検索(&F)...");
    TBtnFind = toolAction(this, "TBtnFind", "検索", "tb-find");
    for (QAction* a : {MenuSchEdit, TBtnSchRep, PopSchEdit, PopTraySchEdit})
        connect(a, &QAction::triggered, this, &ListCommands::ShowFormEdit);
    for (QAction* a : {MenuHoliday, BtnHoliday})
        connect(a, &QAction::triggered, this, &ListCommands::HolidayUpdate);
    for (QAction* a : {MenuMemoList, TBtnMemo})
        connect(a, &QAction::triggered, this, &ListCommands::ShowMemoList);
    for (QAction* a : {MenuFind, TBtnFind})
        connect(a, &QAction::triggered, this, &ListCommands::ShowDlgFind);
}

std::function<bool(const Date&, QWidget*)> ListCommands::DayMemoEditor()
{
    return [this](const Date& date, QWidget* parent) { return memos_.EditListedDayMemo(date, parent); };
}

FormEditRequest ListCommands::ListRequest(ListMode mode) const
{
    FormEditRequest request{.follower = store::Follower(context_.follower)};
    request.mode = mode;
    request.dataPath = files::withSeparator(context_.settings.dataPath);
    request.memoPath = files::withSeparator(context_.settings.memoPath);
    request.programFolder = context_.programFolder;
    request.selected = context_.selectedDate();
    request.autoIme = context_.settings.autoIme == 1;
    return request;
}

bool ListCommands::RunFormEdit(const FormEditRequest& request, int narrower)
{
    TFormEdit window(context_.services, request, window_);
    const QSize area = listArea_();
    window.setGeometry(
        keptOnScreen(QRect(context_.dialogPlace(), QSize(area.width() - narrower, area.height() - 24)), window_));
    context_.services.dialogs.run(window);
    return window.changed();
}

void ListCommands::ShowFormEdit()
{
    if (RunFormEdit(ListRequest(ListMode::Schedules), 0))
        context_.rebuildMonth();
}

void ListCommands::HolidayUpdate()
{
    if (RunFormEdit(ListRequest(ListMode::Holidays), 0))
        context_.rebuildMonth();
}

void ListCommands::ShowMemoList()
{
    FormEditRequest request = ListRequest(ListMode::Memos);
    request.editDayMemo = DayMemoEditor();
    if (RunFormEdit(request, kMemoListNarrower))
        context_.rebuildMonth();
}

void ListCommands::ShowDlgFind()
{
    FindRequest request{.follower = store::Follower(context_.follower)};
    request.dataPath = files::withSeparator(context_.settings.dataPath);
    request.memoPath = files::withSeparator(context_.settings.memoPath);
    request.programFolder = context_.programFolder;
    request.resultHeight = listArea_().height();
    request.autoIme = context_.settings.autoIme == 1;
    request.editDayMemo = DayMemoEditor();
    request.extras = extraSchedules_ ? extraSchedules_() : nullptr;
    TDlgFind dialog(context_.services, request, window_);
    dialog.move(context_.dialogPlace());
    context_.services.dialogs.run(dialog);
    if (dialog.changed())
        context_.rebuildMonth();
}

} // namespace kal::qt
