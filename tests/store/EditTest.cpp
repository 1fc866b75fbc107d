// The one edit of data files: what the follower is told for each kind of change, the check of
// the lines the reader saw, and a file that cannot be read.
#include "store/Edit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kal;
using kal::test::crlf;
using kal::test::TempFolder;

namespace {

struct RecordingFollower final : files::RecordFollower {
    std::vector<std::string> folders() const override { return {}; }
    files::FollowerChanges follow(const std::vector<files::RecordChange>& changes) override
    {
        told.insert(told.end(), changes.begin(), changes.end());
        return {};
    }
    std::vector<files::RecordChange> told;
};

using Place = files::RecordPlace;

struct EditCase {
    const char* name;
    std::function<void(store::EditFiles&, const std::string& a, const std::string& b)> change;
    std::vector<std::string> a, b; // the files after the change
    std::vector<files::RecordChange> told;
};

} // namespace

TEST(StoreEdit, TellsTheFollowerWhereEveryRecordWent)
{
    // a: "x", "y", "x"; b: "z".
    const auto x1 = [](const std::string& a) { return store::LineRef{a, 2, "x"}; };
    const std::vector<EditCase> cases = {
        {"removed", [&](auto& f, auto& a, auto&) { f.remove(x1(a)); }, {"x", "y"}, {"z"}, {{{"a", "x", 1}, {}}}},
        {"rewritten in place keeps its order",
         [&](auto& f, auto& a, auto&) {
             f.rewrite({a, 1, "y"}, "x");
         },
         {"x", "x", "x"},
         {"z"},
         {{{"a", "y", 0}, Place{"a", "x", 1}}}},
        {"moved within its file is sorted and counted last",
         [&](auto& f, auto& a, auto&) {
             f.move({a, 0, "x"}, a, "w");
         },
         {"w", "x", "y"},
         {"z"},
         {{{"a", "x", 0}, Place{"a", "w", 0}}}},
        {"moved to another file",
         [&](auto& f, auto& a, auto& b) { f.move(x1(a), b, "z"); },
         {"x", "y"},
         {"z", "z"},
         {{{"a", "x", 1}, Place{"b", "z", 1}}}},
        {"added needs no notice", [&](auto& f, auto&, auto& b) { f.add(b, "a"); }, {"x", "y", "x"}, {"a", "z"}, {}},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder data;
        data.write("a", crlf({"x", "y", "x"}));
        data.write("b", crlf({"z"}));
        const std::string a = data.file("a"), b = data.file("b");
        RecordingFollower follower;
        const store::EditResult result = store::edit({{a, b}, store::Follower(&follower), {}}, [&](auto& files) {
            c.change(files, a, b);
            return store::EditResult{};
        });
        ASSERT_TRUE(result.ok()) << result.reason;
        EXPECT_EQ(data.read("a"), crlf(c.a));
        EXPECT_EQ(data.read("b"), crlf(c.b));
        std::vector<files::RecordChange> told = c.told;
        for (files::RecordChange& change : told) {
            change.from.path = data.file(change.from.path);
            if (change.to)
                change.to->path = data.file(change.to->path);
        }
        ASSERT_EQ(follower.told.size(), told.size());
        for (std::size_t i = 0; i < told.size(); ++i) {
            EXPECT_EQ(follower.told[i].from, told[i].from);
            EXPECT_EQ(follower.told[i].to, told[i].to);
        }
    }
}

TEST(StoreEdit, ALineNoLongerWhereTheReaderSawItChangesNothing)
{
    TempFolder data;
    data.write("a", crlf({"x", "y"}));
    bool ran = false;
    const store::EditResult result =
        store::edit({{data.file("a")}, store::Follower::none(), {{data.file("a"), 1, "x"}}}, [&](auto&) {
            ran = true;
            return store::EditResult{};
        });
    EXPECT_EQ(result.status, store::EditStatus::Changed);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(result.written);
}

TEST(StoreEdit, AnUnreadableFileStopsTheEditBeforeAnyWrite)
{
    TempFolder data;
    data.write("202403.sch", crlf({"old"}));
    // A folder where the April file should be: no save can replace it, not even root's.
    ASSERT_EQ(::mkdir(data.file("202404.sch").c_str(), 0755), 0);
    const std::string march = data.file("202403.sch"), april = data.file("202404.sch");
    const store::EditResult result =
        store::edit({{march, april}, store::Follower::none(), {}, store::UnreadableText::Named}, [&](auto& months) {
            months.replace(march, {"new"});
            months.replace(april, {"new"});
            return store::EditResult{};
        });
    EXPECT_EQ(result.status, store::EditStatus::WriteFailed);
    EXPECT_NE(result.reason.find("「" + april + "」を読み込めません。"), std::string::npos) << result.reason;
    EXPECT_EQ(data.read("202403.sch"), crlf({"old"}));
}
