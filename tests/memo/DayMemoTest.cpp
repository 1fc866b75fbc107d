#include "memo/DayMemo.h"
#include "support/FileTimes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

TEST(DayMemo, FileNamesAndTheirDays)
{
    EXPECT_EQ(MemoFileName({2024, 3, 5}), "20240305.mem");
    EXPECT_EQ(MemoFilePath("/m", {1900, 1, 1}), "/m/19000101.mem");
    EXPECT_EQ(MemoFilePath("/m/", {2099, 12, 31}), "/m/20991231.mem");

    struct Case {
        const char* name;
        std::optional<Date> date;
    };
    const Case cases[] = {
        {"20240305.mem", Date{2024, 3, 5}}, {"20240229.mem", Date{2024, 2, 29}}, {"20230229.mem", std::nullopt},
        {"20241301.mem", std::nullopt},     {"2024035.mem", std::nullopt},       {"2024030a.mem", std::nullopt},
        {"20240305.MEM", std::nullopt},     {"20240305.sch", std::nullopt},      {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MemoFileDate(c.name).has_value(), c.date.has_value());
        if (c.date && MemoFileDate(c.name)) {
            EXPECT_EQ(*MemoFileDate(c.name), *c.date);
        }
    }
}

TEST(DayMemo, EmptyMemoIsAtMostOneBlankLine)
{
    EXPECT_TRUE(store::IsEmptyMemo({}));
    EXPECT_TRUE(store::IsEmptyMemo({""}));
    EXPECT_TRUE(store::IsEmptyMemo({"   \t "}));
    EXPECT_FALSE(store::IsEmptyMemo({"", ""}));
    EXPECT_FALSE(store::IsEmptyMemo({" x "}));
    EXPECT_FALSE(store::IsEmptyMemo({sj("　")})) << "a full-width blank is text";
}

TEST(DayMemo, SaveWritesCrLfLinesAndAnEmptyMemoDeletesTheFile)
{
    TempFolder memo;
    const Date day{2024, 3, 5};
    EXPECT_FALSE(DayMemoExists(memo.path(), day));
    EXPECT_TRUE(LoadDayMemo(memo.path(), day).empty());

    ASSERT_TRUE(SaveDayMemo(memo.path(), day, {sj("買い物"), "", "milk"}));
    EXPECT_EQ(memo.read("20240305.mem"), crlf({sj("買い物"), "", "milk"}));
    EXPECT_TRUE(DayMemoExists(memo.path(), day));
    EXPECT_EQ(LoadDayMemo(memo.path(), day), (std::vector<std::string>{sj("買い物"), "", "milk"}));

    ASSERT_TRUE(SaveDayMemo(memo.path(), day, {"    "}));
    EXPECT_FALSE(memo.exists("20240305.mem")) << "a spaces-only memo deletes the file";
    EXPECT_TRUE(SaveDayMemo(memo.path(), day, {})) << "deleting what is not there is no error";
    EXPECT_TRUE(DeleteDayMemo(memo.path(), day));
}

TEST(DayMemo, ParsingKeepsEveryLineWhateverItsEnd)
{
    EXPECT_EQ(store::ParseMemoText("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(store::ParseMemoText(std::string("x\0y\r\n\xFF\x81", 7)),
              (std::vector<std::string>{std::string("x\0y", 3), "\xFF\x81"}));
    EXPECT_TRUE(store::ParseMemoText("").empty());
}

TEST(DayMemo, RangeReadsOnlyTheDaysAskedForInDateOrder)
{
    TempFolder memo;
    memo.write("20240301.mem", "first\r\n");
    memo.write("20240229.mem", "leap\r\n");
    memo.write("20240315.mem", "later\r\nsecond line\r\n");
    memo.write("20240401.mem", "outside\r\n");
    memo.write("20240399.mem", "not a day\r\n");
    memo.write("Memotemp.txt", "template\r\n");

    std::vector<DayMemoText> memos = LoadDayMemos(memo.path(), {2024, 3, 1}, {2024, 3, 31});
    ASSERT_EQ(memos.size(), 2u);
    EXPECT_EQ(memos[0].date, (Date{2024, 3, 1}));
    EXPECT_EQ(memos[0].lines, std::vector<std::string>{"first"});
    EXPECT_EQ(memos[1].date, (Date{2024, 3, 15}));
    EXPECT_EQ(memos[1].lines, (std::vector<std::string>{"later", "second line"}));
    EXPECT_EQ(LoadDayMemos(memo.path(), {2024, 2, 29}, {2024, 2, 29}).size(), 1u);
    EXPECT_TRUE(LoadDayMemos(memo.path(), {2024, 3, 31}, {2024, 3, 1}).empty());
    EXPECT_TRUE(LoadDayMemos(memo.file("missing/"), {1900, 1, 1}, {2099, 12, 31}).empty());

    // Over years the folder is listed instead; the answer is the same.
    std::vector<DayMemoText> all = LoadDayMemos(memo.path(), {1900, 1, 1}, {2099, 12, 31});
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].date, (Date{2024, 2, 29}));
    EXPECT_EQ(all[3].date, (Date{2024, 4, 1}));
    EXPECT_EQ(all[2].lines, memos[1].lines);
}

