#include "todo/TodoRecord.h"
#include "platform/ByteText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::sj;

TEST(TodoRecord, FieldsOfWellFormedAndBrokenLines)
{
    const std::string open =
        "2026/05/141030" + std::string("2026/01/01") + text::padCut(sj("仕事"), 14) + "07" + sj("報告書");
    EXPECT_EQ(TodoDeadline(open), (Date{2026, 5, 14}));
    EXPECT_TRUE(TodoIsOpen(open));
    EXPECT_EQ(TodoCategory(open), text::padCut(sj("仕事"), 14));
    EXPECT_EQ(TodoTitle(open), sj("報告書"));

    const std::string none = sj("期限日なし") + "1001" + "2026/01/01";
    EXPECT_FALSE(TodoDeadline(none));
    EXPECT_FALSE(TodoIsOpen(none)) << "any byte but 0 is done";
    EXPECT_FALSE(TodoDeadline("2026/02/30"));
    EXPECT_FALSE(TodoDeadline("2026-02-10"));
    EXPECT_FALSE(TodoIsOpen("2026/02/10"));
    EXPECT_EQ(TodoTitle("short"), "");
    EXPECT_EQ(TodoCategory("short"), "");
}
