#include "print/PrintSettings.h"

#include "platform/SjisCodec.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

PrintSettings decodeFile(const std::string& bytes)
{
    TempFolder home;
    home.write(kPrintSettingsFileName, bytes);
    return LoadPrintSettings(home.path());
}

} // namespace

TEST(PrintSettings, MissingFileGivesTheDefaultsAndABlackTitle)
{
    TempFolder home;
    const PrintSettings s = LoadPrintSettings(home.path());
    EXPECT_EQ(s.title, sj("yyyy\"年\"m\"月のスケジュール\""));
    EXPECT_EQ(s.date, "yyyy.mm.dd");
    EXPECT_EQ(s.titleFont, (FontSpec{"ＭＳ Ｐゴシック", 16, FontStyle::Bold, 0}));
    EXPECT_FALSE(s.titleHasColor);
    EXPECT_EQ(s.top + s.bottom + s.left + s.right, 80);
    EXPECT_EQ(s.fontSize, 9);
    EXPECT_EQ(s.orientation, PageOrientation::Portrait);
    EXPECT_FALSE(s.place);
    EXPECT_EQ(s.todo, TodoPrint::Underlined);
    EXPECT_EQ(s.otherMonth, OtherMonthPrint::Light);
    EXPECT_FALSE(s.noWeekend);
    EXPECT_FALSE(s.color);
    EXPECT_EQ(s.columns(), 7);
}

TEST(PrintSettings, ValuesOutsideTheirRangesAreClamped)
{
    struct Case {
        const char* file;
        int top, left, fontSize, titleSize;
        TodoPrint todo;
        OtherMonthPrint other;
    };
    const Case cases[] = {
        {"[Margin]\r\nTop=-5\r\nLeft=250\r\n[Option]\r\nFontSize=3\r\n", 0, 99, 8, 16, TodoPrint::Underlined,
         OtherMonthPrint::Light},
        {"[Option]\r\nFontSize=40\r\nToDo=7\r\nOtherMon=-1\r\n", 20, 20, 16, 16, TodoPrint::Underlined,
         OtherMonthPrint::Hidden},
        {"[Option]\r\nFontSize=abc\r\nToDo=1\r\nOtherMon=1\r\n[Title]\r\nTFont=x,500,0\r\n", 20, 20, 9, 72,
         TodoPrint::Plain, OtherMonthPrint::Plain},
        {"[Option]\r\nFontSize=$C\r\nToDo=0\r\n[Title]\r\nTFont=x,1,9\r\n", 20, 20, 12, 6, TodoPrint::None,
         OtherMonthPrint::Light},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const PrintSettings s = decodeFile(c.file);
        EXPECT_EQ(s.top, c.top);
        EXPECT_EQ(s.left, c.left);
        EXPECT_EQ(s.fontSize, c.fontSize);
        EXPECT_EQ(s.titleFont.size, c.titleSize);
        EXPECT_EQ(s.todo, c.todo);
        EXPECT_EQ(s.otherMonth, c.other);
    }
}

TEST(PrintSettings, SwitchesFollowTheStoredNumbers)
{
    const PrintSettings s = decodeFile("[Option]\r\nOrientation=2\r\nPlace=5\r\nSatSun=-1\r\nColor=x\r\n");
    EXPECT_EQ(s.orientation, PageOrientation::Portrait) << "only 1 is landscape";
    EXPECT_TRUE(s.place);
    EXPECT_TRUE(s.noWeekend);
    EXPECT_EQ(s.columns(), 5);
    EXPECT_FALSE(s.color) << "unreadable: the default";
    EXPECT_EQ(decodeFile("[Option]\r\nOrientation=1\r\n").orientation, PageOrientation::Landscape);
}

