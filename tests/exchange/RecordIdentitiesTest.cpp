// The identities beside the data: their files read and written with the lines they cannot read
// kept where they stand, an Identity.dat of before split into them, and every writer of
// schedules and ToDo entries carrying the entries along, with the program folder beside the data
// or apart from it.
#include "exchange/RecordIdentities.h"
#include "lists/ListEdits.h"
#include "lists/Search.h"
#include "schedule/ScheduleRecord.h"
#include "support/FaultyFileOps.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"
#include "todo/TodoStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using namespace kal;
using namespace kal::test;

namespace {

RecordIdentity identity(const std::string& uid, const std::string& file, int occurrence, const std::string& line)
{
    RecordIdentity id;
    id.uid = uid;
    id.key = RecordKey{file, occurrence, line};
    return id;
}

std::string entry(const std::string& uid, const std::string& file, int occurrence, const std::string& line)
{
    IdentityTable table;
    table.add(identity(uid, file, occurrence, line));
    return table.lines().front();
}

files::RecordPlace place(const std::string& file, const std::string& line, int occurrence = 0)
{
    return files::RecordPlace{"/data/" + file, line, occurrence};
}

} // namespace

TEST(IdentityFile, EntriesReadBackAndOtherLinesStayWhereTheyStand)
{
    const std::vector<std::string> lines = {"# written by hand",
                                            entry("a", "202605.sch", 0, "01x"),
                                            "E\tbroken",
                                            "",
                                            entry("b", "ToDo.dat", 2, "2026/05/01\ttab inside"),
                                            "E\tc\t0\t202605.sch\t0\t\t\t\t\t\t0x\t01"};
    IdentityTable table(lines);
    EXPECT_EQ(table.lines(), lines);
    EXPECT_FALSE(table.modified());
    ASSERT_EQ(table.all().size(), 2u);
    EXPECT_EQ(table.findUid("b")->key, (RecordKey{"ToDo.dat", 2, "2026/05/01\ttab inside"}));

    // Whatever a server sends for its fields survives the file.
    RecordIdentity* b = table.findUid("b");
    b->href = "/cal/%20 x.ics";
    b->etag = "\"1\t2\r\n\"";
    b->source = ItemSource{"uid with spaces\n", "20260501T000000Z", 3};
    EXPECT_TRUE(table.modified());
    IdentityTable again(table.lines());
    EXPECT_EQ(*again.findUid("b"), *b);
    EXPECT_EQ(again.lines().size(), lines.size());
    EXPECT_EQ(again.ofItem("uid with spaces\n", "20260501T000000Z").size(), 1u);
    EXPECT_EQ(again.ofItem("a", "").size(), 1u);
}

