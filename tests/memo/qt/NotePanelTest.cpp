// The notes panel alone: tabs and Note.lst, every note command, link lines and when the protected
// last tab asks the window for the password, offscreen with the fake platform.
#include "memo/qt/NotePanel.h"

#include "memo/TDlgMemo.h"
#include "support/PanelFixture.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

#include <filesystem>

using namespace kal;
using namespace kal::test;

namespace {

struct NoteFixture : PanelFixture {
    std::unique_ptr<qt::NotePanel> notes;
    bool passwordGiven = false; // the window's answer to its password question
    int passwordQuestions = 0;

    // The notes live in their own folder, so a title could only reach `home` by escaping it.
    void SetUp() override
    {
        PanelFixture::SetUp();
        std::filesystem::create_directory(home.file("notes"));
    }
    void startNotes(const std::string& view = "")
    {
        readSettings("NotePath=notes\r\n[View]\r\n" + view);
        notes = std::make_unique<qt::NotePanel>(
            context, [] { return 300; }, &window);
        notes->setGeometry(0, 0, 400, 200);
        notes->setPasswordCheck([this] { return ++passwordQuestions, passwordGiven; });
        window.show();
        notes->NoteSet(true);
    }
    QStringList tabs() const
    {
        QStringList out;
        for (int i = 0; i < notes->TabNote->count(); ++i)
            out << notes->TabNote->tabText(i);
        return out;
    }
    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < notes->ListNote->count(); ++i)
            out << notes->ListNote->item(i)->text();
        return out;
    }
    void clickTab(int index)
    {
        QTest::mouseClick(notes->TabNote, Qt::LeftButton, {}, notes->TabNote->tabRect(index).center());
    }
};

} // namespace

TEST_F(NoteFixture, WithoutNoteListOneUnregisteredTabAndAddingWritesTheOrder)
{
    startNotes();
    EXPECT_EQ(tabs(), QStringList{QString::fromUtf8("未登録")});
    EXPECT_FALSE(home.exists("Note.lst"));

    platform.inputAnswers.push_back(std::string("a/b"));
    platform.inputAnswers.push_back(std::string("未登録"));
    platform.inputAnswers.push_back(std::string("未登録 "));
    notes->PopupNotePopup();
    notes->PopNoteAdd->trigger();
    notes->NoteAdd();
    notes->NoteAdd();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].caption, "エラー");
    EXPECT_EQ(platform.messages[0].text, "タブ名には次の文字は使えません。\r\n　　\\ / : , ; * ? \" < > |");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(platform.messages[1].text, "「未登録」は登録済みです。");
    EXPECT_EQ(platform.inputPrompts.at(0), "ノートの新規作成|タイトル：");
    EXPECT_EQ(tabs(), (QStringList{QString::fromUtf8("未登録"), QString::fromUtf8("未登録 ")}));
    EXPECT_EQ(notes->TabNote->currentIndex(), 1);
    EXPECT_EQ(home.read("Note.lst"), crlf({sj("未登録"), sj("未登録 ")}));
    EXPECT_FALSE(home.exists("notes/未登録 .not")) << "a new note has no file until it is edited";
}

TEST_F(NoteFixture, NoteListLinesThatEscapeTheFolderAreSkippedAndKept)
{
    home.write("x.not", "outside\r\n");
    home.write("Note.lst", crlf({"A", "../x", "B", "A"}));
    startNotes();
    EXPECT_EQ(tabs(), (QStringList{"A", "B"}));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("../x"), std::string::npos);

    notes->PopDown->trigger(); // enabled only by the pop-up
    EXPECT_EQ(tabs(), (QStringList{"A", "B"}));
    notes->PopupNotePopup();
    notes->PopDown->trigger();
    EXPECT_EQ(tabs(), (QStringList{"B", "A"}));
    EXPECT_EQ(home.read("Note.lst"), crlf({"B", "A", "../x"})) << "the unusable line is kept for the user";
    EXPECT_EQ(home.read("x.not"), "outside\r\n");
}

TEST_F(NoteFixture, EditingClearingAndLineDeletionWorkOnTheNoteFile)
{
    home.write("Note.lst", crlf({"A", "B"}));
    home.write("notes/A.not", crlf({"one", "two"}));
    startNotes();
    EXPECT_EQ(lines(), (QStringList{"one", "two"}));

    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& editor = dynamic_cast<TDlgMemo&>(dialog);
        EXPECT_EQ(editor.windowTitle(), QString::fromUtf8("「A」の編集"));
        editor.MemoDay->setPlainText("one\ntwo\nthree");
        editor.BtnOkClick();
        return editor.result();
    });
    notes->TBtnNote->trigger();
    EXPECT_EQ(lines(), (QStringList{"one", "two", "three"}));

    notes->ListNote->setCurrentRow(1);
    notes->PopupNotePopup();
    EXPECT_TRUE(notes->PopNoteLineDel->isEnabled());
    EXPECT_TRUE(notes->PopNoteClear->isEnabled());
    notes->PopNoteLineDel->trigger();
    EXPECT_EQ(home.read("notes/A.not"), crlf({"one", "three"}));

    platform.messageAnswers.push_back(MessageAnswer::Yes);
    notes->PopNoteClear->trigger();
    EXPECT_EQ(platform.messages.back().caption, "内容の消去");
    EXPECT_EQ(platform.messages.back().text, "「A」の内容をすべて消去します。\r\nよろしいですか？");
    EXPECT_FALSE(home.exists("notes/A.not"));
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(tabs(), (QStringList{"A", "B"}));
    notes->PopupNotePopup();
    EXPECT_FALSE(notes->PopNoteClear->isEnabled());
    EXPECT_FALSE(notes->PopNoteLineDel->isEnabled());
}