TEST(PrintSettings, TitleFontColourOnlyWhenTheListHasOne)
{
    const PrintSettings withColor = decodeFile("[Title]\r\nTFont=\"IPA Gothic\",20,3,255\r\n");
    EXPECT_EQ(withColor.titleFont, (FontSpec{"IPA Gothic", 20, FontStyle::BoldItalic, 255}));
    EXPECT_TRUE(withColor.titleHasColor);
    const PrintSettings without = decodeFile("[Title]\r\nTFont=Mincho,12,1\r\n");
    EXPECT_FALSE(without.titleHasColor);
    EXPECT_EQ(without.titleFont.color, 0);
    const PrintSettings blankName = decodeFile("[Title]\r\nTFont=,12\r\n");
    EXPECT_EQ(blankName.titleFont.name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(blankName.titleFont.size, 12);
}

TEST(PrintSettings, SaveWritesEveryKeyAndKeepsForeignLines)
{
    TempFolder home;
    home.write(kPrintSettingsFileName, "; mine\r\n[Other]\r\nKey=1\r\n");
    PrintSettings s;
    s.date = sj("(なし)");
    s.top = 5;
    s.right = 30;
    s.fontSize = 12;
    s.orientation = PageOrientation::Landscape;
    s.place = true;
    s.todo = TodoPrint::Plain;
    s.otherMonth = OtherMonthPrint::Hidden;
    s.noWeekend = true;
    s.color = true;
    ASSERT_TRUE(SavePrintSettings(home.path(), s));
    EXPECT_EQ(home.read(kPrintSettingsFileName), crlf({"; mine",
                                                       "[Other]",
                                                       "Key=1",
                                                       "[Title]",
                                                       sj("Title=yyyy\"年\"m\"月のスケジュール\""),
                                                       sj("TFont=\"ＭＳ Ｐゴシック\",16,2,0"),
                                                       sj("Date=(なし)"),
                                                       "[Margin]",
                                                       "Top=5",
                                                       "Bottom=20",
                                                       "Left=20",
                                                       "Right=30",
                                                       "[Option]",
                                                       "FontSize=12",
                                                       "Orientation=1",
                                                       "Place=1",
                                                       "ToDo=1",
                                                       "OtherMon=0",
                                                       "SatSun=1",
                                                       "Color=1"}));

    const PrintSettings back = LoadPrintSettings(home.path());
    EXPECT_EQ(back.title, s.title);
    EXPECT_EQ(back.titleFont, s.titleFont);
    EXPECT_TRUE(back.titleHasColor);
    EXPECT_FALSE(back.hasCreationDate());
    EXPECT_EQ(back.top, 5);
    EXPECT_EQ(back.right, 30);
    EXPECT_EQ(back.fontSize, 12);
    EXPECT_EQ(back.orientation, PageOrientation::Landscape);
    EXPECT_EQ(back.todo, TodoPrint::Plain);
    EXPECT_EQ(back.otherMonth, OtherMonthPrint::Hidden);
    EXPECT_TRUE(back.place && back.noWeekend && back.color);
}

TEST(PrintSettings, SaveIntoAMissingFolderFailsWithAReason)
{
    TempFolder home;
    files::IoResult saved = SavePrintSettings(home.path() + "missing/", PrintSettings{});
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.reason.empty());
}

TEST(PrintSettings, TitleAndCreationDateTexts)
{
    PrintSettings s;
    EXPECT_EQ(sjis::toUtf8(PageTitleText(s, 2026, 5)), "2026年5月のスケジュール");
    s.title = sj("ggge\"年\"m\"月のスケジュール\"");
    EXPECT_EQ(sjis::toUtf8(PageTitleText(s, 2026, 5)), "令和8年5月のスケジュール");
    EXPECT_EQ(CreationDateText(s, Date{2026, 12, 8}), "2026.12.08");
    s.date = sj("\"作成日: \"yyyy\"年\"mm\"月\"dd\"日\"");
    EXPECT_EQ(sjis::toUtf8(CreationDateText(s, Date{2026, 12, 8})), "作成日: 2026年12月08日");
    s.date = sj("(なし)");
    EXPECT_EQ(CreationDateText(s, Date{2026, 12, 8}), "");
}
