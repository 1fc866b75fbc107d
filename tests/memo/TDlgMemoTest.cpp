// The memo editor in its three modes, offscreen with the fake platform.
#include "memo/TDlgMemo.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

struct MemoEditorFixture : ::testing::Test {
    TempFolder memo;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};
    const Date day{2024, 3, 5};

    MemoEditorTarget target(MemoEditorMode mode) const
    {
        return MemoEditorTarget{mode, memo.path(), day, mode == MemoEditorMode::Note ? sj("日記") : std::string()};
    }
};

} // namespace

TEST_F(MemoEditorFixture, NewDayMemoStartsFromTheTemplateAndCancelWritesNothing)
{
    memo.write("Memotemp.txt", crlf({sj("■予定"), ""}));
    {
        TDlgMemo dialog(services, target(MemoEditorMode::DayMemo));
        EXPECT_EQ(dialog.MemoDay->toPlainText(), QString::fromUtf8("■予定\n\n"));
        dialog.BtnCancel->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_FALSE(memo.exists("20240305.mem"));

    TDlgMemo dialog(services, target(MemoEditorMode::DayMemo));
    dialog.BtnOk->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(memo.read("20240305.mem"), crlf({sj("■予定"), ""}));
    EXPECT_EQ(memo.read("Memotemp.txt"), crlf({sj("■予定"), ""}));
}

TEST_F(MemoEditorFixture, OkWritesTheLinesAndABlankTextDeletesTheFile)
{
    struct Case {
        const char* what;
        MemoEditorMode mode;
        const char* file;
    };
    const Case cases[] = {{"day memo", MemoEditorMode::DayMemo, "20240305.mem"},
                          {"template", MemoEditorMode::Template, "Memotemp.txt"},
                          {"note", MemoEditorMode::Note, "日記.not"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            TDlgMemo dialog(services, target(c.mode));
            dialog.MemoDay->setPlainText(QString::fromUtf8("一行目\n\n三行目\n"));
            dialog.BtnOk->click();
            EXPECT_EQ(memo.read(c.file), crlf({sj("一行目"), "", sj("三行目")}));
        }
        TDlgMemo dialog(services, target(c.mode));
        EXPECT_EQ(dialog.MemoDay->toPlainText(), QString::fromUtf8("一行目\n\n三行目\n"));
        dialog.MemoDay->setPlainText(QString::fromUtf8("   \n"));
        dialog.BtnOk->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(memo.exists(c.file));
    }
    EXPECT_EQ(TDlgMemo(services, target(MemoEditorMode::Note)).windowTitle(), QString::fromUtf8("「日記」の編集"));
    EXPECT_EQ(TDlgMemo(services, target(MemoEditorMode::Template)).windowTitle(),
              QString::fromUtf8("メモテンプレートの編集"));
}

TEST_F(MemoEditorFixture, TextShiftJisCannotHoldStaysInTheEditor)
{
    TDlgMemo dialog(services, target(MemoEditorMode::DayMemo));
    dialog.MemoDay->setPlainText(QString::fromUtf8("ok\n絵文字😀"));
    dialog.BtnOk->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "入力エラー");
    EXPECT_EQ(dialog.MemoDay->textCursor().blockNumber(), 1);
    EXPECT_FALSE(memo.exists("20240305.mem"));
}

TEST_F(MemoEditorFixture, AFailedWriteIsReportedAndTheEditorStaysOpen)
{
    MemoEditorTarget nowhere = target(MemoEditorMode::DayMemo);
    nowhere.folder = memo.file("missing/");
    TDlgMemo dialog(services, nowhere);
    dialog.setWindowTitle("2024/03/05");
    dialog.MemoDay->setPlainText("text");
    dialog.BtnOk->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "2024/03/05");
    EXPECT_EQ(platform.messages[0].text.rfind("保存できません。", 0), 0u);
}
