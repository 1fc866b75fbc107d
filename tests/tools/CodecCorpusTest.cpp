// Every data file of a generated folder, the shipped holiday table and hand-made edge cases come
// back byte for byte through the columns of their kind, and every record through its parse and
// compose.
#include "DataGenerator.h"
#include "calendar/Holidays.h"
#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"
#include "store/HolidayFile.h"
#include "store/MonthFile.h"
#include "store/TodoFile.h"
#include "todo/TodoRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kal;

namespace {

// A line through its columns, and a record through its fields (an unparsed line stays as it is).
struct Kind {
    std::string (*columns)(const std::string&);
    std::string (*record)(const std::string&);
};

template <const auto& Layout> std::string throughColumns(const std::string& line)
{
    return Layout.join(Layout.split(line));
}
std::string holidayRecord(const std::string& line)
{
    const auto rule = ParseHolidayRule(line);
    return rule ? ComposeHolidayRule(*rule) : line;
}
std::string scheduleRecord(const std::string& line)
{
    return IsScheduleRecord(line) ? ComposeSchedule(ReadSchedule(line)) : line;
}
std::string todoRecord(const std::string& line)
{
    const auto fields = ParseTodo(line);
    return fields ? ComposeTodo(*fields) : line;
}
std::string same(const std::string& line)
{
    return line;
}

const Kind kHoliday{throughColumns<store::kHolidayColumns>, holidayRecord};
const Kind kMonth{throughColumns<store::kScheduleColumns>, scheduleRecord};
const Kind kTodo{throughColumns<store::kTodoColumns>, todoRecord};
const Kind kPlain{same, same};

std::string roundTrip(const std::string& bytes, std::string (*through)(const std::string&))
{
    std::vector<std::string> lines = files::splitLines(bytes);
    for (std::string& line : lines)
        line = through(line);
    return files::joinLines(lines);
}

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const Kind* kindOf(const std::string& name)
{
    if (name == "Holiday.dat")
        return &kHoliday;
    if (name == "ToDo.dat")
        return &kTodo;
    if (name.ends_with(".sch"))
        return &kMonth;
    return &kPlain;
}

} // namespace

TEST(CodecCorpus, GeneratedAndShippedFilesComeBackByteForByte)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kalendra-corpus";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    gendata::DataShape shape;
    shape.years = 1;
    ASSERT_TRUE(gendata::GenerateData(folder.string() + "/", shape, KALENDRA_SOURCE_DIR "/data/Holiday.dat",
                                      gendata::unflushedFileOps())
                    .ok);
    int kinds[3] = {};
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string(), bytes = readAll(entry.path());
        const Kind* kind = kindOf(name);
        SCOPED_TRACE(name);
        EXPECT_EQ(roundTrip(bytes, kind->columns), bytes);
        EXPECT_EQ(roundTrip(bytes, kind->record), bytes);
        kinds[0] += kind == &kHoliday, kinds[1] += kind == &kTodo, kinds[2] += kind == &kMonth;
    }
    std::filesystem::remove_all(folder);
    EXPECT_EQ(kinds[0], 1);
    EXPECT_EQ(kinds[1], 1);
    EXPECT_EQ(kinds[2], 12);
}

TEST(CodecCorpus, EdgeCasesKeepTheirBytes)
{
    struct Case {
        const char* name;
        const Kind& kind;
        std::string bytes, expected, composed; // empty: the bytes themselves
    };
    const std::string sjisEdge = "\x81\x40\x9f\xfc\xe0\x40\xfc\xfc"; // first and last lead and trail bytes
    const std::string blanks26 = std::string(26, ' ').replace(0, 2, "15");
    const std::string title = std::string(39, 'a') + "\x82"; // its character ends in the place
    const Case cases[] = {
        {"empty file", kHoliday, "", "", ""},
        {"garbage and short lines", kHoliday, "x\r\n 1 1\r\n\r\n99 1    9999002" + sjisEdge + "\r\n", "", ""},
        {"LF and CR ends become CR LF", kHoliday, " 1 1        000A\n 2 2        000B\r",
         " 1 1        000A\r\n 2 2        000B\r\n", " 1 1        000A\r\n 2 2        000B\r\n"},
        {"a last line without end", kMonth, "0110:0011:00", "0110:0011:00\r\n", "0110:0011:00\r\n"},
        // Composing pads the cut character with a blank and drops a title's trailing blanks.
        {"a title cut inside a double-byte character", kMonth, blanks26 + "0000" + title + "\xa0place\r\n", "",
         blanks26 + "0000" + std::string(39, 'a') + " \xa0place\r\n"},
        {"a title with trailing blanks", kMonth, blanks26 + "0000title   \r\n", "", blanks26 + "0000title\r\n"},
        {"an entry of another layout", kTodo, "2026/13/01000000000/00/00" + std::string(16, ' ') + "\r\n", "", ""},
        {"an entry without deadline", kTodo,
         "\x8a\xfa\x8c\xc0\x93\xfa\x82\xc8\x82\xb5"
         "1050"
         "2026/12/01" +
             std::string(14, ' ') + "07" + sjisEdge + "\r\n",
         "", ""},
        {"a memo of blank lines", kPlain, "\r\n \r\n\t\r\n", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(roundTrip(c.bytes, c.kind.columns), c.expected.empty() ? c.bytes : c.expected);
        EXPECT_EQ(roundTrip(c.bytes, c.kind.record), c.composed.empty() ? c.bytes : c.composed);
    }
}
