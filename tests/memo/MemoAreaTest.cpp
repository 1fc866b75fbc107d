#include "memo/MemoArea.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

TEST(MemoArea, TitleIsTheDateFormatWhateverItsQuotesAndLetters)
{
    const Date day{2024, 3, 5};
    struct Case {
        std::string mTitle;
        std::string title;
    };
    const Case cases[] = {
        {"", "2024/03/05"},
        {sj("yyyy/m/d \"のメモ\""), sj("2024/3/5 のメモ")},
        {sj("yyyy\"年\"m\"月\"d\"日（\"aaa\"）のメモ\""), sj("2024年3月5日（火）のメモ")},
        {sj("メモ"), sj("メモ")},
        {sj("\"閉じない引用 yyyy"), sj("閉じない引用 yyyy")},
        {"'", "'"}, // the formatting gives nothing: MTitle itself
        {"\"\"", "\"\""},
        {"qwx yyyy", "qwx 2024"},
        {std::string("yyyy\x81"), std::string("2024\x81")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mTitle);
        EXPECT_EQ(MemoAreaTitle(c.mTitle, day), c.title);
    }
}

TEST(MemoArea, ShownByTheMemoSetting)
{
    EXPECT_EQ(MemoAreaModeOf(0), MemoAreaMode::WhenMemo);
    EXPECT_EQ(MemoAreaModeOf(1), MemoAreaMode::Always);
    EXPECT_EQ(MemoAreaModeOf(2), MemoAreaMode::Never);
    EXPECT_EQ(MemoAreaModeOf(7), MemoAreaMode::Always);
    EXPECT_TRUE(MemoAreaShown(MemoAreaMode::Always, false, 0));
    EXPECT_FALSE(MemoAreaShown(MemoAreaMode::Never, true, 3));
    EXPECT_FALSE(MemoAreaShown(MemoAreaMode::WhenMemo, false, 0));
    EXPECT_FALSE(MemoAreaShown(MemoAreaMode::WhenMemo, true, 0)) << "an empty file shows no area";
    EXPECT_TRUE(MemoAreaShown(MemoAreaMode::WhenMemo, true, 1));
}

TEST(MemoArea, EditorFilesCaptionsAndStartingText)
{
    TempFolder memo;
    const MemoEditorTarget day{MemoEditorMode::DayMemo, memo.path(), {2024, 3, 5}, {}};
    const MemoEditorTarget templ{MemoEditorMode::Template, memo.path(), {}, {}};
    const MemoEditorTarget note{MemoEditorMode::Note, memo.path(), {}, sj("日記")};
    EXPECT_EQ(MemoEditorFile(day), memo.file("20240305.mem"));
    EXPECT_EQ(MemoEditorFile(templ), memo.file("Memotemp.txt"));
    EXPECT_EQ(MemoEditorFile(note), memo.file("日記.not"));
    EXPECT_EQ(MemoEditorCaption(templ), "メモテンプレートの編集");
    EXPECT_EQ(MemoEditorCaption(note), "「日記」の編集");
    EXPECT_EQ(MemoEditorCaption(day), "");
    EXPECT_EQ(DayMemoCaption({2024, 3, 5}), "2024年3月5日のメモ");

    EXPECT_TRUE(MemoEditorStartLines(day).empty());
    memo.write("Memotemp.txt", crlf({sj("■予定"), sj("■反省")}));
    EXPECT_EQ(MemoEditorStartLines(day), (std::vector<std::string>{sj("■予定"), sj("■反省")}));
    EXPECT_TRUE(MemoEditorStartLines(note).empty()) << "only a day memo starts from the template";
    memo.write("20240305.mem", crlf({"own"}));
    EXPECT_EQ(MemoEditorStartLines(day), std::vector<std::string>{"own"});
}
