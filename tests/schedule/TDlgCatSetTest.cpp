// The category dialog, offscreen with the fake platform: what it shows, what each button does
// to the rows, and what "登録" writes.
#include "schedule/TDlgCatSet.h"

#include "platform/ByteText.h"
#include "platform/qt/QtText.h"
#include "schedule/Categories.h"
#include "schedule/qt/CategoryItemDelegate.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace kal;
using namespace kal::test;

namespace {

// Also keeps the default text each input box was opened with.
struct RecordingPlatform : FakePlatform {
    std::vector<std::string> inputInitials;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override
    {
        inputInitials.push_back(initial);
        return FakePlatform::inputBox(caption, prompt, initial);
    }
};

struct CatSetFixture : ::testing::Test {
    TempFolder home;
    RecordingPlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    void writeTable(const std::vector<std::string>& lines) { home.write("Category.tbl", crlf(lines)); }
    void writeMode(int mode) { home.write("Kalendra.ini", crlf({"[View]", "Catchk=" + std::to_string(mode)})); }
    std::string table() const { return home.read("Category.tbl"); }

    static std::vector<QString> names(const TDlgCatSet& dlg)
    {
        std::vector<QString> out;
        for (int row = 0; row < dlg.ListItem->count(); ++row)
            out.push_back(dlg.ListItem->item(row)->text());
        return out;
    }
    static std::vector<bool> checks(const TDlgCatSet& dlg)
    {
        std::vector<bool> out;
        for (int row = 0; row < dlg.ListItem->count(); ++row)
            out.push_back(dlg.ListItem->item(row)->checkState() == Qt::Checked);
        return out;
    }
    static void setCheck(TDlgCatSet& dlg, int row, bool checked)
    {
        dlg.ListItem->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
};

std::vector<QString> qs(std::initializer_list<const char*> texts)
{
    std::vector<QString> out;
    for (const char* t : texts)
        out.push_back(QString::fromUtf8(t));
    return out;
}

} // namespace

TEST_F(CatSetFixture, ShowReadsTheModeAndDerivesTheCheckMarksFromTheFlags)
{
    writeTable({"Shown         1 00000255", "Hidden        0 ", "Odd           x", "Bare"});
    struct Case {
        int catchk;
        int mode;
        std::vector<bool> checked;
    };
    for (const Case& c : {Case{0, 0, {true, false, true, true}}, Case{1, 1, {false, true, false, false}},
                          Case{5, 1, {false, true, false, false}}}) {
        SCOPED_TRACE(c.catchk);
        writeMode(c.catchk);
        TDlgCatSet dlg(services, home.path());
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("分類の設定"));
        EXPECT_EQ(dlg.viewMode(), c.mode);
        EXPECT_EQ(dlg.RadioViewHide->isChecked(), c.mode == 1);
        EXPECT_EQ(names(dlg), qs({"Shown", "Hidden", "Odd", "Bare"}));
        EXPECT_EQ(checks(dlg), c.checked);
        EXPECT_EQ(dlg.ListItem->currentRow(), 0);
    }
}

