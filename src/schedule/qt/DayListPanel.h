// The selected day's schedules beside the calendar: the header PanelDaySch (the date, the
// holiday, the count) and the list ListDaySch, with the operations started from it: add,
// correct, copy and delete. Every entry carries its month file and line index; a record is
// written only when that line still holds the text the list showed.
#pragma once

#include "platform/Platform.h"
#include "schedule/ExtraSchedules.h"
#include "schedule/ScheduleRecord.h"
#include "settings/qt/PanelContext.h"

#include <QObject>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QTreeWidget;
class QWidget;

namespace kal::qt {

// What the list shows of the selected day, as the calendar has it.
struct DaySchedules {
    Date date;
    std::vector<ScheduleRef> entries;
    std::optional<std::string> holiday; // Shift-JIS: the holiday or day off named after the date
    ColorValue headerColor = 0;
    bool eraDates = false;
    std::vector<ExtraSchedule> extras; // subscribed calendars' entries, read-only
};

class DayListPanel : public QObject {
    Q_OBJECT
public:
    // The widgets are the window's to place; dialogs open over `window`.
    DayListPanel(const PanelContext& context, QWidget* window);

    QLabel* PanelDaySch;
    QTreeWidget* ListDaySch;
    QAction *MenuSchAdd, *TBtnSchAdd, *PopSchNew, *PopTraySchAdd;
    QAction *PopDayNew, *PopDayRep, *PopDayCopy, *PopDayDel;

    // The columns the settings choose, with their widths; the colours.
    void ListCreate();
    void DayListSet();
    // The day's entries, then the subscribed calendars' in their colours; none while the list is
    // not shown.
    void FillDayList(const std::vector<ScheduleRef>& entries, const std::vector<ExtraSchedule>& extras = {});
    void ShowDayHeader(const DaySchedules& day);
    // The selected entry, when there is one.
    std::optional<ScheduleRef> SchKeySearch() const;
    void DaySchInputAdd();
    void DaySchInputRep(QAction* invokedBy);
    // A double click on the list, on an entry or on empty space.
    void ListDaySchDblClick(bool onEntry);
    void DaySchDel();
    // Enables the schedule entries of the day's pop-up menu.
    void PopupDayPopup();
    // Contents, place and category widths as they stand; none for a column not shown.
    std::array<std::optional<int>, 3> DayColumnWidths() const;

private:
    void createCommands();
    void ScheduleChangedMeanwhile(const char* caption);
    // The selected subscribed calendar's entry, when one is selected.
    const ExtraSchedule* SelectedExtra() const;
    // Such an entry is not the user's to change: says so and offers a copy among their own.
    void RefuseExtraEdit(const ExtraSchedule& entry);

    PanelContext context_;
    QWidget* window_;
    std::vector<SchViewFlag> dayColumns_; // which record field each column shows
    std::vector<ExtraSchedule> extras_;   // the rows after the user's own
};

} // namespace kal::qt
