#include "calendar/CellPaint.h"

#include "platform/ByteText.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "settings/AppSettings.h"
#include "todo/TodoRecord.h"

#include <algorithm>

namespace kal {
namespace {

bool kindShown(char kind, const LineOptions& options)
{
    switch (kind) {
    case '0':
        return options.holidays;
    case '1':
        return options.daysOff;
    case '2':
        return options.anniversaries;
    case '3':
    case '4':
        return options.schedules;
    case '8':
        return options.todos;
    default:
        return false;
    }
}

struct CellColors {
    ColorValue text = 0;
    ColorValue back = 0xFFFFFF;
};

// By holiday kind, then weekday; a neighbouring month's day or today over that.
CellColors cellColors(const MonthLayout& layout, const CalendarLook& look, int column, int row, bool today)
{
    const DayCell& cell = layout.cell(column, row);
    int item = ColWeekday;
    if (cell.kind == 0)
        item = ColHoliday;
    else if (cell.kind == 1)
        item = ColDayOff;
    else if (column == layout.saturdayColumn())
        item = ColSaturday;
    else if (column == layout.sundayColumn())
        item = ColSunday;
    CellColors colors{look.textColor[static_cast<std::size_t>(item)], look.backColor[static_cast<std::size_t>(item)]};
    if (cell.relation != MonthRelation::Current) {
        colors.text = look.textColor[ColOtherMonth];
        colors.back = look.backColor[ColOtherMonth];
    } else if (today) {
        colors.back = look.backColor[ColToday];
    }
    return colors;
}

bool isToday(const MonthLayout& layout, const Date& today, int column, int row)
{
    return layout.cell(column, row).relation == MonthRelation::Current && layout.dateOf(column, row) == today;
}

void applyCategory(const CategoryDrawing& drawing, CellBand& band)
{
    if (drawing.text)
        band.textColor = *drawing.text;
    if (drawing.back)
        band.background = *drawing.back;
}

std::optional<CellBand> holidayBand(const CellLine& line, const CalendarLook& look, const LineOptions& options)
{
    const char kind = line.kind();
    std::string name = line.body();
    if (kind == '1' && text::isBlank(name))
        return std::nullopt; // an unnamed day off only colours the day
    CellBand band;
    band.kind = BandKind::Holiday;
    band.text = name;
    int item = kind == '0' ? ColHoliday : kind == '1' ? ColDayOff : ColAnniversary;
    band.textColor = look.textColor[static_cast<std::size_t>(item)];
    band.style = StyleOf(options.style, '0', '0');
    return band;
}

std::optional<CellBand> scheduleBand(const CellLine& line, const CategoryTable& categories, const CalendarLook& look,
                                     const LineOptions& options, ColorValue cellBack)
{
    const std::string record = line.body();
    const CategoryDrawing drawing = DrawingFor(categories, RecCategory(record));
    if (drawing.hidden)
        return std::nullopt;
    CellBand band;
    band.kind = BandKind::Schedule;
    band.textColor = look.textColor[ColWeekday];
    band.background = cellBack;
    band.style = StyleOf(options.style, RecBoldItalic(record), RecUnderlineStrike(record));
    applyCategory(drawing, band);
    band.text = ScheduleBandText(record, options);
    band.startTime = text::trimRight(RecStart(record));
    band.endTime = text::trimRight(RecEnd(record));
    return band;
}

// A subscribed calendar's entry in its colour, marked as not the user's own.
CellBand extraBand(const ExtraSchedule& entry, const LineOptions& options, ColorValue cellBack)
{
    CellBand band;
    band.kind = BandKind::Schedule;
    band.textColor = entry.color;
    band.background = cellBack;
    band.style = StyleOf(options.style, '0', '0');
    band.text = KAL_SJIS("◇") + BandText(entry.start, entry.end, entry.title, entry.place, options);
    return band;
}

CellBand todoBand(const CellLine& line, const CategoryTable& categories, const CalendarLook& look,
                  const LineOptions& options, ColorValue cellBack)
{
    const std::string record = line.body();
    CellBand band;
    band.kind = BandKind::Todo;
    band.textColor = look.textColor[ColWeekday];
    band.background = cellBack;
    band.style = StyleOf(options.style, '0', '0');
    // A ToDo of a hidden category is still drawn, on a band of its own.
    applyCategory(DrawingFor(categories, TodoCategory(record)), band);
    band.text = TodoTitle(record);
    return band;
}

// The kinds of line the month cell and the week day have in common.
template <class Name> LineOptions linesOf(const NamedFlags<Name>& flags, const CalendarLook& look)
{
    LineOptions options;
    options.placeOpen = look.placeOpen;
    options.placeClose = look.placeClose;
    options.holidays = flags.on(Name::Holidays);
    options.daysOff = flags.on(Name::DaysOff);
    options.anniversaries = flags.on(Name::Anniversaries);
    options.schedules = flags.on(Name::Schedules);
    options.todos = flags.on(Name::TodoTitle);
    return options;
}

} // namespace

CalendarLook CalendarLookFrom(const AppSettings& settings)
{
    CalendarLook look;
    for (std::size_t i = 0; i < ColorItemCount; ++i) {
        look.textColor[i] = settings.colors[i].text;
        look.backColor[i] = settings.colors[i].back;
    }
    look.calView = settings.calView;
    look.otherMonth = settings.otherMon == 1;
    look.eraDates = settings.dateJap == 1;
    look.underlineSchedules = settings.schLine == 1;
    look.warnTerm = settings.warnTerm;
    look.scheduleStyle = settings.fonts[FontSch].style;
    look.weekView = settings.weekView;
    look.weekStyle = settings.fonts[FontWeek].style;
    look.almanac = settings.almanac;
    return look;
}

TextStyle StyleOf(FontStyle base, char emphasisCode, char lineCode)
{
    TextStyle style;
    style.bold = base == FontStyle::Bold || base == FontStyle::BoldItalic || StyleBold(emphasisCode);
    style.italic = base == FontStyle::Italic || base == FontStyle::BoldItalic || StyleItalic(emphasisCode);
    style.underline = StyleUnderline(lineCode);
    style.strikeout = StyleStrikeout(lineCode);
    return style;
}

LineOptions MonthLineOptions(const CalendarLook& look)
{
    LineOptions options = linesOf(look.calView, look);
    options.startTime = look.calView.on(CalViewFlag::StartTime);
    options.place = look.calView.on(CalViewFlag::Place);
    options.style = look.scheduleStyle;
    return options;
}

LineOptions WeekLineOptions(const CalendarLook& look)
{
    LineOptions options = linesOf(look.weekView, look);
    options.startTime = look.weekView.on(WeekViewFlag::StartTime);
    options.endTime = look.weekView.on(WeekViewFlag::EndTime);
    options.place = look.weekView.on(WeekViewFlag::Place);
    options.style = look.weekStyle;
    return options;
}

std::string BandText(const std::string& start, const std::string& end, const std::string& title,
                     const std::string& place, const LineOptions& options)
{
    std::string times;
    if (options.startTime && !start.empty())
        times = start;
    if (options.endTime && !end.empty())
        times += "-" + end;
    std::string band = times.empty() ? title : times + " " + title;
    if (options.place && !place.empty())
        band += options.placeOpen + place + options.placeClose;
    return band;
}

std::string ScheduleBandText(const std::string& record, const LineOptions& options)
{
    return BandText(text::trimRight(RecStart(record)), text::trimRight(RecEnd(record)), RecTitle(record),
                    text::trimRight(RecPlace(record)), options);
}

std::vector<CellBand> CellBands(const std::vector<CellLine>& lines, const CategoryTable& categories,
                                const CalendarLook& look, const LineOptions& options, ColorValue cellBack)
{
    std::vector<CellBand> bands;
    for (const CellLine& line : lines) {
        const char kind = line.kind();
        if (!kindShown(kind, options))
            continue;
        std::optional<CellBand> band;
        if (kind == '3')
            band = scheduleBand(line, categories, look, options, cellBack);
        else if (line.extra)
            band = extraBand(*line.extra, options, cellBack);
        else if (kind == '8')
            band = todoBand(line, categories, look, options, cellBack);
        else
            band = holidayBand(line, look, options);
        if (band)
            bands.push_back(std::move(*band));
    }
    return bands;
}

CellPaint PaintCell(const MonthLayout& layout, const DayCellLists& lists, const CategoryTable& categories,
                    const CalendarLook& look, const Date& today, int column, int row)
{
    CellPaint paint;
    const DayCell& cell = layout.cell(column, row);
    const Date date = layout.dateOf(column, row);
    if (cell.relation != MonthRelation::Current && !look.otherMonth) {
        paint.drawn = false;
        return paint;
    }
    paint.today = isToday(layout, today, column, row);
    const CellColors colors = cellColors(layout, look, column, row, paint.today);
    paint.textColor = colors.text;
    paint.backColor = colors.back;
    paint.dayText = text::formatInt(cell.day, 2);
    if (cell.showRokuyo)
        paint.rokuyo = RokuyoName(cell.rokuyo);
    paint.almanac = AlmanacItems(date, look.almanac);

    const std::vector<CellLine>& lines = lists.at(column, row);
    paint.bands = CellBands(lines, categories, look, MonthLineOptions(look), paint.backColor);
    const bool hasSchedule =
        std::any_of(lines.begin(), lines.end(), [](const CellLine& line) { return line.kind() == '3'; });
    paint.underline = hasSchedule && look.underlineSchedules;
    paint.memoIcon = cell.mark == 1 || cell.mark == 3;
    if (cell.mark == 2 || cell.mark == 3)
        paint.todoIcon = TodoIconFor(date, today, look.warnTerm);
    return paint;
}

WeekDayPaint PaintWeekDay(const MonthLayout& layout, const DayCellLists& lists, const CategoryTable& categories,
                          const CalendarLook& look, const Date& today, int column, int row)
{
    WeekDayPaint paint;
    const DayCell& cell = layout.cell(column, row);
    // The date column puts the weekend before the holiday kinds.
    int dateItem = ColWeekday;
    if (column == layout.saturdayColumn())
        dateItem = ColSaturday;
    else if (column == layout.sundayColumn())
        dateItem = ColSunday;
    else if (cell.kind == 1)
        dateItem = ColDayOff;
    else if (cell.kind == 0)
        dateItem = ColHoliday;
    paint.dateColor = look.textColor[static_cast<std::size_t>(dateItem)];
    const auto index = static_cast<std::size_t>(column);
    paint.dateText = look.eraDates
                         ? text::formatInt(cell.day, 2) + "(" + JapaneseWeekdayNames(layout.weekStart)[index] + ")"
                         : text::formatInt(cell.day, 2) + " " + EnglishWeekdayNames(layout.weekStart)[index];
    if (cell.showRokuyo)
        paint.rokuyo = RokuyoName(cell.rokuyo);
    paint.almanac = AlmanacItems(layout.dateOf(column, row), look.almanac);

    paint.today = isToday(layout, today, column, row);
    const CellColors colors = cellColors(layout, look, column, row, paint.today);
    paint.textColor = colors.text;
    paint.backColor = colors.back;
    paint.bands = CellBands(lists.at(column, row), categories, look, WeekLineOptions(look), paint.backColor);
    return paint;
}

std::optional<CellArea> CellMarks::area() const
{
    if (!memo && !todo)
        return std::nullopt;
    const CellArea& right = memo ? *memo : *todo;
    const CellArea& left = todo ? *todo : *memo;
    return CellArea{left.left, right.top, right.right, right.bottom};
}

CellMarks PlaceMarks(const CellArea& cell, bool memo, bool todo)
{
    // The first 18 pixels from the right edge, the second 34.
    const int top = cell.bottom + 1 - kMarkSize;
    auto markAt = [&](int slot) {
        const int left = cell.right + 1 - 18 - kMarkSize * slot;
        return CellArea{left, top, left + kMarkSize - 1, cell.bottom};
    };
    CellMarks marks;
    if (memo)
        marks.memo = markAt(0);
    if (todo)
        marks.todo = markAt(memo ? 1 : 0);
    return marks;
}

std::vector<CellArea> PlaceBands(const CellArea& cell, int firstTop, const std::vector<int>& heights,
                                 const std::optional<CellArea>& marks)
{
    std::vector<CellArea> bands;
    int top = firstTop;
    for (int height : heights) {
        const int bottom = top + height - 1;
        if (bottom > cell.bottom)
            break;
        const bool besideMarks = marks && bottom >= marks->top && top <= marks->bottom;
        bands.push_back(CellArea{cell.left, top, besideMarks ? marks->left - 1 : cell.right, bottom});
        top = bottom + 1;
    }
    return bands;
}

HeaderPaint PaintHeader(const MonthLayout& layout, const CalendarLook& look, int column, HeaderForm form)
{
    HeaderPaint paint;
    int item = ColWeekday;
    if (column == layout.saturdayColumn())
        item = ColSaturday;
    else if (column == layout.sundayColumn())
        item = ColSunday;
    paint.textColor = look.textColor[static_cast<std::size_t>(item)];
    const auto index = static_cast<std::size_t>(column);
    if (look.eraDates) {
        paint.text = form == HeaderForm::Long ? LongJapaneseWeekdayNames(layout.weekStart)[index]
                                              : JapaneseWeekdayNames(layout.weekStart)[index];
    } else {
        paint.text = EnglishWeekdayNames(layout.weekStart)[index];
        if (form == HeaderForm::Mini)
            paint.text = paint.text.substr(0, 1);
    }
    return paint;
}

} // namespace kal
