// Each flag of CalView, WeekView and Rikuyo switched on alone in the settings file, and what a
// day then shows: the day carries a holiday, a day off, an anniversary, a schedule, a memo and
// a ToDo entry. A flag that modifies the schedule's text is on with the schedules.
#include "calendar/CellPaint.h"
#include "calendar/MonthBuild.h"
#include "platform/SjisCodec.h"
#include "settings/AppSettings.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

const Date kDay{2026, 5, 20};

struct ViewFlagsFixture : ::testing::Test {
    TempFolder dir;

    void SetUp() override
    {
        dir.write("Holiday.dat",
                  crlf({sj(" 52020262026000祝日"), sj(" 52020262026001休日"), sj(" 52020262026002記念日")}));
        dir.write("202605.sch", crlf({plainScheduleLine(20, "10:00", "11:00", "会議", "本社")}));
        dir.write("20260520.mem", "memo\r\n");
        dir.write("ToDo.dat", "2026/05/2010002026/01/01" + std::string(14, ' ') + "00" + sj("報告") + "\r\n");
    }

    // What the day shows under these lines of the [View] section: its bands, marks and rokuyo.
    std::string shown(const std::vector<std::string>& view, bool week) const
    {
        std::vector<std::string> lines = {"[View]"};
        lines.insert(lines.end(), view.begin(), view.end());
        AppSettings settings;
        EXPECT_TRUE(readSettings(IniFile(dir.file("Kalendra.ini"), lines), dir.path(), settings).ok);
        const MonthBuild build = BuildMonth(MonthBuildInputFrom(settings, 2026, 5, Date{2026, 5, 12}));
        const CalendarLook look = CalendarLookFrom(settings);
        CellPos pos;
        EXPECT_TRUE(build.layout.find(kDay, pos));
        const CategoryTable none{std::vector<std::string>{}};
        const CellPaint cell = PaintCell(build.layout, build.lists, none, look, kDay, pos.column, pos.row);
        const std::vector<CellBand> bands =
            week ? PaintWeekDay(build.layout, build.lists, none, look, kDay, pos.column, pos.row).bands : cell.bands;
        std::string out;
        for (const CellBand& band : bands)
            out += sjis::toUtf8(band.text) + "|";
        out += std::string(cell.memoIcon ? "memo|" : "") + (cell.todoIcon != TodoIcon::None ? "todo|" : "");
        return out + sjis::toUtf8(cell.rokuyo);
    }
};

} // namespace

TEST_F(ViewFlagsFixture, EachMonthCellAndWeekDayFlagAloneShowsItsOwnContent)
{
    const char* const month[][2] = {
        {"000000000", ""},        {"100000000", "祝日|"},       {"010000000", "休日|"},
        {"001000000", "記念日|"}, {"000100000", "会議|"},       {"000010000", "memo|"},
        {"000001000", "todo|"},   {"000100100", "10:00 会議|"}, {"000100010", "会議(本社)|"},
        {"000000001", "報告|"}};
    for (const auto& c : month)
        EXPECT_EQ(shown({"Rikuyo=000000", std::string("CalView=") + c[0]}, false), c[1]) << c[0];
    // clang-format off
    const char* const week[][2] = {
        {"000000000", ""}, {"100000000", "祝日|"}, {"010000000", "休日|"}, {"001000000", "記念日|"},
        {"000100000", "会議|"}, {"000010000", ""}, {"000101000", "10:00 会議|"}, {"000100100", "-11:00 会議|"},
        {"000100010", "会議(本社)|"}, {"000000001", "報告|"}};
    // clang-format on
    for (const auto& c : week)
        EXPECT_EQ(shown({"Rikuyo=000000", "CalView=000000000", std::string("WeekView=") + c[0]}, true), c[1]) << c[0];
}

TEST_F(ViewFlagsFixture, EachRokuyoFlagAloneShowsOnlyItsName)
{
    // The flags follow the codes 1 to 6; only the day's own code shows its name.
    const int code = RokuyoOf(kDay.year, kDay.month, kDay.day);
    for (int flag = 1; flag <= 6; ++flag) {
        std::string rikuyo = "000000";
        rikuyo[static_cast<std::size_t>(flag - 1)] = '1';
        SCOPED_TRACE(rikuyo);
        EXPECT_EQ(shown({"CalView=000000000", "Rikuyo=" + rikuyo}, false),
                  flag == code ? sjis::toUtf8(RokuyoName(code)) : "");
    }
}