TEST_F(CatSetFixture, SwitchingTheModeWithoutTouchingTheMarksInvertsWhatIsDrawn)
{
    writeTable({"Work          1 0000025516777215", "Home          0 "});
    writeMode(0);
    {
        TDlgCatSet dlg(services, home.path());
        EXPECT_EQ(checks(dlg), (std::vector<bool>{true, false}));
        dlg.RadioViewHide->setChecked(true);
        dlg.BtnOkClick();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(table(), crlf({"Work          0 0000025516777215", "Home          1 "}));
    EXPECT_EQ(home.read("Kalendra.ini"), crlf({"[View]", "Catchk=1"}));
    // In mode 1 the checked category's schedules are the hidden ones.
    CategoryTable stored = CategoryTable::Load(home.file("Category.tbl"));
    EXPECT_TRUE(DrawingFor(stored, text::padCut("Work", 14)).hidden);
    EXPECT_FALSE(DrawingFor(stored, text::padCut("Home", 14)).hidden);

    TDlgCatSet again(services, home.path());
    EXPECT_EQ(again.viewMode(), 1);
    EXPECT_EQ(checks(again), (std::vector<bool>{true, false}));
}

TEST_F(CatSetFixture, CheckMarksChosenByTheUserAreStoredUnderTheChosenMode)
{
    writeTable({"A             1 ", "B             1 ", "C             0 "});
    writeMode(1);
    TDlgCatSet dlg(services, home.path());
    EXPECT_EQ(checks(dlg), (std::vector<bool>{false, false, true}));
    setCheck(dlg, 0, true);
    setCheck(dlg, 2, false);
    dlg.BtnOkClick();
    EXPECT_EQ(table(), crlf({"A             0 ", "B             1 ", "C             1 "}));
}

TEST_F(CatSetFixture, ColoursOfACheckedRowInModeOneKeepItChecked)
{
    writeTable({"Work          0 ", "Home          1 0000x25516777215"});
    writeMode(1);
    platform.colorAnswers = {255, 16777215, std::nullopt, 65280};
    TDlgCatSet dlg(services, home.path());
    ASSERT_EQ(checks(dlg), (std::vector<bool>{true, false}));
    EXPECT_TRUE(dlg.ChkNoColor->isChecked());

    dlg.BtnFontColorClick();
    EXPECT_TRUE(dlg.ListItem->item(0)->checkState() == Qt::Checked);
    EXPECT_FALSE(dlg.ChkNoColor->isChecked());
    dlg.BtnBackColorClick();
    dlg.BtnFontColorClick(); // cancelled: nothing changes
    EXPECT_TRUE(dlg.ListItem->item(0)->checkState() == Qt::Checked);

    dlg.ListItem->setCurrentRow(1);
    EXPECT_FALSE(dlg.ChkNoColor->isChecked());
    dlg.BtnBackColorClick();
    // Unset colours start the dialog at black; stored ones at their value.
    EXPECT_EQ(platform.colorInitials, (std::vector<ColorValue>{0, 0, 255, 16777215}));

    dlg.BtnOkClick();
    EXPECT_EQ(table(), crlf({"Work          0 0000025516777215", "Home          1 0000000000065280"}));
}

TEST_F(CatSetFixture, NoColourClearsBothColoursOfTheSelectedRow)
{
    writeTable({"Work          1 0000025516777215", "Home          0 00000255"});
    writeMode(0);
    TDlgCatSet dlg(services, home.path());
    EXPECT_FALSE(dlg.ChkNoColor->isChecked());
    dlg.ChkNoColor->click();
    EXPECT_TRUE(dlg.ChkNoColor->isChecked());
    dlg.ListItem->setCurrentRow(1);
    EXPECT_FALSE(dlg.ChkNoColor->isChecked());
    dlg.BtnOkClick();
    EXPECT_EQ(table(), crlf({"Work          1                 ", "Home          0 00000255"}));
}

TEST_F(CatSetFixture, AddCutsLongNamesAndRefusesNamesThatWouldBeStoredTwice)
{
    writeTable({"Work          1 00000255"});
    writeMode(0);
    platform.inputAnswers = {std::string("LongNameOver14Bytes"),
                             std::string("LongNameOver14Other"),
                             std::string("Work  "),
                             std::string("work"),
                             std::nullopt,
                             std::string(""),
                             std::string("   "),
                             std::string("Xあいうえおかきく")};
    TDlgCatSet dlg(services, home.path());
    for (std::size_t i = 0; i < 8; ++i)
        dlg.BtnAddClick();

    EXPECT_EQ(platform.inputPrompts, std::vector<std::string>(8, "分類の追加|新しい分類："));
    EXPECT_EQ(platform.inputInitials, std::vector<std::string>(8, ""));
    // The second long name would be stored as the first one.
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].caption, "分類の重複");
    EXPECT_EQ(platform.messages[0].text, "「LongNameOver14Other」はすでに登録済みです。");
    EXPECT_EQ(platform.messages[1].text, "「Work  」はすでに登録済みです。");
    EXPECT_EQ(platform.messages[1].icon, MessageIcon::Error);
    EXPECT_EQ(names(dlg), qs({"Work", "LongNameOver14", "work", "Xあいうえおか"}));
    EXPECT_EQ(dlg.ListItem->currentRow(), 3);
    EXPECT_EQ(table(), crlf({"Work          1 00000255"})) << "nothing is written before OK";

    dlg.BtnOkClick();
    // Bytes 14 and 15 of the last name are one character: the cut pads instead of splitting it.
    EXPECT_EQ(table(),
              crlf({"Work          1 00000255", "LongNameOver141 ", "work          1 ", sj("Xあいうえおか") + " 1 "}));
}

