// The memo area as the main window drives it: the editor, the memo marks, the line commands and
// the memo setting, offscreen with the fake platform. Today is 8 December 2026.
#include "app/Password.h"
#include "app/TDlgPasswd.h"
#include "app/TForm1.h"
#include "memo/TDlgMemo.h"
#include "support/MainWindowFixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

struct MemoFixture : MainWindowFixture {
    static FakeDialogRunner::Handler typeMemo(const char* text)
    {
        return [text](QDialog& dialog) {
            auto& editor = dynamic_cast<TDlgMemo&>(dialog);
            editor.MemoDay->setPlainText(QString::fromUtf8(text));
            editor.BtnOkClick();
            return editor.result();
        };
    }
    int markOfToday() const
    {
        const MonthLayout& layout = form->Calendar->monthBuild().layout;
        return layout.cell(layout.currentColumn[8], layout.currentRow[8]).mark;
    }
    QStringList memoRows() const
    {
        QStringList rows;
        for (int i = 0; i < form->ListMemo->topLevelItemCount(); ++i)
            rows << form->ListMemo->topLevelItem(i)->text(0);
        return rows;
    }
    void selectMemoRow(int row) { form->ListMemo->setCurrentItem(form->ListMemo->topLevelItem(row)); }
};

} // namespace

TEST_F(MemoFixture, EditorWritesTheMemoRaisesTheMarkAndABlankMemoDropsIt)
{
    start();
    EXPECT_EQ(markOfToday(), 0);
    EXPECT_EQ(form->ListMemo->headerItem()->text(0), "2026/12/08");

    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "2026/12/08") << "the area's title";
        return typeMemo("牛乳\n卵")(dialog);
    });
    form->ListMemo->TBtnMemoNew->trigger();
    EXPECT_EQ(home.read("20261208.mem"), crlf({sj("牛乳"), sj("卵")}));
    EXPECT_EQ(markOfToday(), 1);
    EXPECT_EQ(memoRows(), (QStringList{QString::fromUtf8("牛乳"), QString::fromUtf8("卵")}));

    dialogs.handlers.push_back(typeMemo("   "));
    form->ListMemo->MenuMemo->trigger();
    EXPECT_FALSE(home.exists("20261208.mem"));
    EXPECT_EQ(markOfToday(), 0);
    EXPECT_TRUE(memoRows().isEmpty());
    EXPECT_FALSE(form->state().modalDialogOpen);

    dialogs.handlers.push_back(typeMemo("卵")); // a double click on the empty area adds one
    QTest::mouseDClick(form->ListMemo->viewport(), Qt::LeftButton, {}, form->ListMemo->viewport()->rect().center());
    EXPECT_EQ(memoRows(), QStringList{QString::fromUtf8("卵")});
}

TEST_F(MemoFixture, WithoutTitleBarTheEditorIsCaptionedWithThePlainDate)
{
    start("[Memo]\r\nMTUmu=0\r\n");
    EXPECT_TRUE(form->ListMemo->isHeaderHidden());
    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("2026年12月8日のメモ"));
        return QDialog::Rejected;
    });
    form->ListMemo->PopMemo->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgMemo");
}

TEST_F(MemoFixture, MemoSettingZeroShowsTheAreaOnlyForADayWithMemo)
{
    start("[Memo]\r\nMemo=0\r\n");
    EXPECT_TRUE(form->ListMemo->isHidden());
    dialogs.handlers.push_back(typeMemo("memo"));
    form->ListMemo->ShowDlgMemo();
    EXPECT_FALSE(form->ListMemo->isHidden());
    EXPECT_GT(form->ListMemo->height(), 0);
    const QList<int> sizes = form->SplM->sizes();
    EXPECT_GT(sizes.at(0), 0) << "the day list stays above the memo";

    // An empty file is a memo without lines: no area.
    home.write("20261209.mem", "");
    form->Calendar->SelectCell(form->Calendar->monthBuild().layout.currentColumn[9],
                               form->Calendar->monthBuild().layout.currentRow[9]);
    EXPECT_TRUE(form->ListMemo->isHidden());

    start("[Memo]\r\nMemo=2\r\n");
    EXPECT_TRUE(form->ListMemo->isHidden());
}

