#include "alarm/ClockDisplay.h"

#include "platform/DateFormat.h"
#include "platform/SjisCodec.h"

namespace kal::clock {

namespace {

// Segments 1 to 7, most significant first, one row per glyph in the order of `Glyph`.
constexpr std::array<const char*, 12> kGlyphTable = {
    "1111110", "0010100", "1011011", "1010111", "0110101", "1100111",
    "1101111", "1010100", "1111111", "1110111", "0000000", "0000001",
};

constexpr std::array<const char*, 7> kWeekdays = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

// Tens and units of a two-digit value; a leading zero becomes a blank cell when asked.
enum class LeadingZero { Shown, Blank };

void putTwoDigits(ClockFace& face, int firstCell, int value, LeadingZero zero)
{
    int tens = (value / 10) % 10;
    face.cells[static_cast<std::size_t>(firstCell)] =
        (tens == 0 && zero == LeadingZero::Blank) ? Glyph::Blank : digitGlyph(tens);
    face.cells[static_cast<std::size_t>(firstCell + 1)] = digitGlyph(value % 10);
}

void putDate(ClockFace& face, const Date& date)
{
    int year = date.year % 10000;
    for (int i = 3; i >= 0; --i) {
        face.cells[static_cast<std::size_t>(i)] = digitGlyph(year % 10);
        year /= 10;
    }
    face.cells[4] = Glyph::Dash;
    putTwoDigits(face, 5, date.month, LeadingZero::Blank);
    face.cells[7] = Glyph::Dash;
    putTwoDigits(face, 8, date.day, LeadingZero::Blank);
    face.weekday = kWeekdays[static_cast<std::size_t>(dayOfWeek(date))];
}

} // namespace

Glyph digitGlyph(int digit)
{
    if (digit < 0 || digit > 9)
        return Glyph::Blank;
    return static_cast<Glyph>(digit);
}

std::array<bool, kSegmentCount> segmentsOf(Glyph glyph)
{
    const char* row = kGlyphTable[static_cast<std::size_t>(glyph)];
    std::array<bool, kSegmentCount> lit{};
    for (std::size_t i = 0; i < lit.size(); ++i)
        lit[i] = row[i] == '1';
    return lit;
}

const std::vector<SegmentPoint>& segmentPolygon(int segment)
{
    static const std::array<std::vector<SegmentPoint>, kSegmentCount> polygons = {{
        {{0, 2}, {13, 2}, {9, 6}, {4, 6}},                     // top
        {{0, 2}, {4, 6}, {4, 10}, {0, 12}},                    // upper left
        {{9, 6}, {13, 2}, {13, 12}, {9, 10}},                  // upper right
        {{0, 11}, {4, 12}, {4, 16}, {0, 20}},                  // lower left
        {{9, 12}, {13, 11}, {13, 20}, {9, 16}},                // lower right
        {{0, 20}, {4, 16}, {9, 16}, {13, 20}},                 // bottom
        {{2, 11}, {4, 9}, {9, 9}, {11, 11}, {9, 13}, {4, 13}}, // middle
    }};
    static const std::vector<SegmentPoint> none;
    if (segment < 1 || segment > kSegmentCount)
        return none;
    return polygons[static_cast<std::size_t>(segment - 1)];
}

CellGroup cellGroup(int cell)
{
    if (cell >= 0 && cell <= 9)
        return CellGroup::Date;
    if (cell == 13 || cell == 14 || cell == 16 || cell == 17 || cell == 19 || cell == 20)
        return CellGroup::Time;
    return CellGroup::Label;
}

int displayHour(int hour, HourDisplay hours)
{
    if (hours == HourDisplay::TwentyFour)
        return hour;
    int twelve = hour % 12;
    return twelve == 0 ? 12 : twelve;
}

ClockFace clockFace(const DateTime& now, SecondsDisplay seconds, HourDisplay hours)
{
    ClockFace face;
    face.cells.fill(Glyph::Blank);
    putDate(face, now.date);
    putTwoDigits(face, 13, displayHour(now.hour, hours), LeadingZero::Blank);
    putTwoDigits(face, 16, now.minute, LeadingZero::Shown);
    if (seconds == SecondsDisplay::Shown)
        putTwoDigits(face, 19, now.second, LeadingZero::Shown);
    face.amPm = now.hour < 12 ? "AM" : "PM";
    return face;
}

std::string spokenClock(const DateTime& now, HourDisplay hours)
{
    std::string spoken = text::formatDateTimeUtf8("yyyy\"年\"m\"月\"d\"日 \"aaaa\" \"", now);
    if (hours == HourDisplay::Twelve)
        spoken += now.hour < 12 ? "午前" : "午後";
    spoken += std::to_string(displayHour(now.hour, hours)) + "時" + std::to_string(now.minute) + "分";
    return sjis::fromUtf8Lossy(spoken);
}

std::string clockCaption(std::string_view style, const DateTime& now)
{
    return text::formatDateTime(style, now);
}

} // namespace kal::clock
