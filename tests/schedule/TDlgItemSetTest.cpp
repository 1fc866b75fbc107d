// The pick list editor, offscreen with the fake platform.
#include "schedule/TDlgItemSet.h"
#include "platform/qt/QtText.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/GuiInput.h"
#include "support/TempFolder.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

struct ItemSetFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};

    static QStringList rows(const TDlgItemSet& dialog)
    {
        QStringList out;
        for (int i = 0; i < dialog.ListItem->count(); ++i)
            out << dialog.ListItem->item(i)->text();
        return out;
    }
    static void add(TDlgItemSet& dialog, const QString& entry)
    {
        dialog.EditItem->setText(entry);
        dialog.BtnAddClick();
    }
};

} // namespace

TEST_F(ItemSetFixture, CaptionPromptAndInputLimitFollowTheType)
{
    struct Case {
        PickListType type;
        const char* caption;
        const char* prompt;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {PickListType::SignalTime, "時報時刻の設定", "追加する時刻(HH:MM)：", "12:345", "12:34"},
        {PickListType::StartTime, "開始時刻の設定", "追加する時刻(HH:MM)：", "09:000", "09:00"},
        {PickListType::EndTime, "終了時刻の設定", "追加する時刻(HH:MM)：", "17:30x", "17:30"},
        // 21 characters of two bytes each: the 21st does not fit in 40 bytes.
        {PickListType::Title, "スケジュール内容の設定", "追加するスケジュール内容：",
         "あいうえおかきくけこさしすせそたちつてとな", "あいうえおかきくけこさしすせそたちつてと"},
        {PickListType::Place, "場所の設定", "追加する場所：", "Room é 12", "Room  12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        TDlgItemSet dialog(services, home.path(), c.type);
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(dialog.LabelItem->text(), QString::fromUtf8(c.prompt));
        typeText(dialog.EditItem, QString::fromUtf8(c.typed));
        EXPECT_EQ(dialog.EditItem->text(), QString::fromUtf8(c.kept));
    }
}

TEST_F(ItemSetFixture, AddingKeepsTextOrderWithoutDuplicatesAndOkWritesTheFile)
{
    TDlgItemSet dialog(services, home.path(), PickListType::StartTime);
    EXPECT_EQ(dialog.ListItem->count(), 0);
    add(dialog, "09:00");
    add(dialog, "09:00");
    EXPECT_EQ(rows(dialog), QStringList{"09:00"});
    EXPECT_TRUE(dialog.EditItem->text().isEmpty());

    add(dialog, "9:30");
    add(dialog, "10:00");
    add(dialog, "   ");
    EXPECT_EQ(rows(dialog), (QStringList{"09:00", "10:00", "9:30"}));
    EXPECT_EQ(dialog.ListItem->currentRow(), 1); // the entry just added
    EXPECT_EQ(dialog.EditItem->text(), "   ");   // a blank entry is not taken

    EXPECT_FALSE(home.exists("SchFrom.tbl"));
    dialog.BtnOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(home.read("SchFrom.tbl"), crlf({"09:00", "10:00", "9:30"}));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ItemSetFixture, LoadsSortedShowsFortyBytesAndDeletesTheSelectedRow)
{
    const std::string longPlace = sj("東京都千代田区丸の内一丁目九番一号グラントウキョウ");
    home.write("SchPlace.tbl", crlf({sj("本社"), "Annex", longPlace, "annex"}));
    TDlgItemSet dialog(services, home.path(), PickListType::Place);
    ASSERT_EQ(dialog.ListItem->count(), 3);
    EXPECT_EQ(dialog.ListItem->item(0)->text(), "Annex");
    EXPECT_EQ(dialog.ListItem->currentRow(), 0);
    // The first 40 bytes are twenty characters.
    EXPECT_EQ(dialog.ListItem->item(1)->text(), QString::fromUtf8("東京都千代田区丸の内一丁目九番一号グラン"));
    EXPECT_EQ(dialog.ListItem->item(2)->text(), QString::fromUtf8("本社"));

    dialog.ListItem->setCurrentRow(2);
    dialog.BtnDelClick();
    EXPECT_EQ(dialog.ListItem->count(), 2);
    dialog.ListItem->clearSelection();
    dialog.BtnDelClick();
    EXPECT_EQ(dialog.ListItem->count(), 2);

    dialog.BtnOkClick();
    EXPECT_EQ(home.read("SchPlace.tbl"), crlf({"Annex", longPlace}));
}

TEST_F(ItemSetFixture, AnEmptyListSavesAnEmptyFileAndCancelWritesNothing)
{
    home.write("SchTo.tbl", crlf({"18:00"}));
    {
        TDlgItemSet dialog(services, home.path(), PickListType::EndTime);
        dialog.BtnDelClick();
        dialog.BtnCancel->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(home.read("SchTo.tbl"), crlf({"18:00"}));
    }
    TDlgItemSet dialog(services, home.path(), PickListType::EndTime);
    dialog.BtnDelClick();
    EXPECT_EQ(dialog.ListItem->count(), 0);
    dialog.BtnOk->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(home.exists("SchTo.tbl"));
    EXPECT_EQ(home.read("SchTo.tbl"), "");
}

TEST_F(ItemSetFixture, AWriteFailureIsShownAndTheEditorStaysOpen)
{
    TDlgItemSet dialog(services, home.file("gone/"), PickListType::Title);
    add(dialog, "Visit");
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.BtnOkClick();
    EXPECT_EQ(finished.count(), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "スケジュール内容の設定");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(platform.messages[0].text.rfind("SchTitle.tbl を保存できません。\r\n", 0), 0u);
    EXPECT_GT(platform.messages[0].text.size(), std::string("SchTitle.tbl を保存できません。\r\n").size());
}
