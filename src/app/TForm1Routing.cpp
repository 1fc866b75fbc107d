// The few events that cross panels, routed by the window: what every panel may ask of it, the
// ToDo lines the calendar marks, the day the calendar shows.
#include "app/TForm1.h"

#include "platform/qt/QtText.h"

namespace kal {

qt::PanelContext TForm1::PanelContextOfWindow()
{
    return qt::PanelContext{panelServices_,
                            settings_,
                            programFolder_,
                            identities_.get(),
                            state_.modalDialogOpen,
                            [this] { return state_.selectedDate; },
                            [this] { return DialogPlace(); },
                            [this] { RebuildMonth(); },
                            [this](const std::string& source, const std::vector<files::FileProblem>& problems) {
                                ShowUnreadable(source, problems);
                            }};
}

qt::TodoPanelLinks TForm1::TodoLinks()
{
    return qt::TodoPanelLinks{[this] { return SchKeySearch(); },
                              [this]() -> const CategoryTable& { return categories_; },
                              [this](const Date& date) { ShowDate(date); }};
}

void TForm1::TodoLinesChanged()
{
    const bool calendarShowsTodo =
        FlagOn(settings_.calView, 6) || FlagOn(settings_.calView, 9) || FlagOn(settings_.weekView, 9);
    if (calendarShowsTodo && created_)
        RebuildMonth();
}

void TForm1::TodoIconSetup()
{
    PanelTodo->TodoIconSetup();
    for (int state = 1; state <= 4; ++state)
        painter_.setTodoIcon(state, PanelTodo->statusIcons()[static_cast<std::size_t>(state)]);
}

void TForm1::ShowDate(const Date& date)
{
    state_.selectedDate = date;
    SetMonth(date.year, date.month);
}

} // namespace kal