TEST_F(CatSetFixture, AddedCategoriesAreShownInEitherMode)
{
    writeMode(1);
    platform.inputAnswers = {std::string("New")};
    TDlgCatSet dlg(services, home.path());
    dlg.BtnAddClick();
    EXPECT_EQ(checks(dlg), (std::vector<bool>{false}));
    dlg.BtnOkClick();
    EXPECT_EQ(table(), crlf({"New           1 "}));
}

TEST_F(CatSetFixture, NamesShiftJisCannotHoldAreRefused)
{
    writeTable({"Work          1 "});
    writeMode(0);
    platform.inputAnswers = {std::string("한국어"), std::string("Emoji😀")};
    TDlgCatSet dlg(services, home.path());
    dlg.BtnAddClick();
    dlg.BtnRepClick();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].caption, "分類の追加");
    EXPECT_EQ(platform.messages[0].text.rfind("「한국어」には登録できない文字が含まれています。", 0), 0u);
    EXPECT_EQ(platform.messages[1].caption, "分類の修正");
    EXPECT_EQ(platform.messages[1].icon, MessageIcon::Error);
    EXPECT_EQ(names(dlg), qs({"Work"}));
    dlg.BtnOkClick();
    EXPECT_EQ(table(), crlf({"Work          1 "}));
}

TEST_F(CatSetFixture, RenameKeepsFlagColoursAndSelection)
{
    writeTable({"Work          0 0000025500000000", " Home         1 ", sj("私用")});
    writeMode(0);
    platform.inputAnswers = {std::string("Work"), std::string(" Home  "), std::string("Office"),
                             std::string("仕事用の分類名です")};
    TDlgCatSet dlg(services, home.path());
    dlg.BtnRepClick(); // unchanged name: nothing
    dlg.BtnRepClick(); // duplicate
    dlg.BtnRepClick();
    EXPECT_EQ(platform.inputPrompts, (std::vector<std::string>{"分類の修正|「Work          」の修正：",
                                                               "分類の修正|「Work          」の修正：",
                                                               "分類の修正|「Work          」の修正："}));
    EXPECT_EQ(platform.inputInitials, (std::vector<std::string>{"Work", "Work", "Work"}));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "「 Home  」はすでに登録済みです。");
    EXPECT_EQ(dlg.ListItem->currentRow(), 0);
    EXPECT_EQ(dlg.ListItem->item(0)->checkState(), Qt::Unchecked);

    dlg.ListItem->setCurrentRow(2);
    dlg.BtnRepClick();
    EXPECT_EQ(platform.inputPrompts.back(), "分類の修正|「私用」の修正：");
    EXPECT_EQ(platform.inputInitials.back(), "私用");
    EXPECT_EQ(dlg.ListItem->currentRow(), 2);
    dlg.BtnOkClick();
    EXPECT_EQ(table(), crlf({"Office        0 0000025500000000", " Home         1 ", sj("仕事用の分類名") + "1 "}));
}

