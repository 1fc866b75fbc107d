#include "memo/Note.h"
#include "support/FaultyFileOps.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::crlf;
using kal::test::FaultyFileOps;
using kal::test::FileStep;
using kal::test::sj;
using kal::test::TempFolder;

TEST(Note, TitlesThatCannotNameAFileInTheNoteFolderAreRefused)
{
    struct Case {
        std::string title;
        TitleProblem problem;
    };
    const Case cases[] = {
        {"Work", TitleProblem::None},
        {sj("買い物リスト"), TitleProblem::None},
        {sj("表ソ"), TitleProblem::None}, // trail bytes 0x5C: not a backslash
        {sj("ａ／ｂ"), TitleProblem::None},
        {" leading", TitleProblem::None},
        {"a.b", TitleProblem::None},
        {"", TitleProblem::Empty},
        {"   ", TitleProblem::Empty},
        {"a/b", TitleProblem::ForbiddenCharacter},
        {"../x", TitleProblem::ForbiddenCharacter},
        {"a\\b", TitleProblem::ForbiddenCharacter},
        {"a|b", TitleProblem::ForbiddenCharacter},
        {"what?", TitleProblem::ForbiddenCharacter},
        {"..", TitleProblem::NotAFileName},
        {".", TitleProblem::None},
        {"x..y", TitleProblem::NotAFileName},
        {"tab\tname", TitleProblem::NotAFileName},
        {"a\x7F", TitleProblem::NotAFileName},
        {"broken\x81", TitleProblem::NotAFileName},
        {std::string(251, 'x'), TitleProblem::None},
        {std::string(252, 'x'), TitleProblem::NotAFileName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(CheckNoteTitle(c.title), c.problem);
    }
    for (const char* c = kForbiddenTitleCharacters; *c; ++c) {
        SCOPED_TRACE(*c);
        EXPECT_EQ(CheckNoteTitle(std::string("a") + *c), TitleProblem::ForbiddenCharacter);
    }
}

TEST(Note, DuplicatesCountLetterCase)
{
    const std::vector<std::string> tabs{"Memo", sj("予定")};
    EXPECT_EQ(CheckNewNoteTitle("Memo", tabs), TitleProblem::Duplicate);
    EXPECT_EQ(CheckNewNoteTitle(sj("予定"), tabs), TitleProblem::Duplicate);
    EXPECT_EQ(CheckNewNoteTitle("memo", tabs), TitleProblem::None);
    EXPECT_EQ(CheckNewNoteTitle("a:b", tabs), TitleProblem::ForbiddenCharacter);
}

TEST(Note, MessagesForRefusedTitles)
{
    EXPECT_EQ(TitleProblemMessage(TitleProblem::ForbiddenCharacter, "a/b"),
              "タブ名には次の文字は使えません。\r\n　　\\ / : , ; * ? \" < > |");
    EXPECT_EQ(TitleProblemMessage(TitleProblem::Duplicate, sj("予定")), "「予定」は登録済みです。");
    EXPECT_NE(TitleProblemMessage(TitleProblem::NotAFileName, "..").find("「..」"), std::string::npos);
    EXPECT_EQ(TitleProblemMessage(TitleProblem::Empty, ""), "");
}

TEST(Note, NoteListKeepsUsableTitlesInOrderAndSetsTheRestAside)
{
    NoteList list = ParseNoteList(crlf({"One", "../x", "", sj("二"), "One", "a/b", "Three"}));
    EXPECT_EQ(list.titles, (std::vector<std::string>{"One", sj("二"), "Three"}));
    EXPECT_EQ(list.refused, (std::vector<std::string>{"../x", "a/b"}));
    EXPECT_EQ(list.skipped, (std::vector<std::string>{"../x", "One", "a/b"}));
    EXPECT_TRUE(ParseNoteList("").titles.empty());
    EXPECT_EQ(ParseNoteList(std::string("\0\xFF\r\nok", 6)).titles, std::vector<std::string>{"ok"});

    std::string message = SkippedTitlesMessage(list.skipped);
    EXPECT_NE(message.find("../x"), std::string::npos);

    // A line of tabs is kept, and listed visibly and cut.
    const std::string tabs(10000, '\t');
    const NoteList withTabs = ParseNoteList(crlf({"A", tabs, "   ", "x\ty\x1B"}));
    EXPECT_EQ(withTabs.refused, (std::vector<std::string>{tabs, "x\ty\x1B"}));
    const std::string shown = SkippedTitlesMessage(withTabs.refused);
    EXPECT_TRUE(shown.ends_with("\r\n　→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→→…\r\n　x→y^[")) << shown;
}

TEST(Note, NoteListFileRoundTripsAndKeepsTheLinesItCouldNotUse)
{
    TempFolder home;
    EXPECT_FALSE(LoadNoteList(home.path()).exists);
    home.write("Note.lst", crlf({"A", "../x", "B"}));
    NoteListFile file = LoadNoteList(home.path());
    ASSERT_TRUE(file.exists);
    ASSERT_TRUE(file.readable);
    ASSERT_TRUE(SaveNoteList(home.path(), {"B", "A"}, file.list.refused));
    EXPECT_EQ(home.read("Note.lst"), crlf({"B", "A", "../x"}));
}

TEST(Note, FilePathsStayInTheNoteFolder)
{
    EXPECT_EQ(NoteFilePath("/n", sj("買い物")), "/n/買い物.not");
    EXPECT_EQ(NoteListPath("/home/"), "/home/Note.lst");
    EXPECT_EQ(NoteTitleOfFile("/elsewhere/日記.not"), sj("日記"));
    EXPECT_EQ(NoteTitleOfFile("plain"), "plain");
}

TEST(Note, NewTabsGoBeforeTheProtectedLastTab)
{
    EXPECT_EQ(NewTabIndex(3, false), 3);
    EXPECT_EQ(NewTabIndex(3, true), 2);
    EXPECT_EQ(NewTabIndex(1, true), 0);
    EXPECT_EQ(NewTabIndex(0, true), 0);
}

TEST(Note, MovingIntoOrOutOfTheProtectedPlaceNeedsThePassword)
{
    struct Case {
        int index, step, count;
        bool protectedLast;
        TabMove expected;
    };
    const Case cases[] = {
        {1, +1, 3, true, TabMove::NeedsPassword}, {0, +1, 3, true, TabMove::Allowed},
        {2, -1, 3, true, TabMove::NeedsPassword}, {1, -1, 3, true, TabMove::Allowed},
        {1, +1, 3, false, TabMove::Allowed},      {2, -1, 3, false, TabMove::Allowed},
        {2, +1, 3, false, TabMove::Impossible},   {0, -1, 3, true, TabMove::Impossible},
        {0, +1, 1, true, TabMove::Impossible},    {-1, +1, 0, false, TabMove::Impossible},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " by " << c.step << " of " << c.count << " protected "
                                        << c.protectedLast);
        EXPECT_EQ(CheckTabMove(c.index, c.step, c.count, c.protectedLast), c.expected);
    }
}

