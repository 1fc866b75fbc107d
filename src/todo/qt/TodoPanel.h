// The ToDo panel of the main window: the page control PageTodo with the open list ListTodoNo
// and the done list ListTodoOk, and the ToDo commands with their pop-up menu. Rows carry their
// entry's line and index; ticks the user has not yet stored survive every refill, keyed by the
// entry, not by the row, and reach ToDo.dat through the one write-back (ToDoUd).
#pragma once

#include "schedule/Categories.h"
#include "schedule/ScheduleRecord.h"
#include "settings/qt/PanelContext.h"
#include "todo/TDlgTodoInput.h"
#include "todo/TodoList.h"
#include "todo/TodoStore.h"
#include "todo/qt/TodoIcons.h"

#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace kal::qt {

struct TodoColumnSettings {
    TodoItemFlags openItems;  // TNoItem
    TodoItemFlags doneItems;  // TOkItem
    bool statusIcons = true;  // TNoIcon
    bool tabsAtBottom = true; // ToDoTab
    int openPriorityWidth = 48, openTitleWidth = 144;
    int donePriorityWidth = 48, doneTitleWidth = 144;
};

// The widths of the saved columns as they stand; none for a column not shown.
struct TodoColumnWidths {
    std::optional<int> openTitle, doneTitle, openPriority, donePriority;
};

// What the ToDo commands use of the panels beside them.
struct TodoPanelLinks {
    std::function<std::optional<ScheduleRef>()> selectedSchedule; // the day list's selection
    std::function<const CategoryTable&()> categories;             // as the calendar last read them
    std::function<void(const Date&)> showDate;                    // the calendar moves to a day
};

class TodoPanel : public QWidget {
    Q_OBJECT
public:
    TodoPanel(const PanelContext& context, TodoPanelLinks links, QWidget* parent = nullptr);

    QTabWidget* PageTodo;
    QTreeWidget* ListTodoNo;
    QTreeWidget* ListTodoOk;
    QMenu* PopupToDo;
    QAction *MenuToDo, *TBtnTodoNew, *PopToDoNew, *PopToDoRep, *PopToDoDel, *PopUpdate, *PopSchCopy, *PopTodoCal;
    // In the day list's pop-up menu: the selected schedule becomes a ToDo entry.
    QAction* PoPTodoCopy;

    // The commands.
    // Reloads ToDo.dat and refills both lists; todoLinesChanged when its lines changed.
    void ToDoEdit();
    // Stores the ticks of both lists; true when ToDo.dat changed.
    bool ToDoUd();
    // The write-back before the lists are hidden or read again from a folder: the ticks are
    // stored, and the lists reloaded when that changed ToDo.dat.
    void WriteBack();
    void TodoDel();
    void ToDoNew();
    void ToDoRep();
    void ShowDlgToDoInput(TodoInputMode mode);
    void PopupToDoPopup();
    void PopUpdateClick();
    void PoPTodoCopyClick();
    void PopSchCopyClick();
    void PopTodoCalClick();
    // The columns, the colours and the status icons as the settings give them.
    void TodoListCreate();
    void TodoSet();
    void TodoIconSetup();
    // ToDo.dat as read at start, before the lists are first filled; that fill, in the same turn of
    // the start, takes this reading instead of reading the file again.
    void ReadTodoLines();
    const std::vector<std::string>& todoLines() const { return todoLines_; }
    const TodoIconSet& statusIcons() const { return icons_; }

    // The column build: tab position, the columns of both lists, the sort directions; the open
    // tab becomes the active one. The rows shown stay.
    void CreateColumns(const TodoColumnSettings& settings);
    // Shows the rows in both lists and the counts in the tab captions.
    void Fill(const TodoRows& rows);
    void setStatusIcons(const TodoIconSet& icons);
    void setColors(const QColor& openBack, const QColor& doneBack, const QColor& text);

    // Check boxes whose state differs from the stored one.
    std::vector<TodoTick> PendingTicks() const;
    // The selected row of the active tab's list (the current one when several are selected).
    std::optional<store::LineRef> TodoKeySearch() const;
    std::vector<store::LineRef> SelectedRefs() const;
    // The check box of the row TodoKeySearch gives.
    bool CurrentRowChecked() const;
    bool DoneTabActive() const;
    bool ListFocused() const;
    TodoColumnWidths ColumnWidths() const;

    // Sorts a list by the column at `position`; the first click on a column sorts descending.
    void ListTodoNoColumnClick(int position);
    void ListTodoOkColumnClick(int position);

signals:
    // ToDo.dat's lines differ from the ones read before.
    void todoLinesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ListState {
        QTreeWidget* view = nullptr;
        std::vector<TodoColumn> columns;
        std::vector<TodoRow> rows; // in the order of the last fill; items hold their index
    };

    ListState& stateOf(TodoList list) { return list == TodoList::Open ? open_ : done_; }
    const ListState& activeState() const;
    // The open list's rows carry status icons when the settings say so; the done list's never.
    bool withIcons(const ListState& state) const { return &state == &open_ && statusIcons_; }
    void applyColumns(ListState& state);
    void populate(ListState& state, const std::map<TodoKey, bool>& pendingChecks);
    std::map<TodoKey, bool> pendingChecks(const ListState& state) const;
    void sortList(ListState& state, int position);
    const TodoRow& rowOf(const ListState& state, const QTreeWidgetItem* item) const;
    QTreeWidgetItem* selectedItem(const ListState& state) const;
    std::optional<int> widthOf(const ListState& state, TodoItem item) const;
    void createCommands();
    void RunTodoInput(TodoInputRequest request, const QPoint& place);
    void TodoChangedMeanwhile(const char* caption);
    void ShowTodoFailure(const char* caption, const char* what, const std::string& reason);

    PanelContext context_;
    TodoPanelLinks links_;
    std::vector<std::string> todoLines_;
    std::optional<TodoFile> startReading_;
    ListState open_;
    ListState done_;
    TodoIconSet icons_;
    bool statusIcons_ = true;
    std::array<int, kTodoItemCount> directions_{}; // shared by both lists, by column position
};

} // namespace kal::qt
