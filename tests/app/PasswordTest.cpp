#include "app/Password.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::TempFolder;

TEST(Password, ScramblingRoundTripsAndTheFileHoldsTimestampPlusPassword)
{
    DateTime when{{2026, 12, 8}, 9, 5, 7};
    std::string scrambled = EncodeStr("secret", when);
    EXPECT_EQ(scrambled.size(), 19u);
    EXPECT_EQ(static_cast<unsigned char>(scrambled[0]), '0' ^ kScrambleKey);
    EXPECT_EQ(DecodeStr(scrambled), "secret");

    TempFolder dir;
    ASSERT_TRUE(writePasswordFile(dir.file(kPasswordFileName), "secret", when));
    EXPECT_EQ(dir.read(kPasswordFileName).size(), 21u);
}

TEST(Password, PAndWSurviveAlthoughTheyScrambleToLineEnds)
{
    TempFolder dir;
    DateTime when{{2026, 1, 2}, 3, 4, 5};
    ASSERT_TRUE(writePasswordFile(dir.file(kPasswordFileName), "PWxPW", when));
    std::string scrambled = EncodeStr("PWxPW", when);
    EXPECT_NE(scrambled.find('\r'), std::string::npos);
    EXPECT_NE(scrambled.find('\n'), std::string::npos);

    auto file = readPasswordFile(dir.file(kPasswordFileName));
    ASSERT_TRUE(file);
    EXPECT_EQ(checkPassword(*file, "PWxPW"), PasswordVerdict::Accepted);
    EXPECT_EQ(checkPassword(*file, "PWx"), PasswordVerdict::Wrong);
}

TEST(Password, ComparisonIsExact)
{
    PasswordFile file;
    file.hasLine = true;
    file.scrambled = EncodeStr("Abcd", DateTime{});
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

    dir.write(kPasswordFileName, "abc\r\n");
    auto shortLine = readPasswordFile(dir.file(kPasswordFileName));
    ASSERT_TRUE(shortLine);
    EXPECT_EQ(DecodeStr(shortLine->scrambled), "");
    EXPECT_EQ(checkPassword(*shortLine, "abc"), PasswordVerdict::Wrong);
    EXPECT_FALSE(readPasswordFile(dir.file("none.pwd")));
}
