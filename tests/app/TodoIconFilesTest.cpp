#include "app/TodoIconFiles.h"
#include "support/FaultyFileOps.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

TEST(TodoIconFiles, EachPictureWrittenTurnsItsFlagOnAndAFailureKeepsTheOldOne)
{
    struct Case {
        const char* name;
        int failingOpen; // 0 none; 1 the first picture written, 2 the second
        TodoIconFlags flags;
        const char* icon1;
        const char* icon3;
        std::size_t failures;
    };
    const Case cases[] = {
        {"both written", 0, TodoIconFlags({1, 0, 1}), "BMone", "BMthree", 0},
        {"first refused", 1, TodoIconFlags({0, 0, 1}), "BMold", "BMthree", 1},
        {"second refused", 2, TodoIconFlags({1, 0, 0}), "BMone", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        dir.write("TNoicon1.sbm", "BMold");
        TodoIconFlags flags;
        FaultyFileOps ops(FileStep::Open, c.failingOpen, ENOSPC);
        const std::vector<std::string> failures = SaveTodoIcons(
            dir.path(), {std::string("BMone"), std::nullopt, std::string("BMthree"), std::nullopt}, flags, ops);
        EXPECT_EQ(flags, c.flags);
        EXPECT_EQ(dir.read("TNoicon1.sbm"), c.icon1);
        EXPECT_EQ(dir.exists("TNoicon3.sbm"), c.icon3 != nullptr);
        if (c.icon3) {
            EXPECT_EQ(dir.read("TNoicon3.sbm"), c.icon3);
        }
        EXPECT_FALSE(dir.exists("TNoicon2.sbm"));
        ASSERT_EQ(failures.size(), c.failures);
        if (!failures.empty()) {
            EXPECT_NE(failures[0].find(c.failingOpen == 1 ? "TNoicon1.sbm" : "TNoicon3.sbm"), std::string::npos);
            EXPECT_NE(failures[0].find(files::systemErrorText(ENOSPC)), std::string::npos) << failures[0];
        }
    }
}
