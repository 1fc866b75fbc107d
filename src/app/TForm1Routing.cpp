// The few events that cross panels, routed by the window: what every panel may ask of it, the
// ToDo lines the calendar marks, the day the calendar shows.
#include "app/TForm1.h"

#include "app/TDlgPassEntry.h"
#include "platform/qt/QtText.h"

#include <QSplitter>

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

void TForm1::MemoRefresh()
{
    // An area that comes back sits under the day list at its remembered height.
    if (ListMemo->MemoRefresh())
        SplM->setSizes({std::max(58, SplM->height() - memoHeight_ - SplM->handleWidth()), memoHeight_});
}

void TForm1::MemoChanged(bool existenceChanged)
{
    // The week view's memo column shows the text itself, so every change reaches it.
    const bool weekShowsMemos = weekShown_ && FlagOn(settings_.weekView, 5);
    if (weekShowsMemos || (existenceChanged && FlagOn(settings_.calView, 5)))
        RebuildMonth();
    else
        DaySchEdit();
}

void TForm1::MenuPasswdClick()
{
    TDlgPassEntry dialog(panelServices_, programFolder_, this);
    panelServices_.dialogs.run(dialog);
}

} // namespace kal
