// The notes panel as the main window drives it: tabs and Note.lst, every note command, link
// lines and the protected last tab, offscreen with the fake platform.
#include "app/Password.h"
#include "app/TDlgPasswd.h"
#include "app/TForm1.h"
#include "memo/TDlgMemo.h"
#include "support/MainWindowFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kal;
using namespace kal::test;

namespace {

struct NoteFixture : MainWindowFixture {
    // The notes live in their own folder, so a title could only reach `home` by escaping it.
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        std::filesystem::create_directory(home.file("notes"));
    }
    void startNotes(const std::string& view = "") { start("NotePath=notes\r\n[View]\r\n" + view); }
    void setPassword(const std::string& password)
    {
        home.write(kPasswordFileName, EncodeStr(password, DateTime{}) + "\r\n");
    }
    qt::NotePanel& notes() { return *form->PanelNote; }
    QStringList tabs() const
    {
        QStringList out;
        for (int i = 0; i < form->PanelNote->TabNote->count(); ++i)
            out << form->PanelNote->TabNote->tabText(i);
        return out;
    }
    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < form->PanelNote->ListNote->count(); ++i)
            out << form->PanelNote->ListNote->item(i)->text();
        return out;
    }
    // The password prompt answered with `entry`, or cancelled when it is null.
    FakeDialogRunner::Handler answerPassword(const char* entry, QString* label = nullptr)
    {
        return [entry, label](QDialog& dialog) {
            auto& prompt = dynamic_cast<TDlgPasswd&>(dialog);
            if (label)
                *label = prompt.LabelPasswd->text();
            if (!entry)
                return int(QDialog::Rejected);
            prompt.MskPasswd->setText(QString::fromUtf8(entry));
            prompt.BtnOkClick();
            return prompt.result();
        };
    }
    void clickTab(int index)
    {
        QTest::mouseClick(form->PanelNote->TabNote, Qt::LeftButton, {},
                          form->PanelNote->TabNote->tabRect(index).center());
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
    form->PanelNote->PopupNotePopup();
    form->PanelNote->PopNoteAdd->trigger();
    form->PanelNote->NoteAdd();
    form->PanelNote->NoteAdd();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].caption, "エラー");
    EXPECT_EQ(platform.messages[0].text, "タブ名には次の文字は使えません。\r\n　　\\ / : , ; * ? \" < > |");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(platform.messages[1].text, "「未登録」は登録済みです。");
    EXPECT_EQ(platform.inputPrompts.at(0), "ノートの新規作成|タイトル：");
    EXPECT_EQ(tabs(), (QStringList{QString::fromUtf8("未登録"), QString::fromUtf8("未登録 ")}));
    EXPECT_EQ(form->PanelNote->TabNote->currentIndex(), 1);
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

    form->PanelNote->PopDown->trigger(); // enabled only by the pop-up
    EXPECT_EQ(tabs(), (QStringList{"A", "B"}));
    form->PanelNote->PopupNotePopup();
    form->PanelNote->PopDown->trigger();
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
    form->PanelNote->TBtnNote->trigger();
    EXPECT_EQ(lines(), (QStringList{"one", "two", "three"}));

    form->PanelNote->ListNote->setCurrentRow(1);
    form->PanelNote->PopupNotePopup();
    EXPECT_TRUE(form->PanelNote->PopNoteLineDel->isEnabled());
    EXPECT_TRUE(form->PanelNote->PopNoteClear->isEnabled());
    form->PanelNote->PopNoteLineDel->trigger();
    EXPECT_EQ(home.read("notes/A.not"), crlf({"one", "three"}));

    platform.messageAnswers.push_back(MessageAnswer::Yes);
    form->PanelNote->PopNoteClear->trigger();
    EXPECT_EQ(platform.messages.back().caption, "内容の消去");
    EXPECT_EQ(platform.messages.back().text, "「A」の内容をすべて消去します。\r\nよろしいですか？");
    EXPECT_FALSE(home.exists("notes/A.not"));
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(tabs(), (QStringList{"A", "B"}));
    form->PanelNote->PopupNotePopup();
    EXPECT_FALSE(form->PanelNote->PopNoteClear->isEnabled());
    EXPECT_FALSE(form->PanelNote->PopNoteLineDel->isEnabled());
}

TEST_F(NoteFixture, RenameMovesTheFileAndRefusesTakenTitles)
{
    home.write("Note.lst", crlf({"A", "B"}));
    home.write("notes/A.not", "text\r\n");
    home.write("notes/C.not", "other\r\n");
    startNotes();
    platform.inputAnswers = {std::string("B"), std::string("C"), std::string("D")};
    form->PanelNote->RenameTitle();
    form->PanelNote->RenameTitle();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, "「B」は登録済みです。");
    EXPECT_EQ(platform.messages[1].text, "「C」は登録済みです。");
    EXPECT_EQ(platform.inputInitials.at(0), "A");
    form->PanelNote->RenameTitle();
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
    form->PanelNote->RenameTitle();
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
    form->PanelNote->NoteDelete();
    EXPECT_EQ(platform.messages.back().text, "「B」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(tabs(), QStringList{"A"});
    EXPECT_FALSE(home.exists("notes/B.not"));
    EXPECT_EQ(home.read("Note.lst"), crlf({"A"}));

    form->PanelNote->NoteDelete();
    EXPECT_EQ(platform.messages.back().caption, "ノートの削除");
    EXPECT_EQ(platform.messages.back().text, "ノートは最低１つのタブが必要です。");
    EXPECT_EQ(tabs(), QStringList{"A"});
}

