// The one edit of data files: what the follower is told for each kind of change.
#include "store/Edit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::crlf;
using kal::test::TempFolder;

namespace {

// Each change as "file line occurrence > file line occurrence", the file by its name.
struct RecordingFollower final : files::RecordFollower {
    std::vector<std::string> folders() const override { return {}; }
    files::FollowerChanges follow(const std::vector<files::RecordChange>& changes) override
    {
        const auto place = [](const files::RecordPlace& p) {
            return p.path.substr(p.path.size() - 1) + " " + p.line + " " + std::to_string(p.occurrence);
        };
        for (const files::RecordChange& change : changes)
            told += place(change.from) + " > " + (change.to ? place(*change.to) : "-") + ";";
        return {};
    }
    std::string told;
};

} // namespace

// A writer that leaves out its follower does not compile: it must name one or say it has none.
static_assert(!std::is_default_constructible_v<store::Follower>);

TEST(StoreEdit, TellsTheFollowerWhereEveryRecordWent)
{
    struct Case {
        const char* name;
        std::function<void(store::EditFiles&, const std::string& a, const std::string& b)> change;
        std::vector<std::string> a, b; // a: "x", "y", "x" and b: "z" after the change
        std::string told;
    };
    const Case cases[] = {
        {"removed",
         [](auto& f, auto& a, auto&) {
             f.remove({a, 2, "x"});
         },
         {"x", "y"},
         {"z"},
         "a x 1 > -;"},
        {"rewritten in place",
         [](auto& f, auto& a, auto&) {
             f.rewrite({a, 1, "y"}, "x");
         },
         {"x", "x", "x"},
         {"z"},
         "a y 0 > a x 1;"},
        {"moved within its file",
         [](auto& f, auto& a, auto&) {
             f.move({a, 0, "x"}, a, "w");
         },
         {"w", "x", "y"},
         {"z"},
         "a x 0 > a w 0;"},
        {"moved to another file",
         [](auto& f, auto& a, auto& b) {
             f.move({a, 2, "x"}, b, "z");
         },
         {"x", "y"},
         {"z", "z"},
         "a x 1 > b z 1;"},
        {"added", [](auto& f, auto&, auto& b) { f.add(b, "a"); }, {"x", "y", "x"}, {"a", "z"}, ""},
        {"file deleted", [](auto& f, auto&, auto& b) { f.erase(b); }, {"x", "y", "x"}, {}, ""},
    };
    for (const Case& c : cases) {
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
        EXPECT_EQ(data.exists("b"), !c.b.empty());
        EXPECT_EQ(follower.told, c.told);
    }
}
