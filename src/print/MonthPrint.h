// What the printed month page shows: a copy of the month build taken when printing starts,
// the print settings, and per printed column and cell the texts, colours and styles. The
// decisions the screen shares (line kinds, hidden categories, styles, cell colours) come from
// CellPaint; what paper does differently (monochrome, no today, 【place】, ToDo modes) is here.
#pragma once

#include "calendar/CellPaint.h"
#include "calendar/MonthBuild.h"
#include "print/PrintSettings.h"
#include "schedule/Categories.h"

#include <string>
#include <vector>

namespace kal {

struct AppSettings;

// The displayed month as it stood when the print dialog or the preview opened.
struct PrintSource {
    MonthBuild build;
    CategoryTable categories;
    CalendarLook look;
    FontSpec dayFont;      // day numbers and English weekday names
    FontSpec scheduleFont; // lines, rokuyo, creation date, Japanese weekday names
    Date today;
    std::string jobTitle; // Shift-JIS: the program's title, the name of the print job
};

PrintSource MakePrintSource(const MonthBuild& build, const CategoryTable& categories, const AppSettings& settings,
                            const Date& today);

// Builds the month of `year`/`month` from the program folder's settings and data, as the
// window would show it.
struct PrintSourceLoad {
    bool ok = true;
    std::string why; // UTF-8, when the settings cannot be read
    PrintSource source;
};
PrintSourceLoad LoadPrintSource(const std::string& programFolder, int year, int month, const Date& today,
                                ExtraSchedules* extras = nullptr);

// One page: the month, the settings and the texts of its title band.
struct MonthPage {
    PrintSource source;
    PrintSettings settings;
    std::string title;        // Shift-JIS
    std::string creationDate; // Shift-JIS, empty when none is printed
};
MonthPage ComposeMonthPage(PrintSource source, PrintSettings settings);

inline constexpr ColorValue kPrintBlack = 0x000000;
inline constexpr ColorValue kPrintWhite = 0xFFFFFF;
inline constexpr ColorValue kPrintGrey = 0x808080; // other-month days in light print
inline constexpr ColorValue kHeaderBackground = 0xC0C0C0;

// The grid columns printed, left to right: all seven, or Monday to Friday.
std::vector<int> PrintedColumns(WeekStart weekStart, bool noWeekend);

struct PrintLine {
    BandKind kind = BandKind::Schedule;
    std::string text; // Shift-JIS
    ColorValue color = kPrintBlack;
    TextStyle style;
};

struct PrintedCell {
    bool drawn = true;             // false: a neighbouring month's day that is not printed (borders only)
    ColorValue back = kPrintWhite; // the date band
    ColorValue dayColor = kPrintBlack;
    std::string dayLabel; // "%2d", or "%2d/%2d" with the month for the first shown day of another month
    std::string rokuyo;   // empty when not shown
    ColorValue rokuyoColor = kPrintBlack;
    std::vector<std::string> almanac; // the first line, in the rokuyo's colour, as far as it fits
    std::vector<PrintLine> lines;
};

// `firstPrinted` is whether `column` is the leftmost printed column.
PrintedCell PrintCell(const MonthPage& page, int column, int row, bool firstPrinted);

// The weekday header of a printed column: long Japanese names with era dates, else English.
HeaderPaint PrintHeader(const MonthPage& page, int column);

} // namespace kal
