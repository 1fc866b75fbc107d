// The list commands alone: the schedule, holiday and memo lists and the find dialog, each asking
// for the month to be built again after a change, offscreen with the fake platform.
#include "lists/qt/ListCommands.h"

#include "lists/TFormEdit.h"
#include "memo/TDlgMemo.h"
#include "memo/qt/MemoList.h"
#include "support/PanelFixture.h"
#include "support/ScheduleLines.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTreeView>

using namespace kal;
using namespace kal::test;

namespace {

struct ListsFixture : PanelFixture {
    std::unique_ptr<qt::MemoList> memos; // its editor corrects the memos of the list windows
    std::unique_ptr<qt::ListCommands> lists;

    void start()
    {
        readSettings();
        memos = std::make_unique<qt::MemoList>(
            context, [] { return 300; }, &window);
        memos->MemoSet();
        lists = std::make_unique<qt::ListCommands>(
            context, *memos, [] { return QSize(600, 400); }, &window);
    }
};

} // namespace

TEST_F(ListsFixture, AChangeInTheListRebuildsTheMonth)
{
    home.write("202612.sch", crlf({scheduleLine(8, "", "old")}));
    start();
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& list = dynamic_cast<TFormEdit&>(dialog);
        EXPECT_EQ(list.ListView->model()->rowCount(), 1);
        list.DelClick();
        return static_cast<int>(QDialog::Rejected);
    });
    lists->ShowFormEdit();
    EXPECT_EQ(home.read("202612.sch"), "");
    EXPECT_EQ(rebuilds, 1);
}

TEST_F(ListsFixture, CorrectingAMemoRowOpensTheDayMemoEditorAtTheListsCorner)
{
    home.write("20261208.mem", crlf({"old"}));
    start();
    dialogs.handlers.push_back([this](QDialog& dialog) {
        auto& list = dynamic_cast<TFormEdit&>(dialog);
        EXPECT_EQ(list.ListView->model()->rowCount(), 1);
        list.ListView->setCurrentIndex(list.ListView->model()->index(0, 0));
        dialogs.handlers.push_back([&list](QDialog& editor) {
            auto& memo = dynamic_cast<TDlgMemo&>(editor);
            EXPECT_EQ(memo.windowTitle(), QString::fromUtf8("2026年12月08日のメモ"));
            EXPECT_EQ(memo.pos(), list.pos());
            EXPECT_EQ(memo.MemoDay->toPlainText().trimmed(), QString("old"));
            memo.MemoDay->setPlainText("new");
            memo.BtnOkClick();
            return memo.result();
        });
        list.RepClick(false);
        // Where it would reach past the screen's edge, the editor is centred on the screen.
        const QRect area = list.screen()->availableGeometry();
        list.move(area.right() - 40, area.top());
        dialogs.handlers.push_back([area](QDialog& e) {
            EXPECT_EQ(e.geometry().center(), area.center());
            return 0;
        });
        list.RepClick(false);
        return static_cast<int>(QDialog::Rejected);
    });
    lists->MenuMemoList->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 3u);
    EXPECT_EQ(dialogs.shownClasses[1], "kal::TDlgMemo");
    EXPECT_EQ(home.read("20261208.mem"), crlf({"new"}));
}
