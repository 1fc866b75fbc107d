#include "app/Password.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sodium.h>
#include <sys/stat.h>

using namespace kal;
using kal::test::TempFolder;

namespace {

PasswordFile scrambledFile(const std::string& password)
{
    return ParsePasswordFile(EncodeStr(password, DateTime{{2026, 1, 2}, 3, 4, 5}) + "\r\n");
}

} // namespace

TEST(Password, OldFormHoldsTimestampPlusPasswordScrambled)
{
    DateTime when{{2026, 12, 8}, 9, 5, 7};
    std::string scrambled = EncodeStr("secret", when);
    EXPECT_EQ(scrambled.size(), 19u);
    EXPECT_EQ(static_cast<unsigned char>(scrambled[0]), '0' ^ kScrambleKey);
    EXPECT_EQ(DecodeStr(scrambled), "secret");
}

TEST(Password, OldFormAcceptsPasswordsWhoseBytesScrambleToLineEndsNulAndEndOfFile)
{
    // P, W, ] and G scramble to CR, LF, NUL and Ctrl-Z.
    for (const std::string password : {"PWxPW", "ab]]", "GGGG", "xyzP", "Wxyz", "P]WG"}) {
        SCOPED_TRACE(password);
        PasswordFile file = scrambledFile(password);
        EXPECT_EQ(file.form, PasswordForm::Scrambled);
        EXPECT_EQ(checkPassword(file, password), PasswordVerdict::Accepted);
        EXPECT_EQ(checkPassword(file, password.substr(0, 3)), PasswordVerdict::Wrong);
    }
}

TEST(Password, ComparisonIsExact)
{
    PasswordFile file = scrambledFile("Abcd");
    EXPECT_EQ(checkPassword(file, "Abcd"), PasswordVerdict::Accepted);
    EXPECT_EQ(checkPassword(file, "abcd"), PasswordVerdict::Wrong);
    EXPECT_EQ(checkPassword(file, " Abcd"), PasswordVerdict::Wrong);
}

TEST(Password, EmptyFileAcceptsAndShortLineAcceptsNothing)
{
    TempFolder dir;
    dir.write(kPasswordFileName, "");
    auto empty = readPasswordFile(dir.file(kPasswordFileName));
    ASSERT_TRUE(empty);
    EXPECT_EQ(checkPassword(*empty, "anything"), PasswordVerdict::Accepted);
    EXPECT_FALSE(PasswordIsSet(dir.file(kPasswordFileName)));

    dir.write(kPasswordFileName, "abc\r\n");
    auto shortLine = readPasswordFile(dir.file(kPasswordFileName));
    ASSERT_TRUE(shortLine);
    EXPECT_EQ(DecodeStr(shortLine->line), "");
    EXPECT_EQ(checkPassword(*shortLine, "abc"), PasswordVerdict::Wrong);
    EXPECT_TRUE(PasswordIsSet(dir.file(kPasswordFileName)));
    EXPECT_FALSE(readPasswordFile(dir.file("none.pwd")));
    EXPECT_FALSE(PasswordIsSet(dir.file("none.pwd")));
}

TEST(Password, NewPasswordIsStoredAsAnOwnerOnlySaltedHash)
{
    TempFolder dir;
    const std::string path = dir.file(kPasswordFileName);
    // Hashing is slow on purpose: the test hashes twice and checks twice.
    const std::string password = "P]WG";
    ASSERT_TRUE(writePasswordFile(path, password));
    const std::string stored = dir.read(kPasswordFileName);
    EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u);
    EXPECT_EQ(stored.substr(stored.size() - 2), "\r\n");
    EXPECT_EQ(stored.find(password), std::string::npos);

    struct stat st { };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    std::optional<PasswordFile> file = readPasswordFile(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->form, PasswordForm::Hashed);
    EXPECT_EQ(checkPassword(*file, password), PasswordVerdict::Accepted);
    EXPECT_EQ(checkPassword(*file, "P]Wg"), PasswordVerdict::Wrong);
    EXPECT_NE(*HashPassword(password) + "\r\n", stored) << "salted";
}

TEST(Password, DamagedHashLinesAcceptNothing)
{
    for (const std::string& line :
         {std::string("$argon2id$"), std::string("$argon2id$v=19$m=8,t=1,p=1$\0x", 28), std::string(400, '$')}) {
        PasswordFile file = ParsePasswordFile("$argon2id$" + line + "\r\n");
        EXPECT_EQ(file.form, PasswordForm::Hashed);
        EXPECT_EQ(checkPassword(file, "anything"), PasswordVerdict::Wrong);
        EXPECT_EQ(checkPassword(file, ""), PasswordVerdict::Wrong);
    }
}

TEST(Password, HashLinesAskingForExcessiveCostsAcceptNothing)
{
    // Cheap in memory, so only the pass count decides; the same password at a sane count passes.
    ASSERT_GE(sodium_init(), 0);
    struct Case {
        unsigned long long passes;
        PasswordVerdict verdict;
    };
    for (const Case& c : {Case{crypto_pwhash_OPSLIMIT_SENSITIVE, PasswordVerdict::Accepted},
                          Case{crypto_pwhash_OPSLIMIT_SENSITIVE + 1, PasswordVerdict::Wrong}}) {
        SCOPED_TRACE(c.passes);
        char hashed[crypto_pwhash_STRBYTES];
        ASSERT_EQ(crypto_pwhash_str_alg(hashed, "secret", 6, c.passes, crypto_pwhash_MEMLIMIT_MIN,
                                        crypto_pwhash_ALG_ARGON2ID13),
                  0);
        PasswordFile file = ParsePasswordFile(std::string(hashed) + "\r\n");
        ASSERT_EQ(file.form, PasswordForm::Hashed);
        EXPECT_EQ(checkPassword(file, "secret"), c.verdict);
    }
    PasswordFile huge = ParsePasswordFile("$argon2id$v=19$m=4194304,t=1,p=1$c2FsdHNhbHRzYWx0c2FsdA$"
                                          "aGFzaGhhc2hoYXNoaGFzaGhhc2hoYXNoaGFzaGhhc2g\r\n");
    EXPECT_EQ(checkPassword(huge, "secret"), PasswordVerdict::Wrong);
}
