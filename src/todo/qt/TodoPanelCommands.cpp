// The ToDo commands of the panel: the lists' refill and write-back, deletion, the input dialog,
// the copies between schedules and ToDo entries, the jump to a deadline and the status icons.
#include "todo/qt/TodoPanel.h"

#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "schedule/qt/ScheduleInput.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace kal::qt {
namespace {

constexpr const char* kUpdateCaption = "未処理・処理済の更新";
constexpr const char* kDeleteCaption = "ToDoの削除";
constexpr std::size_t kDeleteTitleBytes = 20;

std::string deleteQuestion(const std::vector<store::LineRef>& refs)
{
    if (refs.size() == 1)
        return "ToDo「" + sjis::toUtf8(text::cutBytes(TodoTitle(refs[0].line), kDeleteTitleBytes)) +
               "」を削除します。\r\nよろしいですか？";
    return std::to_string(refs.size()) + "件のToDoを削除します。\r\nよろしいですか？";
}

} // namespace

void TodoPanel::createCommands()
{
    MenuToDo = namedAction(this, "MenuToDo", "ToDoの追加(&T)");
    TBtnTodoNew = toolAction(this, "TBtnTodoNew", "ToDoの追加", "tb-todo-add");
    PopToDoNew = namedAction(this, "PopToDoNew", "ToDoの追加(&A)");
    PopToDoRep = namedAction(this, "PopToDoRep", "ToDoの訂正(&R)");
    PopToDoDel = namedAction(this, "PopToDoDel", "ToDoの削除(&D)");
    PopUpdate = namedAction(this, "PopUpdate", "未処理・処理済の更新(&U)");
    PopSchCopy = namedAction(this, "PopSchCopy", "スケジュールにコピー(&S)");
    PopTodoCal = namedAction(this, "PopTodoCal", "カレンダーの期限日を表示(&J)");
    PoPTodoCopy = namedAction(this, "PoPTodoCopy", "ToDoにコピー(&T)");
    PoPTodoCopy->setEnabled(false);
    PopupToDo = popupMenu(this, "PopupToDo",
                          {PopToDoNew, PopToDoRep, PopToDoDel, nullptr, PopUpdate, nullptr, PopSchCopy, PopTodoCal});
    for (QAction* a : {MenuToDo, TBtnTodoNew, PopToDoNew})
        connect(a, &QAction::triggered, this, &TodoPanel::ToDoNew);
    connect(PopToDoRep, &QAction::triggered, this, &TodoPanel::ToDoRep);
    connect(PopToDoDel, &QAction::triggered, this, &TodoPanel::TodoDel);
    connect(PopUpdate, &QAction::triggered, this, &TodoPanel::PopUpdateClick);
    connect(PopSchCopy, &QAction::triggered, this, &TodoPanel::PopSchCopyClick);
    connect(PopTodoCal, &QAction::triggered, this, &TodoPanel::PopTodoCalClick);
    connect(PoPTodoCopy, &QAction::triggered, this, &TodoPanel::PoPTodoCopyClick);
    PopupToDoPopup();
}

void TodoPanel::TodoListCreate()
{
    const AppSettings& settings = context_.settings;
    TodoColumnSettings columns;
    columns.openItems = settings.tNoItem;
    columns.doneItems = settings.tOkItem;
    columns.statusIcons = settings.tNoIcon == 1;
    columns.tabsAtBottom = settings.toDoTab == 1;
    columns.openPriorityWidth = settings.nPrWidth;
    columns.openTitleWidth = settings.tNoWidth;
    columns.donePriorityWidth = settings.oPrWidth;
    columns.doneTitleWidth = settings.tOkWidth;
    CreateColumns(columns);
}

void TodoPanel::TodoSet()
{
    const AppSettings& settings = context_.settings;
    setColors(toQColor(settings.colors[ColTodoOpen].back), toQColor(settings.colors[ColTodoDone].back),
              toQColor(settings.colors[ColWeekday].text));
}

void TodoPanel::TodoIconSetup()
{
    setStatusIcons(LoadTodoIcons(context_.programFolder, context_.settings.setIcon));
}

void TodoPanel::ReadTodoLines()
{
    startReading_ = LoadTodoFile(context_.settings.todoPath);
    todoLines_ = startReading_->lines;
    // Once the event loop has run, another writer may have changed the file.
    QTimer::singleShot(0, this, [this] { startReading_.reset(); });
}

void TodoPanel::ToDoEdit()
{
    const AppSettings& settings = context_.settings;
    TodoFile file;
    if (startReading_) {
        file = std::move(*startReading_);
        startReading_.reset();
    } else {
        // A missing file empties the lists, so no later save can carry another folder's entries.
        files::finishPendingChanges(settings.todoPath);
        file = LoadTodoFile(settings.todoPath);
    }
    context_.showUnreadable("todo", file.unreadable);
    const bool changed = file.lines != todoLines_;
    todoLines_ = std::move(file.lines);
    Fill(BuildTodoRows(TodoFilePath(settings.todoPath), todoLines_, context_.services.platform.now().date,
                       settings.warnTerm));
    if (changed)
        emit todoLinesChanged();
}

bool TodoPanel::ToDoUd()
{
    const std::vector<TodoTick> ticks = PendingTicks();
    if (ticks.empty())
        return false;
    const store::EditResult result = ApplyTodoTicks(
        context_.settings.todoPath, ticks, context_.services.platform.now().date, store::Follower(context_.follower));
    switch (result.status) {
    case store::EditStatus::Changed:
        TodoChangedMeanwhile(kUpdateCaption);
        return false;
    case store::EditStatus::WriteFailed:
        ShowTodoFailure(kUpdateCaption, "ToDoを保存できません。", result.reason);
        return false;
    case store::EditStatus::Done:
        break;
    }
    return result.written;
}

