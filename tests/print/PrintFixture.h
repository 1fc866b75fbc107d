// A program folder holding May 2026 with holidays, schedules in a coloured category and ToDo
// entries, the fake platform and dialog runner, and a printer target without printers.
#pragma once

#include "platform/Files.h"
#include "print/MonthPrint.h"
#include "print/qt/PrintOutput.h"
#include "schedule/ScheduleRecord.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace kal::test {

inline std::string printSchedule(int day, const std::string& start, const std::string& category,
                                 const std::string& utf8Title)
{
    ScheduleFields f;
    f.day = day;
    f.start = start;
    f.category = sj(category);
    f.title = sj(utf8Title);
    return ComposeSchedule(f);
}

struct PrintFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};
    qt::PrintTarget target{false};
    Date today{2026, 5, 12};

    void SetUp() override
    {
        home.write("Holiday.dat", *files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat"));
        home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n");
        home.write("Category.tbl", crlf({sj("仕事          1 0000025516777215")}));
        home.write("202605.sch",
                   crlf({printSchedule(4, "", "仕事", "朝会"), printSchedule(4, "09:30", "", "定例会議"),
                         printSchedule(4, "13:00", "仕事", "打ち合わせ"), printSchedule(20, "18:00", "", "夕食会")}));
        home.write("ToDo.dat", crlf({"2026/05/201000" + std::string("2026/01/01") + std::string(14, ' ') + "00" +
                                     sj("報告書の提出")}));
    }
    PrintSource month() const
    {
        PrintSourceLoad loaded = LoadPrintSource(home.path(), 2026, 5, today);
        EXPECT_TRUE(loaded.ok);
        return loaded.source;
    }
};

} // namespace kal::test
