// The start finishes what a crash interrupted before the first month is built.
#include "calendar/qt/MonthGrid.h"
#include "platform/FileTransaction.h"
#include "platform/IntentRecord.h"
#include "schedule/ScheduleRecord.h"
#include "support/MainWindowFixture.h"
#include "support/ScheduleLines.h"

#include <QTreeWidget>
#include <fstream>

using namespace kal;
using namespace kal::test;

TEST_F(MainWindowFixture, AnInterruptedMoveIsFinishedAndStaleFilesRemovedAtStart)
{
    // Killed while moving a record from November to December: November is already rewritten.
    const std::string moved = scheduleLine(8, "", "moved");
    home.write("202611.sch", "");
    files::IntentRecord intent{files::IntentDirection::Apply,
                               {{"202611.sch", crlf({scheduleLine(3, "", "moved")}), std::string()},
                                {"202612.sch", std::nullopt, crlf({moved})}}};
    home.write(".kalendra-intent-00000000000000000001-1", files::EncodeIntent(intent));
    std::ofstream(home.file("202612.sch.tmp-a1b2c3")) << "half";
    start();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(home.read("202612.sch"), crlf({moved}));
    EXPECT_FALSE(home.exists(".kalendra-intent-00000000000000000001-1"));
    EXPECT_FALSE(home.exists("202612.sch.tmp-a1b2c3"));
    // The month was built from the finished files.
    ASSERT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 1);
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItem(0)->text(3), "moved");
}

TEST_F(MainWindowFixture, ADamagedIntentRecordIsReportedAndLeftAlone)
{
    home.write(".kalendra-intent-00000000000000000001-1", "KALENDRA-INTENT 1\napply\n");
    start();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(platform.messages[0].text.rfind("前回中断された保存を完了できませんでした。", 0), 0u);
    EXPECT_NE(platform.messages[0].text.find("中断された保存の記録が壊れています。"), std::string::npos);
    EXPECT_TRUE(home.exists(".kalendra-intent-00000000000000000001-1"));
}