TEST(Note, RemovalKeepsOneTabAndTheProtectedNote)
{
    EXPECT_EQ(CheckNoteRemoval(0, 1, false), NoteRemoval::LastTab);
    EXPECT_EQ(CheckNoteRemoval(0, 0, false), NoteRemoval::LastTab);
    EXPECT_EQ(CheckNoteRemoval(0, 2, true), NoteRemoval::ProtectedPair);
    EXPECT_EQ(CheckNoteRemoval(1, 2, true), NoteRemoval::ProtectedPair);
    EXPECT_EQ(CheckNoteRemoval(1, 2, false), NoteRemoval::Allowed);
    EXPECT_EQ(CheckNoteRemoval(2, 3, true), NoteRemoval::NeedsPassword);
    EXPECT_EQ(CheckNoteRemoval(1, 3, true), NoteRemoval::Allowed);
}

TEST(Note, RenameMovesTheFileAndRefusesAnExistingOne)
{
    TempFolder notes;
    notes.write("A.not", "text\r\n");
    EXPECT_EQ(RenameNoteFile(notes.path(), "A", "B", std::nullopt).status, NoteRename::Done);
    EXPECT_FALSE(notes.exists("A.not"));
    EXPECT_EQ(notes.read("B.not"), "text\r\n");

    notes.write("C.not", "other\r\n");
    EXPECT_EQ(RenameNoteFile(notes.path(), "B", "C", std::nullopt).status, NoteRename::Exists);
    EXPECT_EQ(notes.read("B.not"), "text\r\n");
    EXPECT_EQ(notes.read("C.not"), "other\r\n");
    EXPECT_EQ(RenameNoteFile(notes.path(), "Empty", "New", std::nullopt).status, NoteRename::Done)
        << "a note without file";
}