void TodoPanel::WriteBack()
{
    if (ToDoUd())
        ToDoEdit();
}

void TodoPanel::PopUpdateClick()
{
    WriteBack();
}

void TodoPanel::TodoDel()
{
    const std::vector<store::LineRef> refs = SelectedRefs();
    if (refs.empty())
        return;
    Platform& platform = context_.services.platform;
    if (platform.messageBox(kDeleteCaption, deleteQuestion(refs), MessageIcon::Warning, MessageButtons::YesNo) !=
        MessageAnswer::Yes)
        return;
    const store::EditResult result = DeleteTodos(context_.settings.todoPath, refs, store::Follower(context_.follower));
    if (result.status == store::EditStatus::Changed) {
        TodoChangedMeanwhile(kDeleteCaption);
        return;
    }
    if (result.status == store::EditStatus::WriteFailed)
        ShowTodoFailure(kDeleteCaption, "ToDoを削除できません。", result.reason);
    if (result.written)
        ToDoEdit();
}

void TodoPanel::ToDoNew()
{
    ShowDlgToDoInput(TodoInputMode::New);
}

void TodoPanel::ToDoRep()
{
    ShowDlgToDoInput(TodoInputMode::Edit);
}

void TodoPanel::ShowDlgToDoInput(TodoInputMode mode)
{
    TodoInputRequest request{.follower = store::Follower(context_.follower)};
    request.mode = TodoInputMode::New;
    request.done = DoneTabActive();
    if (mode == TodoInputMode::Edit) {
        if (std::optional<store::LineRef> ref = TodoKeySearch()) {
            if (!TodoStillThere(context_.settings.todoPath, *ref)) {
                TodoChangedMeanwhile("ToDo訂正");
                return;
            }
            request.mode = TodoInputMode::Edit;
            request.edited = *ref;
            request.done = CurrentRowChecked();
        }
    }
    request.date = context_.selectedDate();
    RunTodoInput(request, context_.dialogPlace());
}

void TodoPanel::RunTodoInput(TodoInputRequest request, const QPoint& place)
{
    request.todoFolder = context_.settings.todoPath;
    request.programFolder = context_.programFolder;
    request.autoIme = context_.settings.autoIme == 1;
    TDlgTodoInput dialog(context_.services, request, window());
    dialog.move(place);
    const bool accepted = context_.services.dialogs.run(dialog) == QDialog::Accepted;
    if (accepted || dialog.changedMeanwhile())
        ToDoEdit();
}

void TodoPanel::PoPTodoCopyClick()
{
    const std::optional<ScheduleRef> ref = links_.selectedSchedule();
    if (!ref)
        return;
    if (!ScheduleStillThere(*ref)) {
        ReportScheduleChanged(context_.services.platform, "ToDoにコピー");
        context_.rebuildMonth();
        return;
    }
    TodoInputRequest request{.follower = store::Follower(context_.follower)};
    request.mode = TodoInputMode::CopyFromSchedule;
    request.date = context_.selectedDate();
    request.title = RecTitle(ref->line);
    request.categoryIndex = links_.categories().FindExact(RecCategory(ref->line));
    RunTodoInput(request, window()->geometry().topLeft());
}

void TodoPanel::PopSchCopyClick()
{
    const std::optional<store::LineRef> ref = TodoKeySearch();
    if (!ref)
        return;
    if (!TodoStillThere(context_.settings.todoPath, *ref)) {
        TodoChangedMeanwhile("スケジュールにコピー");
        return;
    }
    SchInputRequest request{.follower = store::Follower(context_.follower)};
    request.mode = SchInputMode::FromTodo;
    request.date = TodoDeadline(ref->line).value_or(context_.services.platform.now().date);
    request.title = text::cutBytes(TodoTitle(ref->line), kRecTextBytes);
    request.categoryIndex = links_.categories().FindExact(TodoCategory(ref->line));
    if (RunScheduleInput(context_, request, window()))
        context_.rebuildMonth();
}

void TodoPanel::PopTodoCalClick()
{
    const std::optional<store::LineRef> ref = TodoKeySearch();
    if (const std::optional<Date> deadline = ref ? TodoDeadline(ref->line) : std::nullopt)
        links_.showDate(*deadline);
}

void TodoPanel::PopupToDoPopup()
{
    const std::optional<store::LineRef> ref = TodoKeySearch();
    PopToDoNew->setEnabled(true);
    PopUpdate->setEnabled(true);
    for (QAction* a : {PopToDoDel, PopToDoRep, PopSchCopy})
        a->setEnabled(ref.has_value());
    PopTodoCal->setEnabled(ref && TodoDeadline(ref->line));
}

void TodoPanel::TodoChangedMeanwhile(const char* caption)
{
    context_.services.platform.messageBox(caption, "ToDoが他で変更されています。\r\n表示を更新します。",
                                          MessageIcon::Information, MessageButtons::Ok);
    ToDoEdit();
}

void TodoPanel::ShowTodoFailure(const char* caption, const char* what, const std::string& reason)
{
    context_.services.platform.messageBox(caption, std::string(what) + "\r\n" + reason, MessageIcon::Error,
                                          MessageButtons::Ok);
}

} // namespace kal::qt
