#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/LineCursor.h"
#include "support/FaultyFileOps.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace kal;
using kal::test::TempFolder;

TEST(LineFiles, EveryLineEndIsAcceptedAndSavesUseCrLf)
{
    TempFolder dir;
    dir.write("mixed.txt", "a\r\nb\nc\rd");
    EXPECT_EQ(files::loadLines(dir.file("mixed.txt")), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(files::loadLines(dir.file("missing.txt")), std::vector<std::string>{});
    dir.write("blank.txt", "\r\n\r\n");
    EXPECT_EQ(files::loadLines(dir.file("blank.txt")), (std::vector<std::string>{"", ""}));

    ASSERT_TRUE(files::saveLines(dir.file("out.txt"), {"x", "", "y"}));
    EXPECT_EQ(dir.read("out.txt"), "x\r\n\r\ny\r\n");
}

TEST(LineFiles, FailedSaveKeepsWhatWasThereAndGivesTheReason)
{
    TempFolder dir;
    // A folder in the way cannot be replaced by the renamed temporary file.
    files::createFolders(dir.file("target.sch"));
    dir.write("target.sch/inside.txt", "old\r\n");
    files::IoResult result = files::saveLines(dir.file("target.sch"), {"new"});
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(dir.read("target.sch/inside.txt"), "old\r\n");
    EXPECT_EQ(files::listFiles(dir.path(), "*"), std::vector<std::string>{});
}

TEST(LineFiles, SaveIntoMissingFolderFailsWithReason)
{
    TempFolder dir;
    files::IoResult result = files::saveLines(dir.file("no/such/file.txt"), {"x"});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "ファイルまたはフォルダが見つかりません。");
}

TEST(LineFiles, SaveLeavesNoTemporaryFileAndKeepsPermissions)
{
    TempFolder dir;
    dir.write("data.sch", "1\r\n");
    ::chmod(dir.file("data.sch").c_str(), 0640);
    ASSERT_TRUE(files::saveLines(dir.file("data.sch"), {"2"}));
    EXPECT_EQ(files::listFiles(dir.path(), "*"), std::vector<std::string>{"data.sch"});
    struct stat st { };
    ::stat(dir.file("data.sch").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(LineFiles, WildcardListingIgnoresCaseAndFolders)
{
    TempFolder dir;
    dir.write("200401.sch", "");
    dir.write("200402.SCH", "");
    dir.write("note.txt", "");
    files::createFolders(dir.file("sub.sch"));
    // A link counts as what it points to.
    ASSERT_EQ(::symlink(dir.file("200401.sch").c_str(), dir.file("200403.sch").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("sub.sch").c_str(), dir.file("200404.sch").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("missing").c_str(), dir.file("200405.sch").c_str()), 0);
    auto names = files::listFiles(dir.path(), "*.sch");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"200401.sch", "200402.SCH", "200403.sch"}));
}

TEST(IniFile, NamesIgnoreCaseAndValuesAreTheRestOfTheLine)
{
    TempFolder dir;
    dir.write("k.ini", "; comment\r\n[Window]\r\nTitle=My Calendar = 2\r\nwidth=800\r\n[View]\r\nMonWeek=x5\r\n");
    IniFile ini(dir.file("k.ini"));
    ini.load();
    EXPECT_EQ(ini.readString("window", "TITLE", ""), "My Calendar = 2");
    EXPECT_EQ(ini.readInteger("Window", "Width", 0), 800);
    EXPECT_EQ(ini.readInteger("View", "MonWeek", 6), 6);
    EXPECT_EQ(ini.readInteger("View", "Missing", 7), 7);
    EXPECT_TRUE(ini.readBool("Window", "Width", false));
    EXPECT_EQ(ini.readString("Nope", "Title", "d"), "d");
}

TEST(IniFile, WritingAKeyKeepsEveryOtherLine)
{
    TempFolder dir;
    dir.write("k.ini", "; keep me\r\n[Window]\r\nTitle=A\r\ngarbage line\r\n\r\n[View]\r\nNote=1\r\n");
    IniFile ini(dir.file("k.ini"));
    ini.load();
    ini.writeString("WINDOW", "title", "B");
    ini.writeInteger("Window", "Width", 640);
    ini.writeString("Clock", "Type", "1");
    ASSERT_TRUE(ini.flush());
    EXPECT_EQ(dir.read("k.ini"), "; keep me\r\n[Window]\r\nTitle=B\r\ngarbage line\r\nWidth=640\r\n\r\n[View]\r\n"
                                 "Note=1\r\n[Clock]\r\nType=1\r\n");
}

