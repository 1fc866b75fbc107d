// The memo area alone: the editor, the line commands and the memo setting, and the changes it
// reports to the window, offscreen with the fake platform. Today is 8 December 2026.
#include "memo/qt/MemoList.h"

#include "memo/TDlgMemo.h"
#include "support/PanelFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace kal;
using namespace kal::test;

namespace {

struct MemoFixture : PanelFixture {
    std::unique_ptr<qt::MemoList> memos;
    std::vector<bool> changes; // each memo change: whether the day gained or lost its memo

    void start(const std::string& extraSettings = "")
    {
        readSettings(extraSettings);
        memos = std::make_unique<qt::MemoList>(
            context, [] { return 300; }, &window);
        memos->setGeometry(0, 0, 300, 120);
        // The window shows the day again after every change.
        QObject::connect(memos.get(), &qt::MemoList::memoChanged, [this](bool existence) {
            changes.push_back(existence);
            memos->MemoRefresh();
        });
        memos->MemoSet();
        window.show();
        memos->MemoRefresh();
    }
    static FakeDialogRunner::Handler typeMemo(const char* text)
    {
        return [text](QDialog& dialog) {
            auto& editor = dynamic_cast<TDlgMemo&>(dialog);
            editor.MemoDay->setPlainText(QString::fromUtf8(text));
            editor.BtnOkClick();
            return editor.result();
        };
    }
    QStringList memoRows() const
    {
        QStringList rows;
        for (int i = 0; i < memos->topLevelItemCount(); ++i)
            rows << memos->topLevelItem(i)->text(0);
        return rows;
    }
    void selectMemoRow(int row) { memos->setCurrentItem(memos->topLevelItem(row)); }
};

} // namespace

TEST_F(MemoFixture, EditorWritesTheMemoAndABlankMemoDeletesIt)
{
    start();
    EXPECT_EQ(memos->headerItem()->text(0), "2026/12/08");

    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "2026/12/08") << "the area's title";
        return typeMemo("牛乳\n卵")(dialog);
    });
    memos->TBtnMemoNew->trigger();
    EXPECT_EQ(home.read("20261208.mem"), crlf({sj("牛乳"), sj("卵")}));
    EXPECT_EQ(changes, std::vector<bool>{true}) << "the day gained its memo";
    EXPECT_EQ(memoRows(), (QStringList{QString::fromUtf8("牛乳"), QString::fromUtf8("卵")}));

    dialogs.handlers.push_back(typeMemo("   "));
    memos->MenuMemo->trigger();
    EXPECT_FALSE(home.exists("20261208.mem"));
    EXPECT_EQ(changes, (std::vector<bool>{true, true}));
    EXPECT_TRUE(memoRows().isEmpty());
    EXPECT_FALSE(dialogOpen);

    dialogs.handlers.push_back(typeMemo("卵")); // a double click on the empty area adds one
    QTest::mouseDClick(memos->viewport(), Qt::LeftButton, {}, memos->viewport()->rect().center());
    EXPECT_EQ(memoRows(), QStringList{QString::fromUtf8("卵")});
}

TEST_F(MemoFixture, WithoutTitleBarTheEditorIsCaptionedWithThePlainDate)
{
    start("[Memo]\r\nMTUmu=0\r\n");
    EXPECT_TRUE(memos->isHeaderHidden());
    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("2026年12月8日のメモ"));
        return QDialog::Rejected;
    });
    memos->PopMemo->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgMemo");
}

TEST_F(MemoFixture, MemoSettingZeroShowsTheAreaOnlyForADayWithMemo)
{
    start("[Memo]\r\nMemo=0\r\n");
    EXPECT_TRUE(memos->isHidden());
    dialogs.handlers.push_back(typeMemo("memo"));
    memos->ShowDlgMemo();
    EXPECT_FALSE(memos->isHidden());

    // An empty file is a memo without lines: no area.
    home.write("20261209.mem", "");
    selected = Date{2026, 12, 9};
    EXPECT_FALSE(memos->MemoRefresh()) << "the area does not come back";
    EXPECT_TRUE(memos->isHidden());

    start("[Memo]\r\nMemo=2\r\n");
    EXPECT_TRUE(memos->isHidden());
}

TEST_F(MemoFixture, LineDeleteOfTheLastLineDeletesTheFile)
{
    home.write("20261208.mem", crlf({"one", "two"}));
    start();
    memos->MemoPopupEnable();
    EXPECT_TRUE(memos->PopMemoAdd->isEnabled());
    EXPECT_FALSE(memos->PopMemoLineDel->isEnabled()) << "no row selected";
    EXPECT_TRUE(memos->PopMemoDel->isEnabled());

    selectMemoRow(0);
    memos->MemoPopupEnable();
    EXPECT_TRUE(memos->PopMemoLineDel->isEnabled());
    memos->PopMemoLineDel->trigger();
    EXPECT_EQ(home.read("20261208.mem"), crlf({"two"}));
    selectMemoRow(0);
    memos->PopMemoLineDel->trigger();
    EXPECT_FALSE(home.exists("20261208.mem"));
    EXPECT_EQ(changes, (std::vector<bool>{false, true})) << "only the last line takes the day's memo";
    EXPECT_TRUE(platform.messages.empty()) << "no question for a line";
}

TEST_F(MemoFixture, InPlaceLineEditReplacesTheLineUnlessTheFileChangedMeanwhile)
{
    home.write("20261208.mem", crlf({"one", "two"}));
    start();
    auto editRow = [this](int row, const char* text) {
        selectMemoRow(row);
        memos->MemoPopupEnable();
        memos->PopMemoLineRep->trigger();
        QLineEdit* edit = nullptr;
        QTest::qWaitFor([&] { return (edit = memos->findChild<QLineEdit*>("MemoLineEdit")) != nullptr; });
        ASSERT_NE(edit, nullptr);
        edit->setText(QString::fromUtf8(text));
        QTest::keyClick(edit, Qt::Key_Return);
        // The editor closes, then the area shows the file again.
        QTest::qWaitFor([this] { return memos->findChildren<QLineEdit*>().isEmpty(); });
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

TEST_F(MemoFixture, MemoDeleteAsksFirst)
{
    home.write("20261208.mem", crlf({"one"}));
    start();
    platform.messageAnswers.push_back(MessageAnswer::No);
    memos->MemoPopupEnable();
    memos->PopMemoDel->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "メモの削除");
    EXPECT_EQ(platform.messages[0].text, "メモを削除します。\r\nよろしいですか？");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(home.exists("20261208.mem"));
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    memos->PopMemoDel->trigger();
    EXPECT_FALSE(home.exists("20261208.mem"));
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_TRUE(memoRows().isEmpty());
}