TEST_F(MemoFixture, LineDeleteOfTheLastLineDeletesTheFileAndTheMark)
{
    home.write("20261208.mem", crlf({"one", "two"}));
    start();
    EXPECT_EQ(markOfToday(), 1);
    form->PopupDayPopup();
    EXPECT_TRUE(form->ListMemo->PopMemoAdd->isEnabled());
    EXPECT_FALSE(form->ListMemo->PopMemoLineDel->isEnabled()) << "no row selected";
    EXPECT_TRUE(form->ListMemo->PopMemoDel->isEnabled());

    selectMemoRow(0);
    form->PopupDayPopup();
    EXPECT_TRUE(form->ListMemo->PopMemoLineDel->isEnabled());
    form->ListMemo->PopMemoLineDel->trigger();
    EXPECT_EQ(home.read("20261208.mem"), crlf({"two"}));
    EXPECT_EQ(markOfToday(), 1);

    selectMemoRow(0);
    form->ListMemo->PopMemoLineDel->trigger();
    EXPECT_FALSE(home.exists("20261208.mem"));
    EXPECT_EQ(markOfToday(), 0);
    EXPECT_TRUE(platform.messages.empty()) << "no question for a line";
}

TEST_F(MemoFixture, InPlaceLineEditReplacesTheLineUnlessTheFileChangedMeanwhile)
{
    home.write("20261208.mem", crlf({"one", "two"}));
    start();
    auto editRow = [this](int row, const char* text) {
        selectMemoRow(row);
        form->PopupDayPopup();
        form->ListMemo->PopMemoLineRep->trigger();
        QLineEdit* edit = nullptr;
        QTest::qWaitFor([&] { return (edit = form->ListMemo->findChild<QLineEdit*>("MemoLineEdit")) != nullptr; });
        ASSERT_NE(edit, nullptr);
        edit->setText(QString::fromUtf8(text));
        QTest::keyClick(edit, Qt::Key_Return);
        // The editor closes, then the area shows the file again.
        QTest::qWaitFor([this] { return form->ListMemo->findChildren<QLineEdit*>().isEmpty(); });
        QTest::qWait(50);
    };
    editRow(1, "二");
    EXPECT_EQ(home.read("20261208.mem"), crlf({"one", sj("二")}));
    EXPECT_EQ(memoRows(), (QStringList{"one", QString::fromUtf8("二")}));

    home.write("20261208.mem", crlf({"changed", sj("二")}));
    editRow(0, "lost");
    EXPECT_EQ(home.read("20261208.mem"), crlf({"changed", sj("二")}));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "メモの行編集");
    EXPECT_EQ(memoRows().at(0), "changed") << "the area shows the file again";
}

TEST_F(MemoFixture, MemoDeleteAsksAndTheDeleteCommandReachesItFromTheFocusedArea)
{
    home.write("20261208.mem", crlf({"one"}));
    start();
    platform.messageAnswers.push_back(MessageAnswer::No);
    form->PopupDayPopup();
    form->ListMemo->PopMemoDel->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "メモの削除");
    EXPECT_EQ(platform.messages[0].text, "メモを削除します。\r\nよろしいですか？");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(home.exists("20261208.mem"));

    form->activateWindow();
    form->ListMemo->setFocus();
    QTest::qWait(20);
    if (!form->ListMemo->hasFocus())
        GTEST_SKIP() << "the offscreen platform gave no focus";
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    form->TBtnDel->trigger();
    EXPECT_FALSE(home.exists("20261208.mem"));
    EXPECT_EQ(markOfToday(), 0);
    EXPECT_TRUE(memoRows().isEmpty());
}

TEST_F(MemoFixture, MemoEntryOfTheTrayWaitsForThePasswordAfterHiding)
{
    home.write(kPasswordFileName, EncodeStr("right", DateTime{}) + "\r\n");
    start("[View]\r\nPasswd2=1\r\n");
    EXPECT_TRUE(form->ListMemo->PopTrayMemo->isEnabled());
    form->TaskTraySet();
    EXPECT_FALSE(form->ListMemo->PopTrayMemo->isEnabled());
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& prompt = dynamic_cast<TDlgPasswd&>(dialog);
        prompt.MskPasswd->setText("right");
        prompt.BtnOkClick();
        return prompt.result();
    });
    form->MainFormShow();
    EXPECT_TRUE(form->ListMemo->PopTrayMemo->isEnabled());
}
