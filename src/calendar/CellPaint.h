// What a day cell of the month grid and a day of the week view show: colours, the day number,
// the rokuyo, the bands of the holiday, schedule and ToDo lines with their colours and styles,
// and the month grid's icons. The grid widgets only draw what these functions decide.
#pragma once

#include "calendar/Almanac.h"
#include "calendar/CalendarMath.h"
#include "calendar/DayCellLists.h"
#include "platform/Platform.h"
#include "schedule/Categories.h"
#include "settings/SettingFlags.h"
#include "todo/TodoRecord.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kal {

// The settings the drawing reads, taken from the settings file by the window.
struct CalendarLook {
    std::array<ColorValue, 21> textColor{};
    std::array<ColorValue, 21> backColor{};
    CalViewFlags calView;
    WeekViewFlags weekView;
    bool otherMonth = true;          // OtherMon
    bool eraDates = true;            // DateJap
    bool underlineSchedules = false; // [Mini] SchLine
    int warnTerm = 3;
    FontStyle scheduleStyle = FontStyle::Regular;  // style of the Sch font
    FontStyle weekStyle = FontStyle::Regular;      // style of the weekly schedule font
    std::string placeOpen = "(", placeClose = ")"; // around a schedule's place (Shift-JIS)
    AlmanacFlags almanac;                          // [Koyomi]
};

struct AppSettings;
// The colours, content flags and styles of the settings file.
CalendarLook CalendarLookFrom(const AppSettings& settings);

// Which lines a view shows and how a schedule reads there.
struct LineOptions {
    bool holidays = true, daysOff = true, anniversaries = true, schedules = true, todos = true;
    bool startTime = false, endTime = false, place = false;
    FontStyle style = FontStyle::Regular;
    std::string placeOpen = "(", placeClose = ")";
};

LineOptions MonthLineOptions(const CalendarLook& look);
LineOptions WeekLineOptions(const CalendarLook& look);

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
    std::string startTime, endTime; // schedules: as stored, trailing blanks removed
};

struct CellPaint {
    bool drawn = true; // false: a neighbouring month's cell with OtherMon off
    bool today = false;
    ColorValue textColor = 0;
    ColorValue backColor = 0xFFFFFF;
    std::string dayText; // "%2d"
    std::string rokuyo;  // empty when not shown
    // A line of its own above the bands, in the rokuyo's colour and font, as far as it fits.
    std::vector<std::string> almanac;
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
// The bands of a cell's lines, in list order, on a cell of the given colour.
std::vector<CellBand> CellBands(const std::vector<CellLine>& lines, const CategoryTable& categories,
                                const CalendarLook& look, const LineOptions& options, ColorValue cellBack);

// A schedule as a band reads it: times, title, place, each as the options say.
std::string ScheduleBandText(const std::string& record, const LineOptions& options);
std::string BandText(const std::string& start, const std::string& end, const std::string& title,
                     const std::string& place, const LineOptions& options);

// One day of the week view: the date column (no other-month or today colouring there) and the
// lines column, coloured as the month grid colours the day, whatever OtherMon says.
struct WeekDayPaint {
    ColorValue dateColor = 0;
    std::string dateText;             // "%2d(月)", or "%2d Mon" without era dates
    std::string rokuyo;               // empty when not shown
    std::vector<std::string> almanac; // the first line of the lines column, as far as it fits
    bool today = false;
    ColorValue textColor = 0;
    ColorValue backColor = 0xFFFFFF;
    std::vector<CellBand> bands;
};

WeekDayPaint PaintWeekDay(const MonthLayout& layout, const DayCellLists& lists, const CategoryTable& categories,
                          const CalendarLook& look, const Date& today, int column, int row);

HeaderPaint PaintHeader(const MonthLayout& layout, const CalendarLook& look, int column, HeaderForm form);

// A rectangle of a cell in pixels, edges included.
struct CellArea {
    int left = 0, top = 0, right = -1, bottom = -1;
};

// The memo and ToDo marks of a month cell, 16 pixels square, side by side at its bottom right
// (the memo's rightmost); none, one or both.
struct CellMarks {
    std::optional<CellArea> memo, todo;
    // Both together, or nothing without a mark.
    std::optional<CellArea> area() const;
};
inline constexpr int kMarkSize = 16;
CellMarks PlaceMarks(const CellArea& cell, bool memo, bool todo);

// Where the lines' bands go, from `firstTop` down, each as tall as `heights` says: only those
// that end inside the cell, whole, and none after the first that does not; a band beside the
// marks ends left of them, so no line is drawn over a mark.
std::vector<CellArea> PlaceBands(const CellArea& cell, int firstTop, const std::vector<int>& heights,
                                 const std::optional<CellArea>& marks);

TextStyle StyleOf(FontStyle base, char emphasisCode, char lineCode);

} // namespace kal