TEST_F(CatSetFixture, DoubleClickOnARowRenamesIt)
{
    writeTable({"Work          1 ", "Home          1 "});
    writeMode(0);
    platform.inputAnswers = {std::string("Office")};
    TDlgCatSet dlg(services, home.path());
    dlg.show();
    QListWidgetItem* second = dlg.ListItem->item(1);
    QPoint point = dlg.ListItem->visualItemRect(second).center() + QPoint(40, 0);
    QTest::mouseClick(dlg.ListItem->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(dlg.ListItem->viewport(), Qt::LeftButton, {}, point);
    EXPECT_EQ(platform.inputPrompts, (std::vector<std::string>{"分類の修正|「Home          」の修正："}));
    EXPECT_EQ(names(dlg), qs({"Work", "Office"}));
}

TEST_F(CatSetFixture, DeleteAsksNothingAndTakesEffectOnlyWithOk)
{
    const std::string stored = crlf({"A             1 ", "B             0 00000255", "C             1 "});
    home.write("Category.tbl", stored);
    writeMode(0);
    {
        TDlgCatSet dlg(services, home.path());
        dlg.ListItem->setCurrentRow(1);
        dlg.BtnDelClick();
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(names(dlg), qs({"A", "C"}));
        EXPECT_EQ(dlg.ListItem->currentRow(), 1);
        dlg.BtnDelClick();
        EXPECT_EQ(dlg.ListItem->currentRow(), 0);
        EXPECT_EQ(table(), stored);
        dlg.BtnCancel->click();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(table(), stored);

    TDlgCatSet dlg(services, home.path());
    dlg.ListItem->setCurrentRow(1);
    dlg.BtnDelClick();
    dlg.BtnOkClick();
    EXPECT_EQ(table(), crlf({"A             1 ", "C             1 "}));
}

TEST_F(CatSetFixture, UpAndDownMoveTheRowWithItsMarkAndSelection)
{
    writeTable({"A             1 ", "B             0 ", "C             1 "});
    writeMode(0);
    TDlgCatSet dlg(services, home.path());
    dlg.BtnUpClick(); // already at the top
    EXPECT_EQ(names(dlg), qs({"A", "B", "C"}));
    dlg.BtnDownClick();
    EXPECT_EQ(names(dlg), qs({"B", "A", "C"}));
    EXPECT_EQ(dlg.ListItem->currentRow(), 1);
    dlg.BtnDownClick();
    dlg.BtnDownClick(); // already at the bottom
    EXPECT_EQ(names(dlg), qs({"B", "C", "A"}));
    EXPECT_EQ(dlg.ListItem->currentRow(), 2);
    dlg.ListItem->setCurrentRow(1);
    dlg.BtnUpClick();
    EXPECT_EQ(names(dlg), qs({"C", "B", "A"}));
    EXPECT_EQ(checks(dlg), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(dlg.ListItem->currentRow(), 0);
    dlg.BtnOkClick();
    EXPECT_EQ(table(), crlf({"C             1 ", "B             0 ", "A             1 "}));
}

TEST_F(CatSetFixture, CancelWritesNothing)
{
    const std::string stored = crlf({"A             1 00000255", "B"});
    const std::string settings = crlf({"[View]", "Catchk=0"});
    home.write("Category.tbl", stored);
    home.write("Kalendra.ini", settings);
    platform.inputAnswers = {std::string("C"), std::string("Z")};
    platform.colorAnswers = {65280};
    TDlgCatSet dlg(services, home.path());
    dlg.BtnAddClick();
    dlg.BtnRepClick();
    dlg.BtnFontColorClick();
    dlg.BtnDownClick();
    dlg.RadioViewHide->setChecked(true);
    dlg.BtnCancel->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(table(), stored);
    EXPECT_EQ(home.read("Kalendra.ini"), settings);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()), {}), 2);
}

TEST_F(CatSetFixture, WithoutATableTheDialogStartsEmptyAndOkCreatesIt)
{
    platform.inputAnswers = {std::string("First")};
    TDlgCatSet dlg(services, home.path());
    EXPECT_EQ(dlg.ListItem->count(), 0);
    EXPECT_EQ(dlg.viewMode(), 0);
    // Nothing to act on: no dialog opens and nothing breaks.
    dlg.BtnRepClick();
    dlg.BtnDelClick();
    dlg.BtnUpClick();
    dlg.BtnDownClick();
    dlg.BtnFontColorClick();
    dlg.BtnBackColorClick();
    dlg.ChkNoColorClick();
    EXPECT_FALSE(dlg.ChkNoColor->isChecked());
    EXPECT_TRUE(platform.inputPrompts.empty());
    EXPECT_TRUE(platform.colorInitials.empty());
    dlg.BtnAddClick();
    EXPECT_EQ(dlg.ListItem->currentRow(), 0);
    dlg.BtnOkClick();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(table(), crlf({"First         1 "}));
    EXPECT_EQ(home.read("Kalendra.ini"), crlf({"[View]", "Catchk=0"}));
}

TEST_F(CatSetFixture, OkWithAnEmptyListWritesAnEmptyTable)
{
    writeTable({"A             1 "});
    TDlgCatSet dlg(services, home.path());
    dlg.BtnDelClick();
    dlg.BtnOkClick();
    EXPECT_TRUE(home.exists("Category.tbl"));
    EXPECT_EQ(table(), "");
}

