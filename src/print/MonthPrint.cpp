#include "print/MonthPrint.h"

#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "settings/AppSettings.h"
#include "todo/TodoRecord.h"

namespace kal {
namespace {

// A date no cell of a month can hold: paper shows no today.
constexpr Date kNoToday{0, 1, 1};

bool lightCell(const MonthPage& page, const DayCell& cell)
{
    return cell.relation != MonthRelation::Current && page.settings.otherMonth == OtherMonthPrint::Light;
}

// The screen's decisions with the print's own switches: the place in 【】 when asked for, ToDo
// lines by the print's ToDo mode, other months by the print's mode.
CalendarLook printLook(const MonthPage& page)
{
    CalendarLook look = page.source.look;
    look.otherMonth = page.settings.otherMonth != OtherMonthPrint::Hidden;
    look.calView.set(CalViewFlag::Place, page.settings.place ? 1 : 0);
    look.calView.set(CalViewFlag::TodoTitle, page.settings.todo != TodoPrint::None ? 1 : 0);
    look.placeOpen = KAL_SJIS("【");
    look.placeClose = KAL_SJIS("】");
    return look;
}

std::string dayLabel(const MonthLayout& layout, const DayCell& cell, bool firstOfRowOne)
{
    const std::string day = text::formatInt(cell.day, 2);
    if (cell.relation == MonthRelation::Previous && firstOfRowOne)
        return text::formatInt(layout.prevMonth, 2) + "/" + day;
    if (cell.relation == MonthRelation::Next && cell.day == 1)
        return text::formatInt(layout.nextMonth, 2) + "/" + day;
    return day;
}

ColorValue lineColor(const MonthPage& page, const CellBand& band, bool light)
{
    if (light)
        return kPrintGrey;
    if (page.settings.color && band.kind == BandKind::Holiday)
        return band.textColor;
    return kPrintBlack;
}

} // namespace

PrintSource MakePrintSource(const MonthBuild& build, const CategoryTable& categories, const AppSettings& settings,
                            const Date& today)
{
    PrintSource source;
    source.build = build;
    source.categories = categories;
    source.look = CalendarLookFrom(settings);
    source.dayFont = settings.fonts[FontDay];
    source.scheduleFont = settings.fonts[FontSch];
    source.today = today;
    source.jobTitle = settings.title;
    return source;
}

PrintSourceLoad LoadPrintSource(const std::string& programFolder, int year, int month, const Date& today,
                                ExtraSchedules* extras)
{
    PrintSourceLoad load;
    IniFile ini(SettingsPath(programFolder));
    ini.load();
    AppSettings settings;
    if (SettingsLoadResult loaded = readSettings(ini, programFolder, settings); !loaded.ok) {
        load.ok = false;
        load.why = loaded.detail;
        return load;
    }
    MonthBuildInput input = MonthBuildInputFrom(settings, year, month, today);
    input.extras = extras;
    const CategoryTable categories = CategoryTable::Load(files::withSeparator(programFolder) + kCategoryFileName);
    load.source = MakePrintSource(BuildMonth(input), categories, settings, today);
    return load;
}

MonthPage ComposeMonthPage(PrintSource source, PrintSettings settings)
{
    MonthPage page;
    page.title = PageTitleText(settings, source.build.layout.year, source.build.layout.month);
    page.creationDate = CreationDateText(settings, source.today);
    page.source = std::move(source);
    page.settings = std::move(settings);
    return page;
}

std::vector<int> PrintedColumns(WeekStart weekStart, bool noWeekend)
{
    if (!noWeekend)
        return {0, 1, 2, 3, 4, 5, 6};
    // Monday to Friday: after Sunday's column with a Sunday start, from the first column with
    // a Monday start.
    return weekStart == WeekStart::Sunday ? std::vector<int>{1, 2, 3, 4, 5} : std::vector<int>{0, 1, 2, 3, 4};
}

PrintedCell PrintCell(const MonthPage& page, int column, int row, bool firstPrinted)
{
    const MonthLayout& layout = page.source.build.layout;
    const CalendarLook look = printLook(page);
    const CellPaint paint =
        PaintCell(layout, page.source.build.lists, page.source.categories, look, kNoToday, column, row);
    PrintedCell cell;
    cell.drawn = paint.drawn;
    if (!paint.drawn)
        return cell;
    const DayCell& day = layout.cell(column, row);
    const bool light = lightCell(page, day);
    if (page.settings.color) {
        cell.back = paint.backColor;
        cell.dayColor = paint.textColor;
        cell.rokuyoColor = look.textColor[ColRokuyo];
    } else if (light) {
        cell.dayColor = kPrintGrey;
        cell.rokuyoColor = kPrintGrey;
    }
    cell.dayLabel = dayLabel(layout, day, row == 1 && firstPrinted);
    cell.rokuyo = paint.rokuyo;
    cell.almanac = paint.almanac;
    for (const CellBand& band : paint.bands) {
        PrintLine line;
        line.kind = band.kind;
        line.text = band.text;
        line.color = lineColor(page, band, light);
        line.style = band.style;
        if (band.kind == BandKind::Todo)
            line.style.underline = page.settings.todo == TodoPrint::Underlined;
        cell.lines.push_back(std::move(line));
    }
    return cell;
}

HeaderPaint PrintHeader(const MonthPage& page, int column)
{
    HeaderPaint header = PaintHeader(page.source.build.layout, page.source.look, column, HeaderForm::Long);
    if (!page.settings.color)
        header.textColor = kPrintBlack;
    return header;
}

} // namespace kal