TEST(IniFile, IntegerReadingFallsBackOnBadText)
{
    EXPECT_EQ(parseProfileInteger("12"), 12);
    EXPECT_EQ(parseProfileInteger(" -3 "), -3);
    EXPECT_EQ(parseProfileInteger("$FF"), 255);
    EXPECT_EQ(parseProfileInteger("0x10"), 16);
    EXPECT_FALSE(parseProfileInteger("12px"));
    EXPECT_FALSE(parseProfileInteger(""));
    EXPECT_FALSE(parseProfileInteger("99999999999"));
}

TEST(LineFiles, AFileThatCannotBeReadIsNeverReplaced)
{
    TempFolder dir;
    EXPECT_TRUE(files::loadLinesForUpdate(dir.file("missing.txt")).ok);
    dir.write("plain.txt", "a\r\n");
    EXPECT_EQ(files::loadLinesForUpdate(dir.file("plain.txt")).lines, std::vector<std::string>{"a"});

    // Something that is there but cannot be read as a file.
    files::createFolders(dir.file("Kalendra.ini"));
    dir.write("Kalendra.ini/keep.txt", "x");
    files::LoadForUpdate loaded = files::loadLinesForUpdate(dir.file("Kalendra.ini"));
    EXPECT_FALSE(loaded.ok);
    EXPECT_FALSE(loaded.reason.empty());
    IniFile ini(dir.file("Kalendra.ini"));
    ini.load();
    ini.writeInteger("View", "Catchk", 1);
    files::IoResult flushed = ini.flush();
    EXPECT_FALSE(flushed.ok);
    EXPECT_EQ(dir.read("Kalendra.ini/keep.txt"), "x");
}

// A file staged beside its target replaces it only when placed; one never placed, or whose
// writing failed, leaves the old content and no temporary file.
TEST(StagedFile, ReplacesTheTargetOnlyWhenPlaced)
{
    using kal::test::FaultyFileOps;
    using kal::test::FileStep;
    struct Case {
        const char* what;
        FileStep failing;
        bool place;
        bool staged;
        const char* content;
    };
    const Case cases[] = {
        {"placed", FileStep::Count, true, true, "new\r\n"},
        {"never placed", FileStep::Count, false, true, "old\r\n"},
        {"write fails", FileStep::Write, true, false, "old\r\n"},
        {"flush fails", FileStep::Fsync, true, false, "old\r\n"},
        {"close fails", FileStep::Close, true, false, "old\r\n"},
        {"rename fails", FileStep::Rename, true, true, "old\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        dir.write("202603.sch", "old\r\n");
        FaultyFileOps ops = c.failing == FileStep::Count ? FaultyFileOps() : FaultyFileOps(c.failing, 1, EIO);
        {
            files::StagedFile staged;
            const files::IoResult written = files::stageBytes(dir.file("202603.sch"), "new\r\n", staged, ops);
            EXPECT_EQ(written.ok, c.staged);
            if (written && c.place)
                EXPECT_EQ(files::placeStaged(staged, ops).ok, c.failing != FileStep::Rename);
            EXPECT_EQ(dir.read("202603.sch"), c.place && c.failing == FileStep::Count ? "new\r\n" : "old\r\n");
        }
        EXPECT_EQ(dir.read("202603.sch"), c.content);
        EXPECT_EQ(files::listFiles(dir.path(), "*"), std::vector<std::string>{"202603.sch"});
    }
}

TEST(LineFiles, LinesAreSplitAsByteByByteOverGeneratedTexts)
{
    // The plain definition: every CR, LF or CR LF ends a line; text after the last one is a line.
    auto byteByByte = [](const std::string& bytes) {
        std::vector<std::string> lines;
        std::string line;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\r' && bytes[i] != '\n') {
                line += bytes[i];
                continue;
            }
            lines.push_back(std::exchange(line, {}));
            i += bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        }
        if (!line.empty())
            lines.push_back(line);
        return lines;
    };
    std::mt19937 random(30);
    const std::string alphabets[] = {"a\r", "a\n", std::string("a\r\n\0\x82", 5)};
    for (int i = 0; i < 6000; ++i) {
        const std::string& alphabet = alphabets[i % 3];
        std::string bytes(random() % (i % 10 ? 200 : 1200), ' ');
        for (char& c : bytes)
            c = alphabet[random() % alphabet.size()];
        ASSERT_EQ(files::splitLines(bytes), byteByByte(bytes)) << i;
        // A cursor asked at rising places gives each place's line as the split numbers it.
        std::vector<std::string_view> views;
        files::splitLineViews(bytes, views);
        files::LineCursor cursor(bytes);
        std::size_t line = 0;
        for (std::size_t at = random() % 20; at < bytes.size(); at += 1 + random() % 40) {
            while (line + 1 < views.size() && views[line + 1].data() <= bytes.data() + at)
                ++line;
            const files::LineCursor::Line found = cursor.lineAt(at);
            ASSERT_EQ(found.index, line) << i << " at " << at;
            ASSERT_EQ(found.text, views[line]) << i << " at " << at;
        }
    }
}