TEST(IdentityFile, FollowingChangesKeepsEachIdentityOnItsRecord)
{
    struct Case {
        const char* name;
        std::vector<RecordIdentity> before;
        std::vector<files::RecordChange> changes;
        std::vector<RecordIdentity> after; // sequence 1 marks a moved entry
    };
    auto moved = [](RecordIdentity id) {
        id.sequence = 1;
        return id;
    };
    const Case cases[] = {
        {"corrected in place",
         {identity("a", "202605.sch", 0, "01a")},
         {{place("202605.sch", "01a"), place("202605.sch", "01b")}},
         {moved(identity("a", "202605.sch", 0, "01b"))}},
        {"removed between identical lines",
         {identity("a", "202605.sch", 0, "01x"), identity("b", "202605.sch", 1, "01x"),
          identity("c", "202605.sch", 2, "01x")},
         {{place("202605.sch", "01x", 1), std::nullopt}},
         {identity("a", "202605.sch", 0, "01x"), identity("c", "202605.sch", 1, "01x")}},
        {"two of three identical lines removed at once",
         {identity("a", "202605.sch", 0, "01x"), identity("b", "202605.sch", 1, "01x"),
          identity("c", "202605.sch", 2, "01x")},
         {{place("202605.sch", "01x", 0), std::nullopt}, {place("202605.sch", "01x", 1), std::nullopt}},
         {identity("c", "202605.sch", 0, "01x")}},
        {"moved before an identical line of another month",
         {identity("a", "202606.sch", 0, "01y"), identity("d", "202605.sch", 0, "01z")},
         {{place("202605.sch", "01z"), place("202606.sch", "01y", 0)}},
         {identity("a", "202606.sch", 1, "01y"), moved(identity("d", "202606.sch", 0, "01y"))}},
        {"a record without identity still moves the others",
         {identity("a", "ToDo.dat", 1, "t")},
         {{place("ToDo.dat", "t", 0), place("ToDo.dat", "u")}},
         {identity("a", "ToDo.dat", 0, "t")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IdentityTable table;
        for (const RecordIdentity& id : c.before)
            table.add(id);
        table.follow(c.changes);
        std::vector<RecordIdentity> after;
        for (const RecordIdentity* id : table.all())
            after.push_back(*id);
        EXPECT_EQ(after, c.after);
        for (const RecordIdentity& id : c.after)
            EXPECT_EQ(table.find(id.key), table.findUid(id.uid));
    }
}

namespace {

const std::string kTodo = "2026/05/2010502026/05/01              01Call";

// A data folder with two identical May records, one June record and a ToDo entry, each known by
// a UID in an Identity.dat of before with a line it cannot read; the program folder is the data
// folder or one of its own.
struct Folders {
    TempFolder data, apart;
    std::string program;
    std::vector<std::string> may = {scheduleLine(3, "09:00", "a"), scheduleLine(3, "09:00", "a"),
                                    scheduleLine(9, "", "b")};

    explicit Folders(bool together) : program(together ? data.path() : apart.path())
    {
        data.write("202605.sch", crlf(may));
        data.write("ToDo.dat", crlf({kTodo}));
        data.write("ToDoMemo.dat", crlf({"01,note"}));
        files::saveLines(identityFilePath(program), legacy);
    }
    const std::vector<std::string> legacy = {
        entry("first", "202605.sch", 0, may[0]), "E\tbroken", entry("second", "202605.sch", 1, may[0]),
        entry("nine", "202605.sch", 0, may[2]), entry("todo", "ToDo.dat", 0, kTodo)};
    ScheduleRef ref(int index) const { return ScheduleRef{data.file("202605.sch"), index, may[index]}; }
    IdentityTable identities() const { return loadIdentities(program).table; }
};

using Act = std::function<bool(Folders&, store::Follower)>;

} // namespace

TEST(IdentityFollow, EveryWriterCarriesTheIdentitiesAlong)
{
    const std::string corrected = scheduleLine(4, "10:00", "a2");
    const std::string ticked = TodoWithDone(kTodo, true, {2026, 5, 21});
    struct Case {
        const char* name;
        Act act;
        std::vector<std::pair<std::string, RecordKey>> keys; // empty file: the entry is gone
    };
    const Case cases[] = {
        {"correcting the second of two identical records",
         [&](Folders& f, store::Follower follower) {
             return CorrectSchedule(f.ref(1), f.data.file("202605.sch"), corrected, follower).ok();
         },
         {{"first", {"202605.sch", 0, scheduleLine(3, "09:00", "a")}}, {"second", {"202605.sch", 0, corrected}}}},
        {"moving the first to June",
         [&](Folders& f, store::Follower follower) {
             return CorrectSchedule(f.ref(0), f.data.file("202606.sch"), corrected, follower).ok();
         },
         {{"first", {"202606.sch", 0, corrected}}, {"second", {"202605.sch", 0, scheduleLine(3, "09:00", "a")}}}},
        {"deleting the first",
         [&](Folders& f, store::Follower follower) { return DeleteSchedule(f.ref(0), follower).ok(); },
         {{"first", {}}, {"second", {"202605.sch", 0, scheduleLine(3, "09:00", "a")}}}},
        {"deleting both from the list window",
         [&](Folders& f, store::Follower follower) {
             const ListRows rows = ListSchEdit(f.data.path(), ListScope::All, {2026, 5, 1});
             return DeleteListRows(rows, {&rows.rows.at(0), &rows.rows.at(1)}, follower).ok();
         },
         {{"first", {}}, {"second", {}}, {"nine", {"202605.sch", 0, scheduleLine(9, "", "b")}}}},
        {"ticking the ToDo entry",
         [&](Folders& f, store::Follower follower) {
             return ApplyTodoTicks(f.data.path(), {{{TodoFilePath(f.data.path()), 0, kTodo}, true}}, {2026, 5, 21},
                                   follower)
                 .ok();
         },
         {{"todo", {"ToDo.dat", 0, ticked}}}},
        {"editing the ToDo entry's memo only",
         [&](Folders& f, store::Follower follower) {
             TodoEntry edit{
                 TodoInputMode::Edit, {TodoFilePath(f.data.path()), 0, kTodo}, *ParseTodo(kTodo), {"new note"}, true};
             return StoreTodoEntry(f.data.path(), edit, follower).result.ok();
         },
         {{"todo", {"ToDo.dat", 0, kTodo}}}},
        {"deleting the ToDo entry",
         [&](Folders& f, store::Follower follower) {
             return DeleteTodos(f.data.path(), {{TodoFilePath(f.data.path()), 0, kTodo}}, follower).ok();
         },
         {{"todo", {}}}},
    };
    // Every other case with the identities apart from the data.
    bool together = false;
    for (const Case& c : cases) {
        together = !together;
        SCOPED_TRACE(std::string(c.name) + (together ? ", identities beside the data" : ", apart"));
        Folders folders(together);
        IdentityFollower follower(folders.program);
        ASSERT_TRUE(c.act(folders, store::Follower(&follower)));
        IdentityTable after = folders.identities();
        for (const auto& [uid, key] : c.keys) {
            const RecordIdentity* id = after.findUid(uid);
            EXPECT_EQ(id ? id->key : RecordKey{}, key) << uid;
            if (id)
                EXPECT_NE(loadIdentitiesOf(folders.program, {key.file}).table.findUid(uid), nullptr) << uid;
        }
        // Split at the first write: Identity.dat keeps only the line no entry file takes.
        EXPECT_EQ(files::loadLines(identityFilePath(folders.program)), std::vector<std::string>{"E\tbroken"});
    }
}

// Identity.dat split, cut off at each of its writes: every entry is read once and the next split
// ends where an unbroken one ends.
TEST(IdentityFile, ASplitCutOffAnywhereLosesAndDoublesNothing)
{
    const auto state = [](const std::string& program) {
        IdentityFile file = loadIdentities(program);
        std::vector<std::string> lines = file.table.lines();
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    Folders unbroken(true);
    const std::vector<std::string> before = state(unbroken.program);
    FaultyFileOps counting;
    ASSERT_TRUE(splitIdentityFile(unbroken.program, counting));
    ASSERT_EQ(state(unbroken.program), before);
    EXPECT_EQ(identityFileNames(unbroken.program),
              (std::vector<std::string>{"Identity-202605.dat", "Identity-ToDo.dat"}));
    for (const FileStep step : {FileStep::Write, FileStep::Rename})
        for (int call = 1; call <= counting.calls(step); ++call) {
            SCOPED_TRACE(std::string(stepName(step)) + " " + std::to_string(call));
            Folders folders(true);
            FaultyFileOps faulty(step, call, EIO);
            EXPECT_FALSE(splitIdentityFile(folders.program, faulty));
            EXPECT_EQ(state(folders.program), before);
            ASSERT_TRUE(splitIdentityFile(folders.program));
            EXPECT_EQ(state(folders.program), before);
            EXPECT_EQ(files::loadLines(identityFilePath(folders.program)), std::vector<std::string>{"E\tbroken"});
        }
}

TEST(IdentityFollow, IdentitiesThatCannotBeWrittenLeaveTheDataAsItWas)
{
    for (bool together : {true, false}) {
        SCOPED_TRACE(together ? "beside the data" : "apart");
        Folders folders(together);
        const std::string before = folders.data.read("202605.sch");
        ASSERT_TRUE(splitIdentityFile(folders.program));
        const std::string may = files::withSeparator(folders.program) + identityFileNameOf("202605.sch");
        ASSERT_EQ(::chmod(may.c_str(), 0444), 0);
        IdentityFollower follower(folders.program);
        const store::EditResult result = DeleteSchedule(folders.ref(0), store::Follower(&follower));
        EXPECT_FALSE(result.ok());
        EXPECT_NE(result.reason.find(identityFileNameOf("202605.sch")), std::string::npos) << result.reason;
        EXPECT_EQ(folders.data.read("202605.sch"), before);
        EXPECT_NE(folders.identities().findUid("first"), nullptr);
    }
}

// A record another program took out of its file loses its identity when Kalendra next writes
// that file, unless the sync still has to remove the server's item.
TEST(IdentityFollowing, IdentitiesOfRecordsRemovedElsewhereAreForgottenAtTheNextWrite)
{
    TempFolder folder;
    const std::string path = MonthFilePath(folder.path(), 2026, 5);
    const std::string kept = scheduleLine(1, "09:00", "kept"), exported = scheduleLine(2, "", "exported"),
                      synced = scheduleLine(3, "", "synced"), edited = scheduleLine(4, "", "edited");
    ASSERT_TRUE(files::saveLines(path, {kept, edited}));
    IdentityTable table;
    table.add(identity("kept", "202605.sch", 0, kept));
    table.add(identity("exported", "202605.sch", 0, exported));
    table.add(identity("other month", "202606.sch", 0, exported));
    RecordIdentity& syncedOne = table.add(identity("synced", "202605.sch", 0, synced));
    syncedOne.href = "/cal/synced.ics";
    ASSERT_TRUE(files::saveLines(identityFilePath(folder.path()), table.lines()));

    IdentityFollower follower(folder.path());
    ScheduleFields f = ReadSchedule(edited);
    f.title = "edited again";
    ASSERT_TRUE(CorrectSchedule({path, 1, edited}, path, ComposeSchedule(f), store::Follower(&follower)).ok());
    std::vector<std::string> uids;
    IdentityFile left = loadIdentities(folder.path());
    for (const RecordIdentity* identity : left.table.all())
        uids.push_back(identity->uid);
    std::sort(uids.begin(), uids.end());
    EXPECT_EQ(uids, (std::vector<std::string>{"kept", "other month", "synced"}));
}
