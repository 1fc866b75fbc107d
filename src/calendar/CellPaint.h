// What a day cell of the month grid shows: its colours, the day number, the rokuyo, the bands of
// its holiday, schedule and ToDo lines with their colours and styles, and its icons. The grid
// widget only draws what these functions decide.
#pragma once

#include "calendar/CalendarMath.h"
#include "calendar/DayCellLists.h"
#include "platform/Platform.h"
#include "schedule/Categories.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kal {

// The settings the drawing reads, taken from the settings file by the window.
struct CalendarLook {
    std::array<ColorValue, 21> textColor{};
    std::array<ColorValue, 21> backColor{};
    std::array<int, 9> calView{};
    bool otherMonth = true;          // OtherMon
    bool eraDates = true;            // DateJap
    bool underlineSchedules = false; // [Mini] SchLine
    int warnTerm = 3;
    FontStyle scheduleStyle = FontStyle::Regular;  // style of the Sch font
    std::string placeOpen = "(", placeClose = ")"; // around a schedule's place (Shift-JIS)
};

struct AppSettings;
// The colours, content flags and styles of the settings file.
CalendarLook CalendarLookFrom(const AppSettings& settings);

enum class BandKind { Holiday, Schedule, Todo };

struct TextStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

struct CellBand {
    BandKind kind = BandKind::Schedule;
    std::string text; // Shift-JIS
    ColorValue textColor = 0;
    std::optional<ColorValue> background; // schedule and ToDo bands: as wide as the text + 3
    TextStyle style;
};

enum class TodoIcon { None = 0, Overdue = 1, DueToday = 2, Warning = 3, Normal = 4 };

struct CellPaint {
    bool drawn = true; // false: a neighbouring month's cell with OtherMon off
    bool today = false;
    ColorValue textColor = 0;
    ColorValue backColor = 0xFFFFFF;
    std::string dayText; // "%2d"
    std::string rokuyo;  // empty when not shown
    std::vector<CellBand> bands;
    bool memoIcon = false;
    TodoIcon todoIcon = TodoIcon::None;
    bool underline = false; // mini calendar: the day has schedules
};

struct HeaderPaint {
    ColorValue textColor = 0;
    std::string text;
};

inline constexpr ColorValue kCellBorderColor = 0x555555;

CellPaint PaintCell(const MonthLayout& layout, const DayCellLists& lists, const CategoryTable& categories,
                    const CalendarLook& look, const Date& today, int column, int row);

// The weekday header of a column: short Japanese names in the calendar-with-ToDo panel mode and
// in the mini calendar, long ones otherwise; English abbreviations (first letter in the mini
// calendar) without era dates.
enum class HeaderForm { Short, Long, Mini };
HeaderPaint PaintHeader(const MonthLayout& layout, const CalendarLook& look, int column, HeaderForm form);

// The ToDo state of a day: earlier than today overdue, today due, within the warning term a
// warning, later normal.
TodoIcon TodoIconFor(const Date& day, const Date& today, int warnTerm);

TextStyle StyleOf(FontStyle base, char emphasisCode, char lineCode);

} // namespace kal
