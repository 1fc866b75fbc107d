#include "print/MonthPrint.h"

#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "settings/AppSettings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

std::string schedule(int day, const std::string& start, const std::string& category, const std::string& title,
                     const std::string& place = "", bool bold = false, bool underline = false)
{
    ScheduleFields f;
    f.day = day;
    f.start = start;
    f.category = sj(category);
    f.title = sj(title);
    f.place = sj(place);
    f.bold = bold;
    f.underline = underline;
    return ComposeSchedule(f);
}

std::string todo(const std::string& deadline, const std::string& category, const std::string& title)
{
    std::string category14 = sj(category);
    category14.resize(14, ' ');
    return deadline + "1000" + "2026/01/01" + category14 + "00" + sj(title);
}

// May 2026 with holidays, schedules in a coloured, a hidden and no category, and ToDo entries;
// today is 12 May.
struct MonthPrintFixture : ::testing::Test {
    TempFolder home;
    AppSettings settings;
    PrintSettings print;

    void SetUp() override
    {
        home.write("Holiday.dat", *files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat"));
        home.write("Category.tbl", crlf({sj("仕事          1 0000025516777215"), sj("非表示        0")}));
        home.write("202605.sch", crlf({schedule(4, "", "仕事", "朝会"), schedule(4, "09:30", "", "会議", "本社", true),
                                       schedule(4, "10:00", "非表示", "秘密"),
                                       schedule(12, "13:00", "", "歯医者", "", false, true)}));
        home.write("ToDo.dat", crlf({todo("2026/05/04", "仕事", "報告書")}));
        settings.calView = CalViewFlags({1, 1, 1, 1, 1, 1, 1, 1, 0});
    }

    MonthPage page(WeekStart weekStart = WeekStart::Sunday) const
    {
        MonthBuildInput input =
            MonthBuildInputFrom(settings, 2026, 5, Date{2026, 5, 12}, files::loadLines(home.file("ToDo.dat")));
        input.weekStart = weekStart;
        input.dataPath = home.path();
        input.memoPath = home.path();
        const MonthBuild build = BuildMonth(input);
        return ComposeMonthPage(
            MakePrintSource(build, CategoryTable::Load(home.file("Category.tbl")), settings, Date{2026, 5, 12}), print);
    }
    PrintedCell cell(const MonthPage& p, int day) const
    {
        const MonthLayout& layout = p.source.build.layout;
        const int column = layout.currentColumn[static_cast<std::size_t>(day)];
        return PrintCell(p, column, layout.currentRow[static_cast<std::size_t>(day)], column == 0);
    }
    static std::vector<std::string> texts(const PrintedCell& c)
    {
        std::vector<std::string> out;
        for (const PrintLine& line : c.lines)
            out.push_back(sjis::toUtf8(line.text));
        return out;
    }
};

} // namespace

TEST_F(MonthPrintFixture, WithoutTheWeekendMondayToFridayPrintUnderBothWeekStarts)
{
    print.noWeekend = true;
    for (WeekStart start : {WeekStart::Sunday, WeekStart::Monday}) {
        SCOPED_TRACE(start == WeekStart::Sunday ? "Sunday start" : "Monday start");
        const MonthPage p = page(start);
        const std::vector<int> columns = PrintedColumns(start, true);
        ASSERT_EQ(columns.size(), 5u);
        EXPECT_EQ(columns.front(), start == WeekStart::Sunday ? 1 : 0);
        std::vector<std::string> names;
        for (int column : columns)
            names.push_back(sjis::toUtf8(PrintHeader(p, column).text));
        EXPECT_EQ(names, (std::vector<std::string>{"月曜日", "火曜日", "水曜日", "木曜日", "金曜日"}));
        // The first printed cell of row 1 is April 27 (Monday) and carries its month.
        EXPECT_EQ(PrintCell(p, columns.front(), 1, true).dayLabel, " 4/27");
    }
    settings.dateJap = 0;
    EXPECT_EQ(PrintHeader(page(), 1).text, "Mon");
    EXPECT_EQ(PrintedColumns(WeekStart::Sunday, false).size(), 7u);
}

