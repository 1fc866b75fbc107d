#include "calendar/CellPaint.h"

#include "app/AppSettings.h"
#include "platform/ByteText.h"
#include "platform/NumberFormat.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoRecord.h"

namespace kal {
namespace {

// Which CalView flag enables a line kind.
int flagOfKind(char kind)
{
    switch (kind) {
    case '0':
        return 1;
    case '1':
        return 2;
    case '2':
        return 3;
    case '3':
        return 4;
    case '8':
        return 9;
    default:
        return 0;
    }
}

void cellColors(const MonthLayout& layout, const CalendarLook& look, int column, int row, CellPaint& paint)
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
    paint.textColor = look.textColor[static_cast<std::size_t>(item)];
    paint.backColor = look.backColor[static_cast<std::size_t>(item)];
    if (cell.relation != MonthRelation::Current) {
        paint.textColor = look.textColor[ColOtherMonth];
        paint.backColor = look.backColor[ColOtherMonth];
    } else if (paint.today) {
        paint.backColor = look.backColor[ColToday];
    }
}

void applyCategory(const CategoryDrawing& drawing, CellBand& band)
{
    if (drawing.text)
        band.textColor = *drawing.text;
    if (drawing.back)
        band.background = *drawing.back;
}

std::optional<CellBand> holidayBand(const CellLine& line, const CalendarLook& look)
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
    band.style = StyleOf(look.scheduleStyle, '0', '0');
    return band;
}

std::optional<CellBand> scheduleBand(const CellLine& line, const CategoryTable& categories, const CalendarLook& look,
                                     ColorValue cellBack)
{
    const std::string record = line.body();
    const CategoryDrawing drawing = DrawingFor(categories, RecCategory(record));
    if (drawing.hidden)
        return std::nullopt;
    CellBand band;
    band.kind = BandKind::Schedule;
    band.textColor = look.textColor[ColWeekday];
    band.background = cellBack;
    band.style = StyleOf(look.scheduleStyle, RecBoldItalic(record), RecUnderlineStrike(record));
    applyCategory(drawing, band);
    std::string title = RecTitle(record);
    std::string start = text::trimRight(RecStart(record));
    band.text = FlagOn(look.calView, 7) && !start.empty() ? start + " " + title : title;
    std::string place = text::trimRight(RecPlace(record));
    if (FlagOn(look.calView, 8) && !place.empty())
        band.text += look.placeOpen + place + look.placeClose;
    return band;
}

CellBand todoBand(const CellLine& line, const CategoryTable& categories, const CalendarLook& look, ColorValue cellBack)
{
    const std::string record = line.body();
    CellBand band;
    band.kind = BandKind::Todo;
    band.textColor = look.textColor[ColWeekday];
    band.background = cellBack;
    band.style = StyleOf(look.scheduleStyle, '0', '0');
    // A ToDo of a hidden category is still drawn, on a band of its own.
    applyCategory(DrawingFor(categories, TodoCategory(record)), band);
    band.text = TodoTitle(record);
    return band;
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

TodoIcon TodoIconFor(const Date& day, const Date& today, int warnTerm)
{
    if (day < today)
        return TodoIcon::Overdue;
    if (day == today)
        return TodoIcon::DueToday;
    if (day <= addDays(today, warnTerm))
        return TodoIcon::Warning;
    return TodoIcon::Normal;
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
    paint.today = cell.relation == MonthRelation::Current && date == today;
    cellColors(layout, look, column, row, paint);
    paint.dayText = text::formatInt(cell.day, 2);
    if (cell.showRokuyo)
        paint.rokuyo = RokuyoName(cell.rokuyo);

    for (const CellLine& line : lists.at(column, row)) {
        const char kind = line.kind();
        if (kind == '3')
            paint.underline = true;
        int flag = flagOfKind(kind);
        if (flag == 0 || !FlagOn(look.calView, flag))
            continue;
        std::optional<CellBand> band;
        if (kind == '3')
            band = scheduleBand(line, categories, look, paint.backColor);
        else if (kind == '8')
            band = todoBand(line, categories, look, paint.backColor);
        else
            band = holidayBand(line, look);
        if (band)
            paint.bands.push_back(std::move(*band));
    }
    paint.underline = paint.underline && look.underlineSchedules;
    paint.memoIcon = cell.mark == 1 || cell.mark == 3;
    if (cell.mark == 2 || cell.mark == 3)
        paint.todoIcon = TodoIconFor(date, today, look.warnTerm);
    return paint;
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
