#include "calendar/Holidays.h"
#include "platform/Files.h"
#include "support/FileTimes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::rewriteInPlace;
using kal::test::setModifiedAgo;
using kal::test::TempFolder;

namespace {

const std::string kFirst = " 1 1        000New year\r\n";
const std::string kSameSize = " 1 1        000Year one\r\n";
const std::string kLonger = " 1 1        000New year's day\r\n";

std::string firstName(const std::string& path)
{
    auto rules = SharedHolidayRules(path);
    return rules->rules().empty() ? "" : rules->rules().front().name;
}

} // namespace

TEST(HolidayCache, NoticesEveryChangeAnotherProgramMakes)
{
    struct Case {
        const char* what;
        std::string bytes;
        bool replaceFile; // a new file renamed over the old one, as an atomic save does
        int secondsAgo;
        std::string name;
    };
    const Case cases[] = {
        {"same size, new time", kSameSize, false, 500, "Year one"},
        {"other size, same time", kLonger, false, 1000, "New year's day"},
        {"replaced, same size and time", kSameSize, true, 1000, "Year one"},
        {"removed", "", true, 1000, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string path = folder.file(kHolidayFileName);
        folder.write(kHolidayFileName, kFirst);
        setModifiedAgo(path, 1000);
        ASSERT_EQ(firstName(path), "New year");
        if (c.bytes.empty())
            ASSERT_TRUE(files::deleteFile(path));
        else if (c.replaceFile)
            ASSERT_TRUE(files::saveBytes(path, c.bytes));
        else
            rewriteInPlace(path, c.bytes);
        if (!c.bytes.empty())
            setModifiedAgo(path, c.secondsAgo);
        EXPECT_EQ(firstName(path), c.name);
    }
}

TEST(HolidayCache, KeepsOnlySettledFiles)
{
    TempFolder folder;
    const std::string path = folder.file(kHolidayFileName);
    folder.write(kHolidayFileName, kFirst);
    // Just written: a second write within the same clock tick could keep the stamp.
    EXPECT_NE(SharedHolidayRules(path), SharedHolidayRules(path));
    setModifiedAgo(path, 1000);
    auto first = SharedHolidayRules(path);
    EXPECT_EQ(first, SharedHolidayRules(path));
    EXPECT_EQ(first->rules().size(), 1u);
}
