// Every data file of a generated folder, the shipped holiday table and hand-made edge cases come
// back byte for byte through the columns of their kind, and every record through its parse and
// compose.
#include "DataGenerator.h"
#include "calendar/Holidays.h"
#include "platform/Files.h"
#include "schedule/Categories.h"
#include "schedule/ScheduleRecord.h"
#include "store/CategoryFile.h"
#include "store/HolidayFile.h"
#include "store/MonthFile.h"
#include "store/TodoFile.h"
#include "todo/TodoRecord.h"

#include <gtest/gtest.h>

#include <filesystem>

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
std::string categoryRecord(const std::string& line)
{
    using store::CategoryField;
    const auto& columns = store::kCategoryColumns;
    const char flag = columns.byte(line, CategoryField::Shown);
    // Composing writes the blank after the flag: only lines that have it come back unchanged.
    if ((flag != '0' && flag != '1') || columns.view(line, CategoryField::Blank) != " ")
        return line;
    return ConfirmedCategoryLine(line, flag == '1') + columns.get(line, CategoryField::Rest);
}
std::string same(const std::string& line)
{
    return line;
}

const Kind kHoliday{throughColumns<store::kHolidayColumns>, holidayRecord};
const Kind kMonth{throughColumns<store::kScheduleColumns>, scheduleRecord};
const Kind kTodo{throughColumns<store::kTodoColumns>, todoRecord};
const Kind kCategory{throughColumns<store::kCategoryColumns>, categoryRecord};
const Kind kPlain{same, same};

std::string roundTrip(const std::string& bytes, std::string (*through)(const std::string&))
{
    std::vector<std::string> lines = files::splitLines(bytes);
    for (std::string& line : lines)
        line = through(line);
    return files::joinLines(lines);
}

const Kind* kindOf(const std::string& name)
{
    if (name == "Holiday.dat")
        return &kHoliday;
    if (name == "ToDo.dat")
        return &kTodo;
    if (name == kCategoryFileName)
        return &kCategory;
    if (name.ends_with(".sch"))
        return &kMonth;
    return &kPlain;
}

} // namespace

TEST(CodecCorpus, EveryFileComesBackByteForByte)
{
    struct Case {
        std::string name;
        const Kind* kind;
        std::string bytes, expected, composed; // empty: the bytes themselves
    };
    const std::string sjisEdge = "\x81\x40\x9f\xfc\xe0\x40\xfc\xfc"; // first and last lead and trail bytes
    const std::string blanks26 = std::string(26, ' ').replace(0, 2, "15");
    const std::string title = std::string(39, 'a') + "\x82";            // its character ends in the place
    const std::string todo = "\x8a\xfa\x8c\xc0\x93\xfa\x82\xc8\x82\xb5" // 期限日なし
                             "10502026/12/01" +
                             std::string(14, ' ') + "07" + sjisEdge;
    std::vector<Case> cases = {
        {"garbage and short lines", &kHoliday, "x\r\n 1 1\r\n\r\n99 1    9999002" + sjisEdge + "\r\n", "", ""},
        {"LF and CR ends become CR LF", &kHoliday, " 1 1        000A\n 2 2        000B\r",
         " 1 1        000A\r\n 2 2        000B\r\n", " 1 1        000A\r\n 2 2        000B\r\n"},
        {"a short record without line end", &kMonth, "0110:0011:00", "0110:0011:00\r\n",
         "0110:0011:00" + std::string(14, ' ') + "0000\r\n"},
        // Composing fills a short record's fixed columns and drops a title's trailing blanks.
        {"a title ending in half a character", &kMonth, blanks26 + "0000" + title + "\xa0place\r\n", "", ""},
        {"a title with trailing blanks", &kMonth, blanks26 + "0000title   \r\n", "", blanks26 + "0000title\r\n"},
        {"an entry without deadline and without line end", &kTodo, todo, todo + "\r\n", todo + "\r\n"},
        {"an empty file", &kTodo, "", "", ""},
        {"categories short, unset, unreadable and with more after the colours", &kCategory,
         "Work\r\nHome          0 \r\n" + sjisEdge +
             "      1 0000025x        \r\nX             1 0000000100000002more\r\n",
         "", ""},
        {"a memo of blank lines", &kPlain, "\r\n \r\n\t\r\n", "", ""},
    };
    // A generated folder: a year of month files, the shipped holiday table, ToDo, memos and notes.
    const std::string folder = (std::filesystem::temp_directory_path() / "kalendra-corpus/").string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    gendata::DataShape shape;
    shape.years = 1;
    ASSERT_TRUE(
        gendata::GenerateData(folder, shape, KALENDRA_SOURCE_DIR "/data/Holiday.dat", gendata::unflushedFileOps()).ok);
    for (const std::string& name : files::listFiles(folder, "*"))
        cases.push_back({name, kindOf(name), files::readBytes(folder + name).value(), "", ""});
    std::filesystem::remove_all(folder);
    EXPECT_EQ(std::count_if(cases.begin(), cases.end(), [](const Case& c) { return c.kind == &kMonth; }), 12 + 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(roundTrip(c.bytes, c.kind->columns), c.expected.empty() ? c.bytes : c.expected);
        EXPECT_EQ(roundTrip(c.bytes, c.kind->record), c.composed.empty() ? c.bytes : c.composed);
    }
}