TEST_F(MonthPrintFixture, OtherMonthDaysHiddenPlainOrLight)
{
    struct Case {
        OtherMonthPrint mode;
        bool drawn;
        ColorValue color;
    };
    for (const Case& c :
         {Case{OtherMonthPrint::Hidden, false, kPrintBlack}, Case{OtherMonthPrint::Plain, true, kPrintBlack},
          Case{OtherMonthPrint::Light, true, kPrintGrey}}) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        print.otherMonth = c.mode;
        const MonthPage p = page();
        const PrintedCell leading = PrintCell(p, 0, 1, true);
        EXPECT_EQ(leading.drawn, c.drawn);
        EXPECT_EQ(leading.dayColor, c.color);
        if (!c.drawn)
            continue;
        EXPECT_EQ(leading.dayLabel, " 4/26");
        EXPECT_EQ(leading.back, kPrintWhite);
        EXPECT_EQ(PrintCell(p, 1, 1, false).dayLabel, "27");
        // 29 April, Showa Day, in the same shade as its day.
        const PrintedCell showa = PrintCell(p, 3, 1, false);
        ASSERT_EQ(texts(showa), std::vector<std::string>{"昭和の日"});
        EXPECT_EQ(showa.lines[0].color, c.color);
        // 1 June in row 6 carries its month; 2 June does not.
        EXPECT_EQ(PrintCell(p, 1, 6, false).dayLabel, " 6/ 1");
        EXPECT_EQ(PrintCell(p, 2, 6, false).dayLabel, " 2");
        EXPECT_EQ(cell(p, 12).dayColor, kPrintBlack) << "the month's own days stay black";
    }
}

TEST_F(MonthPrintFixture, LinesInOrderWithPlaceInBracketsAndHiddenCategoriesLeftOut)
{
    print.place = true;
    print.todo = TodoPrint::Plain;
    const PrintedCell fourth = cell(page(), 4);
    EXPECT_EQ(texts(fourth), (std::vector<std::string>{"みどりの日", "朝会", "09:30 会議【本社】", "報告書"}));
    EXPECT_TRUE(fourth.lines[2].style.bold);
    EXPECT_FALSE(fourth.lines[3].style.underline);
    EXPECT_TRUE(cell(page(), 12).lines[0].style.underline) << "the line code of the record";

    print.place = false;
    settings.calView.set(CalViewFlag::StartTime, 0);
    EXPECT_EQ(texts(cell(page(), 4))[2], "会議") << "the screen's place flag does not print the place";
}

TEST_F(MonthPrintFixture, ToDoLinesFollowThePrintModeNotTheScreen)
{
    settings.calView.set(CalViewFlag::TodoTitle, 1);
    print.todo = TodoPrint::None;
    EXPECT_EQ(texts(cell(page(), 4)).size(), 3u);

    settings.calView.set(CalViewFlag::TodoTitle, 0);
    print.todo = TodoPrint::Underlined;
    PrintedCell fourth = cell(page(), 4);
    ASSERT_EQ(fourth.lines.size(), 4u);
    EXPECT_EQ(fourth.lines[3].kind, BandKind::Todo);
    EXPECT_TRUE(fourth.lines[3].style.underline);
    EXPECT_EQ(fourth.lines[3].color, kPrintBlack) << "a ToDo in a coloured category prints black";
    print.color = true;
    EXPECT_EQ(cell(page(), 4).lines[3].color, kPrintBlack);
}

TEST_F(MonthPrintFixture, ColourModeColoursHolidaysButNeverSchedulesOrToday)
{
    print.color = true;
    const MonthPage p = page();
    const PrintedCell holiday = cell(p, 4);
    EXPECT_EQ(holiday.back, settings.colors[ColHoliday].back);
    EXPECT_EQ(holiday.dayColor, settings.colors[ColHoliday].text);
    EXPECT_EQ(holiday.lines[0].color, settings.colors[ColHoliday].text);
    EXPECT_EQ(holiday.lines[1].color, kPrintBlack);
    EXPECT_EQ(holiday.rokuyoColor, settings.colors[ColRokuyo].text);
    EXPECT_EQ(cell(p, 12).back, settings.colors[ColWeekday].back) << "today is not coloured on paper";
    EXPECT_EQ(PrintHeader(p, 0).textColor, settings.colors[ColSunday].text);

    print.color = false;
    const MonthPage mono = page();
    EXPECT_EQ(cell(mono, 4).back, kPrintWhite);
    EXPECT_EQ(cell(mono, 4).lines[0].color, kPrintBlack);
    EXPECT_EQ(PrintHeader(mono, 0).textColor, kPrintBlack);
}

TEST_F(MonthPrintFixture, PageTextsAndTheMonthFromTheProgramFolder)
{
    print.title = sj("ggge\"年\"m\"月のスケジュール\"");
    print.date = sj("(なし)");
    const MonthPage p = page();
    EXPECT_EQ(sjis::toUtf8(p.title), "令和8年5月のスケジュール");
    EXPECT_TRUE(p.creationDate.empty());

    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n[View]\r\nStrWeek=1\r\n");
    PrintSourceLoad loaded = LoadPrintSource(home.path(), 2026, 5, Date{2026, 5, 12});
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.source.build.layout.weekStart, WeekStart::Monday);
    EXPECT_EQ(loaded.source.today, (Date{2026, 5, 12}));
    EXPECT_EQ(loaded.source.jobTitle, "Kalendra");

    home.write("Kalendra.ini", "[View]\r\nRikuyo=1\r\n");
    EXPECT_FALSE(LoadPrintSource(home.path(), 2026, 5, Date{2026, 5, 12}).ok);
}