TEST_F(NoteFixture, RenameMovesTheFileAndRefusesTakenTitles)
{
    home.write("Note.lst", crlf({"A", "B"}));
    home.write("notes/A.not", "text\r\n");
    home.write("notes/C.not", "other\r\n");
    startNotes();
    platform.inputAnswers = {std::string("B"), std::string("C"), std::string("D")};
    notes->RenameTitle();
    notes->RenameTitle();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, "「B」は登録済みです。");
    EXPECT_EQ(platform.messages[1].text, "「C」は登録済みです。");
    EXPECT_EQ(platform.inputInitials.at(0), "A");
    notes->RenameTitle();
    EXPECT_EQ(tabs(), (QStringList{"D", "B"}));
    EXPECT_FALSE(home.exists("notes/A.not"));
    EXPECT_EQ(home.read("notes/D.not"), "text\r\n");
    EXPECT_EQ(home.read("notes/C.not"), "other\r\n");
    EXPECT_EQ(home.read("Note.lst"), crlf({"D", "B"}));
    EXPECT_EQ(lines(), QStringList{"text"});
}

TEST_F(NoteFixture, ARenameWhoseListCannotBeWrittenKeepsTitleAndFile)
{
    home.write("Note.lst", crlf({"A", "B"}));
    home.write("notes/A.not", "text\r\n");
    startNotes();
    // Note.lst turns into a folder after it was read: no file can replace it.
    std::filesystem::remove(home.file("Note.lst"));
    std::filesystem::create_directory(home.file("Note.lst"));
    platform.inputAnswers = {std::string("D")};
    notes->RenameTitle();
    QTest::qWait(0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "タイトルの変更");
    EXPECT_EQ(platform.messages[0].text.rfind("Note.lst を保存できません。\r\n", 0), 0u) << platform.messages[0].text;
    EXPECT_EQ(tabs(), (QStringList{"A", "B"}));
    EXPECT_EQ(home.read("notes/A.not"), "text\r\n");
    EXPECT_FALSE(home.exists("notes/D.not"));
    EXPECT_EQ(lines(), QStringList{"text"});
}

TEST_F(NoteFixture, DeleteAsksKeepsOneTabAndRemovesTheFile)
{
    home.write("Note.lst", crlf({"A", "B"}));
    home.write("notes/B.not", "b\r\n");
    startNotes();
    clickTab(1);
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    notes->NoteDelete();
    EXPECT_EQ(platform.messages.back().text, "「B」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(tabs(), QStringList{"A"});
    EXPECT_FALSE(home.exists("notes/B.not"));
    EXPECT_EQ(home.read("Note.lst"), crlf({"A"}));

    notes->NoteDelete();
    EXPECT_EQ(platform.messages.back().caption, "ノートの削除");
    EXPECT_EQ(platform.messages.back().text, "ノートは最低１つのタブが必要です。");
    EXPECT_EQ(tabs(), QStringList{"A"});
}

TEST_F(NoteFixture, LinkPartOpensOnAClickAndFileLinksAskFirst)
{
    home.write("Note.lst", crlf({"L"}));
    home.write("notes/L.not", crlf({"hTTp://example.org/ rest of the line", "file:///etc/passwd", "plain"}));
    startNotes();
    QWidget* viewport = notes->ListNote->viewport();
    auto rowPoint = [this](int row, int x) {
        return QPoint(x, notes->ListNote->visualItemRect(notes->ListNote->item(row)).center().y());
    };
    auto* list = dynamic_cast<qt::NoteList*>(notes->ListNote);
    ASSERT_NE(list, nullptr);
    const int linkWidth = list->linkWidth(0);
    ASSERT_GT(linkWidth, 10);

    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowPoint(0, linkWidth + 5));
    EXPECT_TRUE(platform.opened.empty()) << "the plain rest opens nothing";
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowPoint(0, linkWidth / 2));
    EXPECT_EQ(platform.opened, std::vector<std::string>{"hTTp://example.org/"});
    EXPECT_TRUE(platform.messages.empty());

    QTest::qWait(QApplication::doubleClickInterval() + 50);
    platform.messageAnswers.push_back(MessageAnswer::No);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowPoint(1, 8));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "リンクを開く");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(platform.opened.size(), 1u);

    QTest::qWait(QApplication::doubleClickInterval() + 50);
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowPoint(1, 8));
    EXPECT_EQ(platform.opened.back(), "file:///etc/passwd");

    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, rowPoint(2, 8));
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgMemo") << "a double press edits the note";
}