TEST_F(CatSetFixture, OkChangesOnlyCatchkInTheSettings)
{
    writeTable({"A             1 "});
    const std::vector<std::string> before = {"; kept",   "[Kalendra]", "Ver=3.01", "[View]",   "Passwd=0",
                                             "Catchk=0", "StrWeek=1",  "",         "[Window]", sj("Title=予定表")};
    home.write("Kalendra.ini", crlf(before));
    TDlgCatSet dlg(services, home.path());
    dlg.RadioViewHide->setChecked(true);
    dlg.BtnOkClick();
    std::vector<std::string> after = before;
    after[5] = "Catchk=1";
    EXPECT_EQ(home.read("Kalendra.ini"), crlf(after));
}

TEST_F(CatSetFixture, ATableThatCannotBeReadIsNeverReplaced)
{
    writeMode(0);
    std::filesystem::create_directory(home.file("Category.tbl"));
    platform.inputAnswers = {std::string("A")};
    TDlgCatSet dlg(services, home.path());
    dlg.show();
    dlg.BtnAddClick();
    dlg.RadioViewHide->setChecked(true);
    EXPECT_FALSE(dlg.BtnOk->isEnabled());
    dlg.BtnOkClick();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "分類の設定");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    const std::string prefix = "分類ファイルを読み込めません。\r\n";
    EXPECT_EQ(platform.messages[0].text.rfind(prefix, 0), 0u);
    EXPECT_GT(platform.messages[0].text.size(), prefix.size()) << "the system's reason follows";
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(home.read("Kalendra.ini"), crlf({"[View]", "Catchk=0"})) << "the mode is not saved alone";
}

TEST_F(CatSetFixture, SettingsThatCannotBeSavedPutTheTableBack)
{
    const std::string stored = crlf({"A             1 ", "B             0 "});
    home.write("Category.tbl", stored);
    std::filesystem::create_directory(home.file("Kalendra.ini"));
    TDlgCatSet dlg(services, home.path());
    dlg.RadioViewHide->setChecked(true);
    dlg.BtnOkClick();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.rfind("設定ファイルを保存できません。\r\n", 0), 0u);
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(table(), stored);

    std::filesystem::remove(home.file("Category.tbl"));
    TDlgCatSet empty(services, home.path());
    empty.BtnOkClick();
    EXPECT_FALSE(home.exists("Category.tbl")) << "a table that did not exist is removed again";
}

// Draws the rows and checks the colours on screen; with KALENDRA_SCREENSHOT set, the picture
// is also saved there.
TEST_F(CatSetFixture, RowsShowTheirSampleColoursAndTheSelectionInNavy)
{
    auto line = [](const char* name, const std::string& rest) { return text::padCut(sj(name), 14) + rest; };
    writeTable({line("仕事", "1 0000000016769216"), line("私用", "0 0000025512648447"), line("会議", "1 "),
                line("旅行", "1 0003276812648384")});
    writeMode(0);
    TDlgCatSet dlg(services, home.path());
    dlg.setFont(QFont("IPAGothic", 10));
    dlg.resize(460, 360);
    dlg.show();
    QImage shot = dlg.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    if (const char* path = std::getenv("KALENDRA_SCREENSHOT"))
        shot.save(QString::fromLocal8Bit(path));

    auto countInRow = [&](int row, QColor color) {
        QRect rect = dlg.ListItem->visualItemRect(dlg.ListItem->item(row));
        rect.moveTopLeft(dlg.ListItem->viewport()->mapTo(&dlg, rect.topLeft()));
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                count += shot.pixelColor(x, y) == color;
        return count / rect.height();
    };
    // Counts per pixel line of the row.
    const QColor navy(0, 0, 128);
    EXPECT_GT(countInRow(0, navy), 100) << "the selected row";
    EXPECT_GT(countInRow(0, qt::toQColor(16769216)), 50) << "its whole sample, over the selection";
    EXPECT_EQ(countInRow(1, navy), 0);
    EXPECT_GT(countInRow(1, qt::toQColor(12648447)), 50);
    EXPECT_GT(countInRow(3, qt::toQColor(12648384)), 50);
    EXPECT_GT(countInRow(2, Qt::white), 150) << "no colour: a white sample";
}
