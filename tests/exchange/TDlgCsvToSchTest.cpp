// The CSV import dialog, offscreen with the fake platform: browsing, the mapping commands with
// their marks, the data check and the execute run, and keyboard access.
#include "exchange/TDlgCsvToSch.h"

#include "platform/qt/QtText.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace kal;
using namespace kal::test;

namespace {

const QColor kAqua(0, 255, 255);

struct CsvDialogFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};
    std::unique_ptr<TDlgCsvToSch> dlg;

    void open(const std::vector<std::string>& lines)
    {
        dlg = std::make_unique<TDlgCsvToSch>(services,
                                             CsvImportSource{home.file("in.csv"), lines, home.path(), home.path()});
    }
    static QStringList rows(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    static std::vector<bool> marks(const QListWidget* list)
    {
        std::vector<bool> out;
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->item(i)->background().color() == kAqua);
        return out;
    }
    static QString target(int index, const char* text)
    {
        return qt::fromSjis(csvTargetLabel(index)) + " : " + QString::fromUtf8(text);
    }
    // Selects a target and a column and presses "< 選択".
    void choose(int targetRow, int columnRow)
    {
        dlg->ListCsvToSch->setCurrentRow(targetRow);
        dlg->ListCsvItem->setCurrentRow(columnRow);
        QTest::mouseClick(dlg->BtnLeft, Qt::LeftButton);
    }
    const RecordedMessage& lastMessage() const { return platform.messages.back(); }
};

const std::vector<std::string> kLines = {
    sj("2004/03/05,10:00,会議"),
    sj("2004/03/06,,\"旅行, 北海道\",札幌,私用"),
    sj("2004/04/01,09:00,朝会"),
};

} // namespace

TEST_F(CsvDialogFixture, OpensOnTheFirstLineWithNothingMapped)
{
    open(kLines);
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("CSV形式の読込 - ") + QString::fromStdString(home.file("in.csv")));
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dlg->LabelCsvToSch->text(), QString::fromUtf8("変換先項目　：　変換元項目"));
    EXPECT_EQ(dlg->LabelCsvItem->text(), QString::fromUtf8("CSV項目一覧 [1/3]"));
    EXPECT_EQ(rows(dlg->ListCsvItem), (QStringList{"2004/03/05", "10:00", QString::fromUtf8("会議")}));
    EXPECT_EQ(rows(dlg->ListCsvToSch),
              (QStringList{target(0, ""), target(1, ""), target(2, ""), target(3, ""), target(4, ""), target(5, "")}));
    EXPECT_EQ(marks(dlg->ListCsvToSch), std::vector<bool>(6, false));
    EXPECT_EQ(dlg->ListCsvToSch->currentRow(), 0);
    EXPECT_EQ(dlg->ListCsvItem->currentRow(), 0);
    EXPECT_FALSE(dlg->BtnConvert->isEnabled());
    EXPECT_FALSE(dlg->Chk1stHeader->isChecked());
    EXPECT_TRUE(dlg->ChkDubleNo->isChecked());
    EXPECT_TRUE(dlg->ChkCategory->isChecked());
}

TEST_F(CsvDialogFixture, BrowsingShowsEachLineWithTheWidestSeenSoFar)
{
    open(kLines);
    choose(3, 2); // 内容 from column 3
    QTest::mouseClick(dlg->BtnBefore, Qt::LeftButton);
    EXPECT_EQ(dlg->browsePosition(), 1);

    QTest::mouseClick(dlg->BtnNext, Qt::LeftButton);
    EXPECT_EQ(dlg->LabelCsvItem->text(), QString::fromUtf8("CSV項目一覧 [2/3]"));
    EXPECT_EQ(rows(dlg->ListCsvItem), (QStringList{"2004/03/06", "", QString::fromUtf8("旅行, 北海道"),
                                                   QString::fromUtf8("札幌"), QString::fromUtf8("私用")}));
    EXPECT_EQ(dlg->ListCsvToSch->item(3)->text(), target(3, "旅行, 北海道"));

    QTest::mouseClick(dlg->BtnNext, Qt::LeftButton);
    QTest::mouseClick(dlg->BtnNext, Qt::LeftButton);
    EXPECT_EQ(dlg->browsePosition(), 3);
    EXPECT_EQ(rows(dlg->ListCsvItem), (QStringList{"2004/04/01", "09:00", QString::fromUtf8("朝会"), "", ""}))
        << "shorter lines are padded to the widest line seen";
    EXPECT_EQ(dlg->ListCsvToSch->item(3)->text(), target(3, "朝会"));
}