TEST(Note, RenameWritesTheListOrPutsTheFileBack)
{
    struct Case {
        const char* name;
        FileStep step;
        int call;
        bool withFile;
        NoteRename status;
        const char* file; // where the note's text is afterwards
        const char* list;
    };
    // The rename of the file is rename call 1, the list's own save rename call 2.
    const Case cases[] = {
        {"no fault", FileStep::Count, 0, true, NoteRename::Done, "B.not", "B\r\nX\r\nbad:line\r\n"},
        {"file rename fails", FileStep::Rename, 1, true, NoteRename::Failed, "A.not", "A\r\nX\r\n"},
        {"list cannot be written", FileStep::Write, 1, true, NoteRename::Failed, "A.not", "A\r\nX\r\n"},
        {"list rename fails", FileStep::Rename, 2, true, NoteRename::Failed, "A.not", "A\r\nX\r\n"},
        {"putting the name back fails too", FileStep::Count, 0, true, NoteRename::ListUnsaved, "B.not", "A\r\nX\r\n"},
        {"note without file, list fails", FileStep::Open, 1, false, NoteRename::Failed, nullptr, "A\r\nX\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        dir.write("Note.lst", "A\r\nX\r\n");
        if (c.withFile)
            dir.write("A.not", "text\r\n");
        const NoteOrder order{dir.path(), {"B", "X"}, {"bad:line"}};
        // The double fault: every rename after the first fails, and the list's write too.
        struct AfterFirstRename : FaultyFileOps {
            int renames = 0;
            int rename(const char* from, const char* to) override
            {
                if (++renames == 1)
                    return FaultyFileOps::rename(from, to);
                errno = EIO;
                return -1;
            }
        } doubleFault;
        FaultyFileOps single(c.step, c.call, ENOSPC);
        files::FileOps& ops = c.status == NoteRename::ListUnsaved ? static_cast<files::FileOps&>(doubleFault) : single;
        const NoteRenameResult result = RenameNoteFile(dir.path(), "A", "B", order, ops);
        EXPECT_EQ(result.status, c.status) << result.reason;
        EXPECT_EQ(result.reason.empty(), c.status == NoteRename::Done) << result.reason;
        EXPECT_EQ(dir.read("Note.lst"), c.list);
        for (const char* name : {"A.not", "B.not"})
            EXPECT_EQ(dir.exists(name), c.file && std::string(name) == c.file) << name;
        if (c.file) {
            EXPECT_EQ(dir.read(c.file), "text\r\n");
        }
        EXPECT_EQ(files::listFiles(dir.path(), "*.tmp-*").size(), 0u);
    }
}

TEST(Note, LinkLinesAndWhatOpensThem)
{
    struct Case {
        std::string line;
        bool link;
        std::size_t length;
        std::string target;
        LinkKind kind;
    };
    const Case cases[] = {
        {"http://example.org/a page", true, 21, "http://example.org/a", LinkKind::Web},
        {"HTTPS://x.jp", true, 12, "HTTPS://x.jp", LinkKind::Web},
        {"mailto:a@b.jp hello", true, 14, "mailto:a@b.jp", LinkKind::Mail},
        {"file:///etc/passwd", true, 18, "file:///etc/passwd", LinkKind::Other},
        {"FiLe://x y", true, 9, "FiLe://x", LinkKind::Other},
        {" http://x", false, 0, "", LinkKind::Other},
        {"http:/x", false, 0, "", LinkKind::Other},
        {"ftp://x", false, 0, "", LinkKind::Other},
        {"", false, 0, "", LinkKind::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::optional<NoteLink> link = NoteLinkOf(c.line);
        ASSERT_EQ(link.has_value(), c.link);
        if (!link)
            continue;
        EXPECT_EQ(link->length, c.length);
        EXPECT_EQ(link->target, c.target);
        EXPECT_EQ(link->kind, c.kind);
    }
    EXPECT_TRUE(OpensWithoutAsking(LinkKind::Web));
    EXPECT_TRUE(OpensWithoutAsking(LinkKind::Mail));
    EXPECT_FALSE(OpensWithoutAsking(LinkKind::Other));

    const std::string line = "http://x " + std::string(300, 'r');
    EXPECT_EQ(NoteLinkRest(line, *NoteLinkOf(line)), std::string(255, 'r'));
}