TEST_F(NoteFixture, LinkPartOpensOnAClickAndFileLinksAskFirst)
{
    home.write("Note.lst", crlf({"L"}));
    home.write("notes/L.not", crlf({"hTTp://example.org/ rest of the line", "file:///etc/passwd", "plain"}));
    startNotes();
    QWidget* viewport = form->PanelNote->ListNote->viewport();
    auto rowPoint = [this](int row, int x) {
        return QPoint(x, form->PanelNote->ListNote->visualItemRect(form->PanelNote->ListNote->item(row)).center().y());
    };
    auto* list = dynamic_cast<qt::NoteList*>(form->PanelNote->ListNote);
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
    setPassword("P]WG");
    home.write("Note.lst", crlf({"A", "B", "Secret"}));
    home.write("notes/Secret.not", "hidden\r\n");
    startNotes("NotePas=1\r\n");
    QString label;
    dialogs.handlers.push_back(answerPassword(nullptr, &label));
    clickTab(2);
    EXPECT_EQ(label, QString::fromUtf8("ノートのパスワードの入力："));
    EXPECT_EQ(form->PanelNote->TabNote->currentIndex(), 0);
    EXPECT_TRUE(lines().isEmpty());

    dialogs.handlers.push_back(answerPassword("P]WG"));
    clickTab(2);
    EXPECT_EQ(form->PanelNote->TabNote->currentIndex(), 2);
    EXPECT_EQ(lines(), QStringList{"hidden"});
    home.write("notes/Secret.not", "changed\r\n");
    form->PeriodicRefresh();
    EXPECT_EQ(lines(), QStringList{"changed"}) << "the refresh reads the note again and asks nothing";
    EXPECT_EQ(dialogs.shownClasses.size(), 2u);
}

TEST_F(NoteFixture, NewTabsGoBeforeTheProtectedOneAndItCannotBeMovedOrDeletedWithoutThePassword)
{
    setPassword("right");
    home.write("Note.lst", crlf({"A", "B", "Secret"}));
    home.write("notes/Secret.not", "hidden\r\n");
    startNotes("NotePas=1\r\n");

    platform.inputAnswers.push_back(std::string("New"));
    form->PanelNote->NoteAdd();
    EXPECT_EQ(tabs(), (QStringList{"A", "B", "New", "Secret"}));

    // Down from the second-to-last place needs the password; cancelled, it is refused.
    dialogs.handlers.push_back(answerPassword(nullptr));
    form->PanelNote->PopupNotePopup();
    form->PanelNote->PopDown->trigger();
    EXPECT_EQ(platform.messages.back().caption, "ノートの移動");
    EXPECT_EQ(platform.messages.back().text, "「Secret」はパスワードで保護されていため移動はできません。");
    EXPECT_EQ(tabs(), (QStringList{"A", "B", "New", "Secret"}));

    // From the first place it swaps the first two.
    clickTab(0);
    form->PanelNote->PopTabDownClick();
    EXPECT_EQ(tabs(), (QStringList{"B", "A", "New", "Secret"}));
    EXPECT_EQ(home.read("Note.lst"), crlf({"B", "A", "New", "Secret"}));

    // The protected note itself: deleting it asks the password first.
    dialogs.handlers.push_back(answerPassword("wrong"));
    clickTab(3);
    ASSERT_EQ(form->PanelNote->TabNote->currentIndex(), 0);
    dialogs.handlers.push_back(answerPassword("right"));
    clickTab(3);
    ASSERT_EQ(form->PanelNote->TabNote->currentIndex(), 3);
    form->PanelNote->PopTabUpClick();
    EXPECT_EQ(tabs(), (QStringList{"B", "A", "Secret", "New"})) << "given once, the password moves it out";
    EXPECT_EQ(lines(), QStringList{"hidden"});
}

TEST_F(NoteFixture, TwoTabsUnderProtectionCannotBeDeleted)
{
    setPassword("right");
    home.write("Note.lst", crlf({"A", "B"}));
    startNotes("NotePas=1\r\n");
    form->PanelNote->NoteDelete();
    EXPECT_EQ(platform.messages.back().text, "「B」はパスワードで保護されています。");
    EXPECT_EQ(tabs(), (QStringList{"A", "B"}));
}

TEST_F(NoteFixture, ASingleProtectedTabAsksAtStart)
{
    setPassword("right");
    home.write("Note.lst", crlf({"Only"}));
    home.write("notes/Only.not", "hidden\r\n");
    dialogs.handlers.push_back(answerPassword(nullptr));
    startNotes("NotePas=1\r\n");
    EXPECT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_TRUE(lines().isEmpty());

    // Editing it asks again.
    dialogs.handlers.push_back(answerPassword("right"));
    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("「Only」の編集"));
        return int(QDialog::Rejected);
    });
    form->PanelNote->NoteReplace();
    EXPECT_EQ(dialogs.shownClasses.size(), 3u);
}

TEST_F(NoteFixture, MissingPasswordIsReportedWhenTheUserActsOnly)
{
    home.write("Note.lst", crlf({"A", "B"}));
    startNotes("NotePas=1\r\n");
    EXPECT_TRUE(platform.messages.empty());
    clickTab(1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "パスワード設定エラー");
    EXPECT_EQ(form->PanelNote->TabNote->currentIndex(), 1) << "the tab opens";
    form->PeriodicRefresh();
    form->PanelNote->NoteReplace(); // cancelled by the fake runner
    EXPECT_EQ(platform.messages.size(), 1u);
}