TEST(DayMemo, LineEditsWriteOnlyWhenTheLineIsStillTheOneShown)
{
    TempFolder memo;
    const std::string path = memo.file("20240305.mem");
    memo.write("20240305.mem", crlf({"one", "two", "three"}));

    MemoLineResult replaced = ReplaceMemoLine(path, 1, "two", sj("二"));
    EXPECT_TRUE(replaced.ok());
    EXPECT_EQ(memo.read("20240305.mem"), crlf({"one", sj("二"), "three"}));

    struct Refusal {
        const char* what;
        int index;
        const char* shown;
        store::EditStatus status;
    };
    const Refusal refusals[] = {
        {"changed meanwhile", 1, "two", store::EditStatus::Changed},
        {"index past the end", 3, "three", store::EditStatus::Changed},
        {"negative index", -1, "one", store::EditStatus::Changed},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(ReplaceMemoLine(path, r.index, r.shown, "x").status, r.status);
        EXPECT_EQ(DeleteMemoLine(path, r.index, r.shown).status, r.status);
        EXPECT_EQ(memo.read("20240305.mem"), crlf({"one", sj("二"), "three"}));
    }

    EXPECT_TRUE(DeleteMemoLine(path, 0, "one").ok());
    MemoLineResult second = DeleteMemoLine(path, 0, sj("二"));
    EXPECT_TRUE(second.ok());
    EXPECT_FALSE(second.fileDeleted);
    EXPECT_EQ(memo.read("20240305.mem"), crlf({"three"}));

    MemoLineResult last = DeleteMemoLine(path, 0, "three");
    EXPECT_TRUE(last.ok());
    EXPECT_TRUE(last.fileDeleted);
    EXPECT_FALSE(memo.exists("20240305.mem")) << "the last line deleted takes the file with it";
    EXPECT_TRUE(DeleteMemoLine(path, 0, "three").missing);
    EXPECT_TRUE(ReplaceMemoLine(path, 0, "three", "x").missing);
    EXPECT_FALSE(memo.exists("20240305.mem")) << "a missing memo is never created by a line edit";
}

TEST(DayMemo, ReplacingTheOnlyLineWithBlanksEmptiesTheMemo)
{
    TempFolder memo;
    memo.write("20240305.mem", crlf({"only"}));
    MemoLineResult result = ReplaceMemoLine(memo.file("20240305.mem"), 0, "only", "  ");
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.fileDeleted);
    EXPECT_FALSE(memo.exists("20240305.mem"));
}

TEST(DayMemo, MemosOfDaysFollowTheFolder)
{
    using kal::test::setModifiedAgo;
    const Date first{2026, 11, 29};
    struct Case {
        const char* what;
        int changedDay; // offset from `first` of the memo added or removed
        bool add;
        int folderSecondsAgo; // the folder's time after the change; 0 keeps it just changed
    };
    const Case cases[] = {
        {"added, folder dated back", 3, true, 500},
        {"added, folder just changed", 41, true, 0},
        {"removed, folder dated back", 10, false, 500},
        {"removed, folder dated back to its old time", 10, false, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        folder.write(MemoFileName(addDays(first, 10)), "memo\r\n");
        setModifiedAgo(folder.path(), 1000);
        std::vector<bool> before = DayMemosExist(folder.path(), first, 42);
        ASSERT_EQ(before.size(), 42u);
        EXPECT_TRUE(before[10]);
        EXPECT_EQ(std::count(before.begin(), before.end(), true), 1);

        const std::string changed = MemoFileName(addDays(first, c.changedDay));
        if (c.add)
            folder.write(changed, "new\r\n");
        else
            ASSERT_TRUE(files::deleteFile(folder.file(changed)));
        if (c.folderSecondsAgo > 0)
            setModifiedAgo(folder.path(), c.folderSecondsAgo);

        std::vector<bool> after = DayMemosExist(folder.path(), first, 42);
        for (int day = 0; day < 42; ++day)
            EXPECT_EQ(after[static_cast<std::size_t>(day)], DayMemoExists(folder.path(), addDays(first, day)))
                << "day " << day;
    }
}
