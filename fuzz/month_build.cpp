// The month build over month files, a holiday table and ToDo lines that are garbage: it must
// finish, and every schedule line it shows is one of the file's lines.
#include "FuzzSupport.h"
#include "calendar/MonthBuild.h"
#include "schedule/ScheduleRecord.h"

#include <fstream>
#include <unistd.h>

namespace {

const std::string& folder()
{
    static const std::string path = [] {
        std::string pattern = "/tmp/kalendra-fuzz-XXXXXX";
        return std::string(::mkdtemp(pattern.data())) + "/";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    // Three files of a few kilobytes each are plenty; larger inputs only slow the search down.
    if (size > 16384)
        return 0;
    std::string input = fuzz::bytesOf(data, size);
    MonthBuildInput in;
    in.year = 2000 + fuzz::takeNumber(input, 50);
    in.month = 1 + fuzz::takeNumber(input, 12);
    in.weekStart = fuzz::takeNumber(input, 2) ? WeekStart::Monday : WeekStart::Sunday;
    in.today = Date{in.year, in.month, 1 + fuzz::takeNumber(input, 28)};
    Flags allOn;
    allOn.fill(1);
    in.calView = CalViewFlags(allOn);
    in.rikuyo = RokuyoFlags(allOn);
    in.dataPath = in.memoPath = folder();
    // The input is split three ways: the month file, Holiday.dat and the ToDo lines.
    const std::size_t third = input.size() / 3;
    std::ofstream(MonthFilePath(folder(), in.year, in.month), std::ios::binary) << input.substr(0, third);
    std::ofstream(folder() + "Holiday.dat", std::ios::binary) << input.substr(third, third);
    in.todoLines = files::splitLines(input.substr(2 * third));

    const MonthBuild build = BuildMonth(in);
    const std::vector<std::string> monthLines = LoadMonthFile(MonthFilePath(folder(), in.year, in.month));
    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column)
            for (const CellLine& line : build.lists.at(column, row))
                if (line.kind() == '3' && line.file() == MonthFilePath(folder(), in.year, in.month))
                    FUZZ_CHECK(line.lineIndex >= 0 && static_cast<std::size_t>(line.lineIndex) < monthLines.size() &&
                               monthLines[static_cast<std::size_t>(line.lineIndex)] == line.body());
    return 0;
}
