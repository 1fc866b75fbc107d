// The ToDo panel in the main window and the commands that reach it: the lists' refill and
// write-back, deletion, the input dialog, the copies between schedules and ToDo entries, the
// jump to a deadline and the status icons.
#include "app/TForm1.h"

#include "calendar/qt/MonthGrid.h"
#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoList.h"
#include "todo/qt/TodoPanel.h"

#include <QAction>
#include <QMenu>
#include <QSplitter>

namespace kal {
namespace {

constexpr const char* kUpdateCaption = "未処理・処理済の更新";
constexpr const char* kDeleteCaption = "ToDoの削除";
constexpr std::size_t kDeleteTitleBytes = 20;

std::string deleteQuestion(const std::vector<TodoRef>& refs)
{
    if (refs.size() == 1)
        return "ToDo「" + sjis::toUtf8(text::cutBytes(TodoTitle(refs[0].line), kDeleteTitleBytes)) +
               "」を削除します。\r\nよろしいですか？";
    return std::to_string(refs.size()) + "件のToDoを削除します。\r\nよろしいですか？";
}

} // namespace

void TForm1::CreateTodoPanel(QWidget* parent)
{
    PanelTodo = new qt::TodoPanel(parent);
    PanelTodo->setMinimumHeight(48);
}

void TForm1::ConnectTodoCommands()
{
    for (QAction* a : {MenuToDo, TBtnTodoNew, PopToDoNew})
        connect(a, &QAction::triggered, this, &TForm1::ToDoNew);
    connect(PopToDoRep, &QAction::triggered, this, &TForm1::ToDoRep);
    connect(PopToDoDel, &QAction::triggered, this, &TForm1::TodoDel);
    connect(PopUpdate, &QAction::triggered, this, &TForm1::PopUpdateClick);
    connect(PopSchCopy, &QAction::triggered, this, &TForm1::PopSchCopyClick);
    connect(PopTodoCal, &QAction::triggered, this, &TForm1::PopTodoCalClick);
    connect(PoPTodoCopy, &QAction::triggered, this, &TForm1::PoPTodoCopyClick);
    connect(PanelTodo, &qt::TodoPanel::rowActivated, this, &TForm1::ToDoRep);
    connect(PanelTodo, &qt::TodoPanel::deleteRequested, this, &TForm1::TodoDel);
    connect(PanelTodo, &qt::TodoPanel::contextMenuRequested, this, [this](const QPoint& at) {
        PopupToDoPopup();
        PopupToDo->popup(at);
    });
    for (QAction* a : {MenuToDo, TBtnTodoNew})
        a->setEnabled(true);
    PopupToDoPopup();
}

void TForm1::TodoListCreate()
{
    qt::TodoColumnSettings columns;
    columns.openItems = settings_.tNoItem;
    columns.doneItems = settings_.tOkItem;
    columns.statusIcons = settings_.tNoIcon == 1;
    columns.tabsAtBottom = settings_.toDoTab == 1;
    columns.openPriorityWidth = settings_.nPrWidth;
    columns.openTitleWidth = settings_.tNoWidth;
    columns.donePriorityWidth = settings_.oPrWidth;
    columns.doneTitleWidth = settings_.tOkWidth;
    PanelTodo->CreateColumns(columns);
}

void TForm1::TodoIconSetup()
{
    const qt::TodoIconSet icons = qt::LoadTodoIcons(programFolder_, settings_.setIcon);
    for (int state = 1; state <= 4; ++state)
        painter_.setTodoIcon(state, icons[static_cast<std::size_t>(state)]);
    PanelTodo->setStatusIcons(icons);
}

void TForm1::ToDoEdit()
{
    // A missing file empties the lists, so no later save can carry another folder's entries.
    files::finishPendingChanges(settings_.todoPath);
    TodoFile file = LoadTodoFile(settings_.todoPath);
    ShowUnreadable("todo", file.unreadable);
    const bool changed = file.lines != todoLines_;
    todoLines_ = std::move(file.lines);
    PanelTodo->Fill(BuildTodoRows(todoLines_, services_.platform.now().date, settings_.warnTerm));
    const bool calendarShowsTodo =
        FlagOn(settings_.calView, 6) || FlagOn(settings_.calView, 9) || FlagOn(settings_.weekView, 9);
    if (changed && calendarShowsTodo && created_)
        RebuildMonth();
}

bool TForm1::ToDoUd()
{
    const std::vector<TodoTick> ticks = PanelTodo->PendingTicks();
    if (ticks.empty())
        return false;
    const TodoResult result =
        ApplyTodoTicks(settings_.todoPath, ticks, services_.platform.now().date, identities_.get());
    switch (result.status) {
    case TodoWrite::Changed:
        TodoChangedMeanwhile(kUpdateCaption);
        return false;
    case TodoWrite::WriteFailed:
        ShowTodoFailure(kUpdateCaption, "ToDoを保存できません。", result.reason);
        return false;
    case TodoWrite::Done:
        break;
    }
    return result.written;
}

void TForm1::PopUpdateClick()
{
    if (ToDoUd())
        ToDoEdit();
}

void TForm1::TodoDel()
{
    const std::vector<TodoRef> refs = PanelTodo->SelectedRefs();
    if (refs.empty())
        return;
    if (services_.platform.messageBox(kDeleteCaption, deleteQuestion(refs), MessageIcon::Warning,
                                      MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    const TodoResult result = DeleteTodos(settings_.todoPath, refs, identities_.get());
    if (result.status == TodoWrite::Changed) {
        TodoChangedMeanwhile(kDeleteCaption);
        return;
    }
    if (result.status == TodoWrite::WriteFailed)
        ShowTodoFailure(kDeleteCaption, "ToDoを削除できません。", result.reason);
    if (result.written)
        ToDoEdit();
}

std::optional<TodoRef> TForm1::TodoKeySearch() const
{
    return PanelTodo->TodoKeySearch();
}

void TForm1::ToDoNew()
{
    ShowDlgToDoInput(TodoInputMode::New);
}

void TForm1::ToDoRep()
{
    ShowDlgToDoInput(TodoInputMode::Edit);
}

void TForm1::ShowDlgToDoInput(TodoInputMode mode)
{
    TodoInputRequest request;
    request.mode = TodoInputMode::New;
    request.done = PanelTodo->DoneTabActive();
    if (mode == TodoInputMode::Edit) {
        if (std::optional<TodoRef> ref = TodoKeySearch()) {
            if (!TodoStillThere(settings_.todoPath, *ref)) {
                TodoChangedMeanwhile("ToDo訂正");
                return;
            }
            request.mode = TodoInputMode::Edit;
            request.edited = *ref;
            request.done = PanelTodo->CurrentRowChecked();
        }
    }
    request.date = state_.selectedDate;
    RunTodoInput(request, DialogPlace());
}

void TForm1::RunTodoInput(TodoInputRequest request, const QPoint& place)
{
    request.todoFolder = settings_.todoPath;
    request.programFolder = programFolder_;
    request.autoIme = settings_.autoIme == 1;
    request.follower = identities_.get();
    state_.modalDialogOpen = true;
    TDlgTodoInput dialog(services_, request, this);
    dialog.move(place);
    const bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    state_.modalDialogOpen = false;
    if (accepted || dialog.changedMeanwhile())
        ToDoEdit();
}

void TForm1::PoPTodoCopyClick()
{
    const std::optional<ScheduleRef> ref = SchKeySearch();
    if (!ref)
        return;
    if (!ScheduleStillThere(*ref)) {
        ScheduleChangedMeanwhile("ToDoにコピー");
        return;
    }
    TodoInputRequest request;
    request.mode = TodoInputMode::CopyFromSchedule;
    request.date = state_.selectedDate;
    request.title = RecTitle(ref->line);
    request.categoryIndex = categories_.FindExact(RecCategory(ref->line));
    RunTodoInput(request, geometry().topLeft());
}

void TForm1::PopSchCopyClick()
{
    const std::optional<TodoRef> ref = TodoKeySearch();
    if (!ref)
        return;
    if (!TodoStillThere(settings_.todoPath, *ref)) {
        TodoChangedMeanwhile("スケジュールにコピー");
        return;
    }
    SchInputRequest request;
    request.mode = SchInputMode::FromTodo;
    request.date = TodoDeadline(ref->line).value_or(services_.platform.now().date);
    request.title = text::cutBytes(TodoTitle(ref->line), kRecTextBytes);
    request.categoryIndex = categories_.FindExact(TodoCategory(ref->line));
    RunScheduleInput(request);
}

void TForm1::PopTodoCalClick()
{
    const std::optional<TodoRef> ref = TodoKeySearch();
    const std::optional<Date> deadline = ref ? TodoDeadline(ref->line) : std::nullopt;
    if (!deadline)
        return;
    state_.selectedDate = *deadline;
    SetMonth(deadline->year, deadline->month);
}

void TForm1::PopupToDoPopup()
{
    const std::optional<TodoRef> ref = TodoKeySearch();
    PopToDoNew->setEnabled(true);
    PopUpdate->setEnabled(true);
    for (QAction* a : {PopToDoDel, PopToDoRep, PopSchCopy})
        a->setEnabled(ref.has_value());
    PopTodoCal->setEnabled(ref && TodoDeadline(ref->line));
}

void TForm1::TodoChangedMeanwhile(const char* caption)
{
    services_.platform.messageBox(caption, "ToDoが他で変更されています。\r\n表示を更新します。",
                                  MessageIcon::Information, MessageButtons::Ok);
    ToDoEdit();
}

void TForm1::ShowTodoFailure(const char* caption, const char* what, const std::string& reason)
{
    services_.platform.messageBox(caption, std::string(what) + "\r\n" + reason, MessageIcon::Error, MessageButtons::Ok);
}

} // namespace kal
