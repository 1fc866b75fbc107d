// The digital clock of the right-hand panel: what each seven-segment cell shows for a moment,
// the segment shapes, and the caption of the text clock. The widget only paints these.
#pragma once

#include "platform/Date.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kal::clock {

enum class Glyph { D0, D1, D2, D3, D4, D5, D6, D7, D8, D9, Blank, Dash };

inline constexpr int kCellCount = 21;
inline constexpr int kCellWidth = 15;
inline constexpr int kSegmentCount = 7;
// Widest point of a digit, relative to its cell.
inline constexpr int kDigitWidth = 13;

// The digit 0..9 as a glyph.
Glyph digitGlyph(int digit);

// Segments 1 to 7 (index 0 is segment 1): true when lit.
std::array<bool, kSegmentCount> segmentsOf(Glyph glyph);

struct SegmentPoint {
    int x = 0;
    int y = 0;
};

// The filled polygon of segment 1..7, relative to the cell's left edge, y downward.
const std::vector<SegmentPoint>& segmentPolygon(int segment);

// Which colour a cell is lit in; cells between the groups hold labels, not digits.
enum class CellGroup { Date, Time, Label };
CellGroup cellGroup(int cell);
inline int cellX(int cell)
{
    return cell * kCellWidth;
}

enum class SecondsDisplay { Shown, Hidden };
enum class HourDisplay { TwentyFour, Twelve };

struct ClockFace {
    std::array<Glyph, kCellCount> cells{};
    std::string weekday; // "SUN" .. "SAT"
    std::string amPm;    // "AM" or "PM", set in either hour display
};

// Every cell for `now`: year 0-3, dash 4, month 5-6, dash 7, day 8-9, hour 13-14,
// minutes 16-17, seconds 19-20; leading zeros of month, day and hour are blank.
ClockFace clockFace(const DateTime& now, SecondsDisplay seconds, HourDisplay hours);

// Hour as the clock shows it: 0..23, or 1..12 on the twelve-hour clock.
int displayHour(int hour, HourDisplay hours);

// The clock as a screen reader says it, to the minute: "2026年12月10日 木曜日 7時43分", on the
// twelve-hour clock "午後7時43分"; Shift-JIS.
std::string spokenClock(const DateTime& now, HourDisplay hours);

// The text clock's line: `now` formatted with the Shift-JIS `style` pattern; Shift-JIS.
std::string clockCaption(std::string_view style, const DateTime& now);

} // namespace kal::clock