TEST_F(CsvDialogFixture, MappingCommandsMarkTargetsAndColumnsAndClearTheSelection)
{
    open(kLines);
    choose(0, 0);
    EXPECT_EQ(dlg->mapping().columnOf(CsvDate), 0);
    EXPECT_EQ(dlg->ListCsvToSch->item(0)->text(), target(0, "2004/03/05"));
    EXPECT_EQ(marks(dlg->ListCsvToSch), (std::vector<bool>{true, false, false, false, false, false}));
    EXPECT_EQ(marks(dlg->ListCsvItem), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(dlg->ListCsvToSch->currentRow(), -1);
    EXPECT_EQ(dlg->ListCsvItem->currentRow(), -1);

    choose(3, 0); // a column in use is refused
    EXPECT_EQ(dlg->mapping().columnOf(CsvTitle), kUnassigned);
    choose(0, 2); // the date moves to another column and releases the first
    EXPECT_EQ(dlg->mapping().columnOf(CsvDate), 2);
    EXPECT_EQ(marks(dlg->ListCsvItem), (std::vector<bool>{false, false, true}));

    dlg->ListCsvToSch->setCurrentRow(0);
    QTest::mouseClick(dlg->BtnRight, Qt::LeftButton);
    EXPECT_EQ(dlg->mapping().columnOf(CsvDate), kUnassigned);
    EXPECT_EQ(dlg->ListCsvToSch->item(0)->text(), target(0, ""));

    QTest::mouseClick(dlg->BtnAllLeft, Qt::LeftButton);
    EXPECT_EQ(marks(dlg->ListCsvToSch), (std::vector<bool>{true, true, true, false, false, false}))
        << "only as many targets as the shown line has columns";
    EXPECT_EQ(dlg->ListCsvToSch->item(2)->text(), target(2, "会議"));

    QTest::mouseClick(dlg->BtnAllRight, Qt::LeftButton);
    EXPECT_EQ(marks(dlg->ListCsvToSch), std::vector<bool>(6, false));
    EXPECT_EQ(marks(dlg->ListCsvItem), std::vector<bool>(3, false));
}

TEST_F(CsvDialogFixture, TheDataCheckReportsAndOnlyTheExecuteRunWrites)
{
    open(kLines);
    QTest::mouseClick(dlg->BtnDataCheck, Qt::LeftButton);
    EXPECT_EQ(lastMessage().text, "日付が選択されていません。");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Error);
    EXPECT_FALSE(dlg->BtnConvert->isEnabled());

    choose(0, 0);
    choose(1, 1);
    choose(3, 2);
    QTest::mouseClick(dlg->BtnNext, Qt::LeftButton);
    choose(4, 3);
    choose(5, 4);
    QTest::mouseClick(dlg->BtnDataCheck, Qt::LeftButton);
    EXPECT_EQ(lastMessage().caption, "CSV形式の読込");
    EXPECT_EQ(lastMessage().text, "3 件のスケジュールデータを反映します。\r\n1 件の分類が未登録です。");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
    EXPECT_TRUE(dlg->BtnConvert->isEnabled());
    EXPECT_FALSE(home.exists("200403.sch"));

    // The counts hold only for the options and mapping they were made with.
    dlg->ChkCategory->click();
    EXPECT_FALSE(dlg->BtnConvert->isEnabled());
    QTest::mouseClick(dlg->BtnDataCheck, Qt::LeftButton);
    EXPECT_EQ(lastMessage().text, "3 件のスケジュールデータを反映します。\r\n0 件の分類が未登録です。");
    dlg->ChkCategory->click();
    QTest::mouseClick(dlg->BtnDataCheck, Qt::LeftButton);

    QTest::mouseClick(dlg->BtnConvert, Qt::LeftButton);
    EXPECT_EQ(lastMessage().text, "3 件のスケジュールデータを反映しました。\r\n1 件の分類を追加しました。");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(dlg->wroteFiles());
    EXPECT_EQ(home.read("200403.sch"), crlf({plainScheduleLine(5, "10:00", "", "会議"),
                                             plainScheduleLine(6, "", "", "旅行, 北海道", "札幌", "私用")}));
    EXPECT_EQ(home.read("Category.tbl"), crlf({sj("私用") + std::string(10, ' ') + "1"}));
}

TEST_F(CsvDialogFixture, AFailedDataCheckNamesTheLineAndKeepsExecuteDisabled)
{
    open({"2004/03/05,9:00", "2004-03-06,10:00"});
    QTest::mouseClick(dlg->BtnAllLeft, Qt::LeftButton);
    QTest::mouseClick(dlg->BtnDataCheck, Qt::LeftButton);
    EXPECT_EQ(lastMessage().text, "不正なデータ（日付エラー）があるため処理できません。\r\n2 レコード目： 2004-03-06");
    EXPECT_FALSE(dlg->BtnConvert->isEnabled());
    QTest::mouseClick(dlg->BtnConvert, Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_FALSE(home.exists("200403.sch"));
}

TEST_F(CsvDialogFixture, KeysReachTheOptionsAndReturnRunsTheDataCheck)
{
    open(kLines);
    dlg->show();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    // A mnemonic presses its button the way a click looks: after a short delay.
    QTest::keyClick(dlg.get(), Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg->Chk1stHeader->isChecked(); }, 1000));
    QTest::keyClick(dlg.get(), Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg->ChkDubleNo->isChecked(); }, 1000));

    dlg->ListCsvToSch->setFocus();
    QTest::keyClick(dlg->ListCsvToSch, Qt::Key_Return);
    QTest::qWait(20);
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(lastMessage().text, "日付が選択されていません。");
    dlg->hide();
}
