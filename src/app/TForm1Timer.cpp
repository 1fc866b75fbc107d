// What the timer's new minute and periodic refresh mean for the other panels: the new day,
// and the month, the ToDo lists and the note read again.
#include "app/TForm1.h"

#include "alarm/qt/TimerPanel.h"

namespace kal {

void TForm1::MinuteBegan(const DateTime& now)
{
    state_.today = now.date;
    if (now.date != state_.lastDay) {
        state_.lastDay = now.date;
        state_.startYear = now.date.year;
        DayChangeRefresh();
    }
}

void TForm1::DayChangeRefresh()
{
    GoToToday(state_.today);
    if (PanelRight->isVisible())
        PanelTodo->ToDoEdit();
}

void TForm1::PeriodicRefresh()
{
    RebuildMonth();
    // A refill keeps the ticks the user has not stored yet.
    PanelTodo->ToDoEdit();
    // The note is read again without a password question.
    PanelNote->TabNoteEdit(qt::NoteShow::Refresh);
}

} // namespace kal
