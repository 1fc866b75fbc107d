// The data generator: what it writes is what the program reads back as records, in the amounts
// asked for, so the benchmarks measure the work they claim to.
#include "DataGenerator.h"
#include "memo/DayMemo.h"
#include "memo/Note.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoRecord.h"
#include "todo/TodoStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace kal;

namespace {

struct Folder {
    std::string path;
    Folder()
    {
        path = (std::filesystem::temp_directory_path() / "kalendra-gendata-XXXXXX").string();
        if (!::mkdtemp(path.data()))
            std::abort();
        path += "/";
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

} // namespace

TEST(DataGenerator, WritesRecordsTheProgramReads)
{
    struct Case {
        int years, perMonth, memosPerYear, todos;
    };
    const Case cases[] = {{1, 50, 24, 100}, {1, 3, 40, 0}, {2, 0, 0, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.years << " years, " << c.perMonth << " a month");
        Folder folder;
        gendata::DataShape shape;
        shape.firstYear = 2020;
        shape.years = c.years;
        shape.schedulesPerMonth = c.perMonth;
        shape.memosPerYear = c.memosPerYear;
        shape.todoEntries = c.todos;
        const auto result = gendata::GenerateData(folder.path, shape, KALENDRA_SOURCE_DIR "/data/Holiday.dat",
                                                  gendata::unflushedFileOps());
        ASSERT_TRUE(result.ok) << result.reason;

        for (int year = 2020; year < 2020 + c.years; ++year)
            for (int month = 1; month <= 12; ++month) {
                const std::vector<std::string> lines = LoadMonthFile(MonthFilePath(folder.path, year, month));
                // The repeating meetings alone exceed a small monthly count.
                EXPECT_GE(static_cast<int>(lines.size()), std::max(c.perMonth, 5));
                EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), IsScheduleRecord));
                std::vector<std::string> sorted = lines;
                text::sortNoCase(sorted);
                EXPECT_EQ(sorted, lines);
            }
        EXPECT_FALSE(files::fileExists(MonthFilePath(folder.path, 2020 + c.years, 1)));

        const auto memos = files::listFiles(folder.path, "*.mem");
        int expectedMemos = 0;
        for (int year = 2020; year < 2020 + c.years; ++year)
            expectedMemos += std::min(c.memosPerYear, isLeapYear(year) ? 366 : 365);
        EXPECT_EQ(static_cast<int>(memos.size()), expectedMemos);
        EXPECT_TRUE(std::all_of(memos.begin(), memos.end(), [](const std::string& n) { return MemoFileDate(n); }));

        const std::vector<std::string> todos = files::loadLines(TodoFilePath(folder.path));
        EXPECT_EQ(static_cast<int>(todos.size()), c.todos);
        EXPECT_TRUE(std::all_of(todos.begin(), todos.end(), IsTodoRecord));
        EXPECT_EQ(LoadNoteList(folder.path).list.titles.size(), 5u);
        EXPECT_EQ(files::readBytes(folder.path + "Holiday.dat"),
                  files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat"));
    }
}

TEST(DataGenerator, ReportsTheFileItCouldNotWrite)
{
    gendata::DataShape shape;
    shape.years = 1;
    const auto missingTable =
        gendata::GenerateData("/nonexistent-kalendra/", shape, "/nonexistent-table", gendata::unflushedFileOps());
    EXPECT_FALSE(missingTable.ok);
    EXPECT_NE(missingTable.reason.find("/nonexistent-table"), std::string::npos);
    const auto missingFolder = gendata::GenerateData(
        "/nonexistent-kalendra/", shape, KALENDRA_SOURCE_DIR "/data/Holiday.dat", gendata::unflushedFileOps());
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_NE(missingFolder.reason.find("/nonexistent-kalendra/"), std::string::npos);
}
