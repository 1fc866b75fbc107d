#include "platform/FolderNames.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace kal;
using kal::test::TempFolder;

namespace {

const files::NameKind kSchedules{"schedules", [](std::string_view name) { return name.ends_with(".sch"); }};
constexpr std::chrono::nanoseconds kAtOnce{0};

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> schedules(const TempFolder& dir, std::chrono::nanoseconds settle = kAtOnce)
{
    return sorted(files::namesOfKind(dir.path(), kSchedules, settle));
}

const std::string kKept = ".kalendra-names/schedules";

} // namespace

TEST(FolderNames, KeptNamesServeUntilTheFolderChanges)
{
    TempFolder dir;
    dir.write("202401.sch", "");
    dir.write("20240101.mem", "");
    EXPECT_EQ(schedules(dir), std::vector<std::string>{"202401.sch"});
    ASSERT_TRUE(dir.exists(kKept));

    // While the folder is unchanged the kept list is what is read: a name written into it shows.
    std::string kept = dir.read(kKept);
    kept.replace(kept.find("end 1"), 5, "202402.sch\nend 2");
    dir.write(kKept, kept);
    EXPECT_EQ(schedules(dir), (std::vector<std::string>{"202401.sch", "202402.sch"}));

    // Any name added, renamed or removed in the folder is seen at once.
    dir.write("202403.sch", "");
    EXPECT_EQ(schedules(dir), (std::vector<std::string>{"202401.sch", "202403.sch"}));
    ASSERT_EQ(::rename(dir.file("202401.sch").c_str(), dir.file("202405.sch").c_str()), 0);
    EXPECT_EQ(schedules(dir), (std::vector<std::string>{"202403.sch", "202405.sch"}));
    ASSERT_EQ(::unlink(dir.file("202403.sch").c_str()), 0);
    EXPECT_EQ(schedules(dir), std::vector<std::string>{"202405.sch"});
}

TEST(FolderNames, DamagedOrForeignKeptListsAreListedAgain)
{
    const std::pair<const char*, std::string> damages[] = {
        {"empty", ""},
        {"cut short", "\nx.sch\n"},   // the last line no longer counts the names
        {"wrong count", "\nend 7\n"}, // appended after the real end
        {"another folder", "kalendra-names 1 1 2 3 4\nother.sch\nend 1\n"},
        {"garbage", std::string("\xff\x00\x81\n", 4)},
    };
    for (const auto& [what, damage] : damages) {
        TempFolder dir;
        dir.write("202401.sch", "");
        schedules(dir);
        const std::string kept = dir.read(kKept);
        if (std::string_view(what) == "cut short")
            dir.write(kKept, kept.substr(0, kept.find('\n')) + damage);
        else if (std::string_view(what) == "wrong count")
            dir.write(kKept, kept + damage);
        else
            dir.write(kKept, damage);
        EXPECT_EQ(schedules(dir), std::vector<std::string>{"202401.sch"}) << what;
        EXPECT_EQ(dir.read(kKept), kept) << what << ": the list is kept again";
    }
}

TEST(FolderNames, ARecentlyChangedFolderIsListedAndNotKept)
{
    TempFolder dir;
    dir.write("202401.sch", "");
    // Changed just now: a change within the same clock tick could leave its times as they were.
    EXPECT_EQ(schedules(dir, files::kFolderSettleTime), std::vector<std::string>{"202401.sch"});
    EXPECT_FALSE(dir.exists(kKept));

    EXPECT_EQ(files::namesOfKind(dir.file("missing"), kSchedules, kAtOnce), std::vector<std::string>{});
    EXPECT_FALSE(dir.exists("missing"));
}

TEST(FolderNames, TheLastListingServesAnotherKindOnlyWhileTheFolderIsUnchanged)
{
    TempFolder dir;
    dir.write("202401.sch", "");
    dir.write("20240101.mem", "");
    ::usleep(60000); // older than a clock tick, so that the listing is remembered
    const files::NameKind memos{"memos", [](std::string_view name) { return name.ends_with(".mem"); }};
    EXPECT_EQ(files::namesOfKind(dir.path(), memos), std::vector<std::string>{"20240101.mem"});
    EXPECT_EQ(schedules(dir, files::kFolderSettleTime), std::vector<std::string>{"202401.sch"});
    dir.write("202402.sch", "");
    EXPECT_EQ(schedules(dir, files::kFolderSettleTime), (std::vector<std::string>{"202401.sch", "202402.sch"}));
}