TEST_F(NoteFixture, TheProtectedLastTabAsksWhenChosenAndFallsBackToTheFirst)
{
    home.write("Note.lst", crlf({"A", "B", "Secret"}));
    home.write("notes/Secret.not", "hidden\r\n");
    startNotes("NotePas=1\r\n");
    clickTab(2);
    EXPECT_EQ(notes->TabNote->currentIndex(), 0);
    EXPECT_TRUE(lines().isEmpty());

    passwordGiven = true;
    clickTab(2);
    EXPECT_EQ(notes->TabNote->currentIndex(), 2);
    EXPECT_EQ(lines(), QStringList{"hidden"});
    home.write("notes/Secret.not", "changed\r\n");
    notes->TabNoteEdit(qt::NoteShow::Refresh);
    EXPECT_EQ(lines(), QStringList{"changed"}) << "the refresh reads the note again and asks nothing";
    EXPECT_EQ(passwordQuestions, 2);
}

TEST_F(NoteFixture, NewTabsGoBeforeTheProtectedOneAndItCannotBeMovedOrDeletedWithoutThePassword)
{
    home.write("Note.lst", crlf({"A", "B", "Secret"}));
    home.write("notes/Secret.not", "hidden\r\n");
    startNotes("NotePas=1\r\n");

    platform.inputAnswers.push_back(std::string("New"));
    notes->NoteAdd();
    EXPECT_EQ(tabs(), (QStringList{"A", "B", "New", "Secret"}));

    // Down from the second-to-last place needs the password; cancelled, it is refused.
    notes->PopupNotePopup();
    notes->PopDown->trigger();
    EXPECT_EQ(platform.messages.back().caption, "ノートの移動");
    EXPECT_EQ(platform.messages.back().text, "「Secret」はパスワードで保護されていため移動はできません。");
    EXPECT_EQ(tabs(), (QStringList{"A", "B", "New", "Secret"}));

    // From the first place it swaps the first two.
    clickTab(0);
    notes->PopTabDownClick();
    EXPECT_EQ(tabs(), (QStringList{"B", "A", "New", "Secret"}));
    EXPECT_EQ(home.read("Note.lst"), crlf({"B", "A", "New", "Secret"}));

    // The protected note itself: deleting it asks the password first.
    clickTab(3);
    ASSERT_EQ(notes->TabNote->currentIndex(), 0);
    passwordGiven = true;
    clickTab(3);
    ASSERT_EQ(notes->TabNote->currentIndex(), 3);
    notes->PopTabUpClick();
    EXPECT_EQ(tabs(), (QStringList{"B", "A", "Secret", "New"})) << "given once, the password moves it out";
    EXPECT_EQ(lines(), QStringList{"hidden"});
}

TEST_F(NoteFixture, TwoTabsUnderProtectionCannotBeDeleted)
{
    home.write("Note.lst", crlf({"A", "B"}));
    startNotes("NotePas=1\r\n");
    notes->NoteDelete();
    EXPECT_EQ(platform.messages.back().text, "「B」はパスワードで保護されています。");
    EXPECT_EQ(tabs(), (QStringList{"A", "B"}));
}

TEST_F(NoteFixture, ASingleProtectedTabAsksAtStart)
{
    home.write("Note.lst", crlf({"Only"}));
    home.write("notes/Only.not", "hidden\r\n");
    startNotes("NotePas=1\r\n");
    EXPECT_EQ(passwordQuestions, 1);
    EXPECT_TRUE(lines().isEmpty());

    // Editing it asks again.
    passwordGiven = true;
    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("「Only」の編集"));
        return int(QDialog::Rejected);
    });
    notes->NoteReplace();
    EXPECT_EQ(passwordQuestions, 2);
    EXPECT_EQ(dialogs.shownClasses.size(), 1u);
}

TEST_F(NoteFixture, ThePasswordIsAskedWhenTheUserActsOnly)
{
    home.write("Note.lst", crlf({"A", "B"}));
    passwordGiven = true;
    startNotes("NotePas=1\r\n");
    EXPECT_EQ(passwordQuestions, 0);
    clickTab(1);
    EXPECT_EQ(passwordQuestions, 1);
    EXPECT_EQ(notes->TabNote->currentIndex(), 1) << "the tab opens";
    notes->TabNoteEdit(qt::NoteShow::Refresh);
    notes->NoteReplace(); // cancelled by the fake runner
    EXPECT_EQ(passwordQuestions, 1);
}
