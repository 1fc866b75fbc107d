// The two-way sync against a real server (one Radicale for the whole program, its items changed
// and read back by an independent client), through the password sources the program uses, and
// against servers that fail, lose replies or change an item meanwhile.
#include "platform/ByteText.h"
#include "platform/RunLock.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "support/CannedHttpServer.h"
#include "support/MemoryCollection.h"
#include "support/ScheduleLines.h"
#include "support/SyncFolder.h"
#include "sync/SyncEngine.h"
#include "todo/TodoStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

extern "C" kal::caldav::Service* kalendra_caldav_service();

using namespace kal;
using namespace kal::test;

namespace {

LocalDavServer& serverOf(DavServerKind kind)
{
    return LocalDavServer::shared(kind,
                                  {"mkcal down VEVENT,VTODO", "mkcal up VEVENT,VTODO", "mkcal both VEVENT,VTODO",
                                   "mkcal faults VEVENT,VTODO", "mkcal lost VEVENT,VTODO", "mkcal events VEVENT",
                                   "mkcal killed VEVENT,VTODO", "mkcal first VEVENT,VTODO", "mkcal second VEVENT,VTODO",
                                   "mkcal window VEVENT,VTODO", "mkcal kept0 VEVENT,VTODO", "mkcal same VEVENT,VTODO",
                                   "mkcal copies VEVENT,VTODO"});
}

// The server of the running test: each scenario runs against every kind.
LocalDavServer* current = &serverOf(DavServerKind::Radicale);

LocalDavServer& server()
{
    return *current;
}

// The password from ~/.netrc of a home of the test's own; no keyring on this session.
const bool kNetrcHome = [] {
    static TempFolder home;
    home.write(".netrc", "machine 127.0.0.1 login alice password wonderland\n");
    ::chmod(home.file(".netrc").c_str(), 0600);
    ::setenv("HOME", home.path().c_str(), 1);
    ::setenv("no_proxy", "*", 1);
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    return true;
}();

// One item as the peer puts it, "\\n" for its line ends.
std::string ics(const std::string& component, const std::string& uid, const std::string& summary,
                const std::string& more)
{
    return "BEGIN:VCALENDAR\\nVERSION:2.0\\nPRODID:-//peer//test//EN\\nBEGIN:" + component + "\\nUID:" + uid +
           "\\nDTSTAMP:20260101T000000Z\\n" + more + "SUMMARY:" + summary + "\\nEND:" + component +
           "\\nEND:VCALENDAR\\n";
}

// What the peer reads from `calendar`, a component a line: "UID|RECURRENCE-ID|STATUS|EXDATEs|SUMMARY".
std::vector<std::string> dump(const std::string& calendar)
{
    return files::splitLines(server().peer({"dump " + calendar}));
}

// Another device sets `property` ("NAME value") on each item of `calendar` whose line so ends.
void setWhere(const std::string& calendar, const std::string& ending, const std::string& property)
{
    for (const std::string& line : dump(calendar))
        if (line.ends_with(ending))
            server().peer({"set " + calendar + " " + line.substr(0, line.find('|')) + " " + property});
}

// The items of the lost-reply calendar whose summary contains `text`.
std::vector<std::string> itemsTitled(const std::string& text)
{
    std::vector<std::string> found;
    for (const std::string& line : dump("lost"))
        if (line.find(text) != std::string::npos)
            found.push_back(line.substr(line.rfind('|') + 1));
    return found;
}

// A program folder that is its own data folder, synced with one calendar of the test's server.
class SyncedFolder : public SyncFolder {
public:
    explicit SyncedFolder(std::string calendar, std::string url = {})
        : url_(url.empty() ? server().calendarUrl(calendar) : std::move(url))
    {
    }

    SyncOutcome sync(caldav::Collection* through = nullptr, const std::string& url = {},
                     const std::string& user = "alice")
    {
        SyncRequest request = SyncFolder::request(url.empty() ? url_ : url);
        request.settings.user = user;
        if (through)
            return runSync(request, *through);
        return runSync(request, *kalendra_caldav_service());
    }

    // Every file's stamp: a second sync with nothing changed leaves them all.
    std::map<std::string, files::FileStamp> stamps() const
    {
        std::map<std::string, files::FileStamp> out;
        for (const std::string& name : files::listFiles(path(), "*"))
            out[name] = files::fileStamp(folder().file(name));
        return out;
    }

    void expectQuietSecondSync()
    {
        const auto before = stamps();
        const SyncOutcome again = sync();
        EXPECT_TRUE(again.ok) << again.reason;
        EXPECT_EQ(syncSummary(again.counts), syncSummary(SyncCounts{}));
        EXPECT_FALSE(again.wroteFiles);
        EXPECT_TRUE(stamps() == before) << "a sync with nothing changed rewrote a file";
    }

private:
    std::string url_;
};

} // namespace

class SyncServer : public testing::TestWithParam<DavServerKind> {
protected:
    void SetUp() override
    {
        current = &serverOf(GetParam());
        ASSERT_TRUE(server().running()) << server().name();
    }
};

INSTANTIATE_TEST_SUITE_P(Servers, SyncServer, testing::Values(DavServerKind::Radicale, DavServerKind::Xandikos),
                         [](const testing::TestParamInfo<DavServerKind>& info) {
                             return info.param == DavServerKind::Radicale ? "Radicale" : "Xandikos";
                         });

TEST_P(SyncServer, ServerItemsComeDownAndFollowTheirChanges)
{
    server().peer(
        {"put down timed " + ics("VEVENT", "timed", "会議", "DTSTART:20270105T010000Z\\nDTEND:20270105T020000Z\\n"),
         "put down allday " + ics("VEVENT", "allday", "祝賀会", "DTSTART;VALUE=DATE:20270107\\n"),
         "put down span " + ics("VEVENT", "span", "合宿", "DTSTART:20270201T000000Z\\nDTEND:20270203T080000Z\\n"),
         "put down weekly " + ics("VEVENT", "weekly", "Weekly",
                                  "DTSTART;TZID=Europe/Berlin:20270104T090000\\n"
                                  "DTEND;TZID=Europe/Berlin:20270104T100000\\nRRULE:FREQ=WEEKLY;COUNT=3\\n"),
         "put down open " + ics("VTODO", "open", "牛乳", "DUE;VALUE=DATE:20270120\\n"),
         "put down done " + ics("VTODO", "done", "Report", "STATUS:COMPLETED\\nCOMPLETED:20270102T000000Z\\n")});
    SyncedFolder folder("down");
    const SyncOutcome first = folder.sync();
    EXPECT_EQ(countsOf(first), "同期しました（受信 6 件、送信 0 件、更新 0 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(folder.records(),
              (std::vector<std::string>{"2027/01/04 17:00-18:00 Weekly", "2027/01/05 10:00-11:00 会議",
                                        "2027/01/07 - 祝賀会", "2027/01/11 17:00-18:00 Weekly",
                                        "2027/01/18 17:00-18:00 Weekly", "2027/02/01 09:00- 合宿", "2027/02/02 - 合宿",
                                        "2027/02/03 -17:00 合宿", "ToDo done Report", "ToDo open 牛乳"}));
    folder.expectQuietSecondSync();

    server().peer({"edit down timed 打合せ", "delete down allday", "exdate down weekly 20270111T080000Z",
                   "put down open " + ics("VTODO", "open", "牛乳", "STATUS:COMPLETED\\nCOMPLETED:20270109T000000Z\\n"),
                   "put down done " + ics("VTODO", "done", "Report", "STATUS:NEEDS-ACTION\\n")});
    const SyncOutcome second = folder.sync();
    EXPECT_EQ(countsOf(second), "同期しました（受信 0 件、送信 0 件、更新 4 件、削除 1 件、競合 0 件）。");
    EXPECT_EQ(folder.records(),
              (std::vector<std::string>{"2027/01/04 17:00-18:00 Weekly", "2027/01/05 10:00-11:00 打合せ",
                                        "2027/01/18 17:00-18:00 Weekly", "2027/02/01 09:00- 合宿", "2027/02/02 - 合宿",
                                        "2027/02/03 -17:00 合宿", "ToDo done 牛乳", "ToDo open Report"}));
    folder.expectQuietSecondSync();
}

TEST_P(SyncServer, LocalRecordsGoUpAndFollowTheirChanges)
{
    SyncedFolder folder("up");
    folder.add({2027, 1, 5}, "10:00", "11:00", "歯医者");
    folder.add({2027, 1, 6}, "", "", "誕生日");
    folder.add({2027, 1, 7}, "23:00", "01:00", "夜行バス");
    folder.addTodo("書類", false, {"一行目", "二行目"});
    folder.addTodo("洗車", true);
    EXPECT_EQ(countsOf(folder.sync()), "同期しました（受信 0 件、送信 5 件、更新 0 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(dump("up").size(), 5u);
    folder.expectQuietSecondSync();

    folder.correct({2027, 1, 5}, "歯医者", "歯科検診");
    folder.correct({2027, 1, 6}, "誕生日", std::nullopt);
    folder.tick("書類", true);
    EXPECT_EQ(countsOf(folder.sync()), "同期しました（受信 0 件、送信 0 件、更新 2 件、削除 1 件、競合 0 件）。");
    std::vector<std::string> seen;
    for (const std::string& line : dump("up"))
        seen.push_back(line.substr(line.find('|')));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen,
              (std::vector<std::string>{"||COMPLETED||書類", "||COMPLETED||洗車", "||||夜行バス", "||||歯科検診"}));
    folder.expectQuietSecondSync();
    // What another device reads: nothing doubled; the overnight record is the one record it was.
    SyncedFolder other("up");
    EXPECT_EQ(countsOf(other.sync()), "同期しました（受信 4 件、送信 0 件、更新 0 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(other.records(),
              (std::vector<std::string>{"2027/01/05 10:00-11:00 歯科検診", "2027/01/07 23:00-01:00 夜行バス",
                                        "ToDo done 書類", "ToDo done 洗車"}));
}

TEST_P(SyncServer, OccurrencesGoUpAsExceptionsAndSpansStayLocal)
{
    server().peer(
        {"put up series " + ics("VEVENT", "series", "朝会",
                                "DTSTART;TZID=Asia/Tokyo:20270111T090000\\n"
                                "DTEND;TZID=Asia/Tokyo:20270111T093000\\nRRULE:FREQ=DAILY;COUNT=3\\n"),
         "put up trip " + ics("VEVENT", "trip", "出張", "DTSTART;VALUE=DATE:20270120\\nDTEND;VALUE=DATE:20270122\\n")});
    SyncedFolder folder("up");
    ASSERT_TRUE(folder.sync().ok);
    folder.correct({2027, 1, 12}, "朝会", "朝会（会議室B）");
    folder.correct({2027, 1, 13}, "朝会", std::nullopt);
    folder.correct({2027, 1, 21}, "出張", "出張（大阪）");
    const SyncOutcome sent = folder.sync();
    EXPECT_EQ(countsOf(sent),
              "同期しました（受信 0 件、送信 0 件、更新 1 件、削除 0 件、競合 0 件）。1 件の変更は同期先の"
              "予定で表せないため、手元だけに残しました。");
    const std::vector<std::string> items = dump("up");
    EXPECT_NE(std::find(items.begin(), items.end(), "series|||20270113T090000|朝会"), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), "series|20270112T090000|||朝会（会議室B）"), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), "trip||||出張"), items.end());
    // The exception comes back as the record it was made from: nothing changes here.
    SyncedFolder other("up");
    ASSERT_TRUE(other.sync().ok);
    const std::vector<std::string> there = other.records();
    EXPECT_NE(std::find(there.begin(), there.end(), "2027/01/12 09:00-09:30 朝会（会議室B）"), there.end());
    EXPECT_EQ(std::count_if(there.begin(), there.end(), [](auto& r) { return r.ends_with("朝会"); }), 1);
}

TEST_P(SyncServer, AChangeThereToWhatTheRecordDoesNotShowIsKept)
{
    SyncedFolder folder("both");
    folder.add({2027, 1, 15}, "14:00", "15:00", "面談");
    ASSERT_TRUE(folder.sync().ok);
    const std::string uid = dump("both").front().substr(0, 36);
    // A change there to what the record does not show is no conflict: both changes stay.
    server().peer({"set both " + uid + " DESCRIPTION 地図あり"});
    folder.correct({2027, 1, 15}, "面談", "面談（本社 3F）");
    EXPECT_EQ(countsOf(folder.sync()), "同期しました（受信 0 件、送信 0 件、更新 1 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(server().peer({"desc both " + uid}), "地図あり\n");
    const std::vector<std::string> items = dump("both");
    EXPECT_NE(std::find(items.begin(), items.end(), uid + "||||面談（本社 3F）"), items.end());
    folder.expectQuietSecondSync();
}

TEST_P(SyncServer, TwoDevicesHoldingTheSameDataDoubleNothingAndKeepTheirBytes)
{
    // 髙 in its NEC form (0xEEE0), which text from a server never becomes.
    const auto nec = [](std::string line) { return line.replace(line.find("\xFB\xFC"), 2, "\xEE\xE0"); };
    const std::vector<std::string> month = {plainScheduleLine(7, "22:00", "02:00", "夜勤"),
                                            nec(plainScheduleLine(8, "10:00", "11:00", "髙橋さん")),
                                            plainScheduleLine(9, "", "", "棚卸", "", "仕事,重要;至急")};
    TodoFields todo;
    todo.title = sj("髙橋さんへ電話");
    const std::vector<std::string> todos = {nec(ComposeTodo(todo))};
    SyncedFolder first("same"), second("same");
    for (SyncedFolder* device : {&first, &second})
        ASSERT_TRUE(files::saveLines(MonthFilePath(device->path(), 2027, 1), month) &&
                    files::saveLines(TodoFilePath(device->path()), todos));
    EXPECT_EQ(countsOf(first.sync()), "同期しました（受信 0 件、送信 4 件、更新 0 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(countsOf(second.sync()), syncSummary(SyncCounts{}));
    EXPECT_EQ(files::loadLines(MonthFilePath(second.path(), 2027, 1)), month);
    EXPECT_EQ(files::loadLines(TodoFilePath(second.path())), todos);
    // A new place from there: the title that did not change keeps its stored form.
    setWhere("same", "|髙橋さん", "LOCATION 本社");
    EXPECT_EQ(countsOf(second.sync()), "同期しました（受信 0 件、送信 0 件、更新 1 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(files::loadLines(MonthFilePath(second.path(), 2027, 1))[1],
              nec(plainScheduleLine(8, "10:00", "11:00", "髙橋さん", "本社")));
}

TEST_P(SyncServer, AConflictCopyKeepsItsWholeTitle)
{
    const std::string full = "四十バイトちょうどの長い題名で終わりです", place34 = "場所も長くて三十四バイトある会議室";
    SyncedFolder folder("copies");
    ASSERT_TRUE(files::saveLines(MonthFilePath(folder.path(), 2027, 1),
                                 {plainScheduleLine(20, "", "", "元"), plainScheduleLine(21, "", "", "元", "本社"),
                                  plainScheduleLine(22, "", "", "元", place34)}));
    ASSERT_TRUE(folder.sync().ok);
    setWhere("copies", "", "SUMMARY 相手");
    for (int day : {20, 21, 22})
        folder.correct({2027, 1, day}, "元", full);
    EXPECT_EQ(folder.sync().counts.copiesCut, 1);
    const std::vector<std::string> there = files::loadLines(MonthFilePath(folder.path(), 2027, 1));
    for (const std::string& copy : {plainScheduleLine(20, "", "", "（競合）四十バイトちょうどの長い題名で終", full),
                                    plainScheduleLine(21, "", "", full, "（競合）本社"),
                                    plainScheduleLine(22, "", "", full, "（競合）場所も長くて三十四バイトある会議")})
        EXPECT_EQ(std::count(there.begin(), there.end(), copy), 1) << sjis::toUtf8(copy);
}

TEST_P(SyncServer, AnotherCollectionGetsEverythingOnceAndTheFirstKeepsItsItems)
{
    SyncedFolder folder("first");
    folder.add({2027, 1, 25}, "", "", "引越し");
    folder.add({2027, 1, 26}, "", "", "片付け");
    ASSERT_TRUE(folder.sync().ok);
    folder.correct({2027, 1, 26}, "片付け", std::nullopt);
    const SyncOutcome moved = folder.sync(nullptr, server().calendarUrl("second"));
    EXPECT_EQ(countsOf(moved), "同期しました（受信 0 件、送信 1 件、更新 0 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(dump("first").size(), 2u);
    EXPECT_EQ(dump("second").size(), 1u);
    EXPECT_EQ(folder.records(), std::vector<std::string>{"2027/01/25 - 引越し"});
    EXPECT_TRUE(folder.sync(nullptr, server().calendarUrl("second")).ok);
    EXPECT_EQ(dump("second").size(), 1u);
}

TEST_P(SyncServer, AMovedWindowBringsTheOccurrencesItNowCovers)
{
    server().peer({"put window daily " +
                   ics("VEVENT", "daily", "体操", "DTSTART;VALUE=DATE:20270130\\nRRULE:FREQ=DAILY;COUNT=4\\n")});
    SyncedFolder folder("window");
    folder.back = folder.ahead = 0;
    const SyncOutcome first = folder.sync();
    ASSERT_TRUE(first.ok) << first.reason;
    EXPECT_EQ(folder.records(), (std::vector<std::string>{"2027/01/30 - 体操", "2027/01/31 - 体操"}));
    folder.today = {2027, 2, 3};
    EXPECT_EQ(countsOf(folder.sync()), "同期しました（受信 0 件、送信 0 件、更新 1 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(folder.records(), (std::vector<std::string>{"2027/01/30 - 体操", "2027/01/31 - 体操", "2027/02/01 - 体操",
                                                          "2027/02/02 - 体操"}));
    folder.expectQuietSecondSync();
}

TEST_P(SyncServer, ToDoEntriesStayHereWhenTheCollectionRefusesThem)
{
    if (GetParam() == DavServerKind::Xandikos)
        GTEST_SKIP() << "Xandikos makes every calendar take ToDo entries";
    SyncedFolder folder("events");
    folder.add({2027, 1, 8}, "", "", "納品");
    folder.addTodo("請求書", false);
    const SyncOutcome outcome = folder.sync();
    EXPECT_TRUE(outcome.counts.todosRefused);
    EXPECT_EQ(countsOf(outcome),
              "同期しました（受信 0 件、送信 1 件、更新 0 件、削除 0 件、競合 0 件）。同期先のカレンダー"
              "は ToDo を受け付けないため、ToDo は同期しませんでした。");
    const std::vector<std::string> there = dump("events");
    ASSERT_EQ(there.size(), 1u);
    EXPECT_TRUE(there.front().ends_with("|納品"));
}

// Records whose content reads back otherwise than it went out: an overnight one, and a title
// whose character has two Shift-JIS forms (髙 stored as 0xFBFC).
TEST_P(SyncServer, RecordsComeBackOnAnotherDeviceAsTheyWentOut)
{
    SyncedFolder folder("kept0"), other("kept0");
    folder.add({2027, 1, 5}, "22:00", "02:00", "夜勤");
    folder.add({2027, 1, 5}, "09:00", "10:00", "髙橋さん来社");
    ASSERT_TRUE(folder.sync().ok);
    ASSERT_TRUE(other.sync().ok);
    EXPECT_EQ(other.contents().at("202701.sch"), folder.contents().at("202701.sch"));
}

TEST_P(SyncServer, LostRepliesAndChangesMeanwhileNeverDoubleAnything)
{
    using Fault = FaultyCollection::Fault;
    using Request = FaultyCollection::Request;
    struct Case {
        const char* title;
        Fault fault; // none: the peer changes the item just before the update arrives
        Request request;
        std::optional<std::string> change; // of the synced record before the faulty sync; none: new
        bool faultySyncFails;
        std::vector<std::string> onServer;
        std::vector<std::string> here;
    };
    const Case cases[] = {
        {"髙作成",
         Fault::LoseReply,
         Request::Create,
         std::nullopt,
         true,
         {"髙作成"},
         {"2027/01/20 22:00-02:00 髙作成"}},
        {"更新", Fault::LoseReply, Request::Update, "更新済", true, {"更新済"}, {"2027/01/20 22:00-02:00 更新済"}},
        {"削除", Fault::LoseReply, Request::Remove, "", true, {}, {}},
        {"同時",
         Fault::None,
         Request::Update,
         "同時（手元）",
         false,
         {"同時（相手）", "（競合）同時（手元）"},
         {"2027/01/20 22:00-02:00 同時（相手）", "2027/01/20 22:00-02:00 （競合）同時（手元）"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        SyncedFolder folder("lost");
        // Overnight, so that what the server gives back reads otherwise than what went out.
        folder.add({2027, 1, 20}, "22:00", "02:00", c.title);
        if (c.change) {
            ASSERT_TRUE(folder.sync().ok);
            folder.correct({2027, 1, 20}, c.title, c.change->empty() ? std::nullopt : c.change);
        }
        const auto real = kalendra_caldav_service()->open(server().calendarUrl("lost"), "alice", {}).collection;
        FaultyCollection meddling(*real);
        meddling.failAt(1, c.fault, c.request, [&] {
            if (c.fault == Fault::None)
                setWhere("lost", std::string("|") + c.title, "SUMMARY 同時（相手）");
        });
        const SyncOutcome faulty = folder.sync(&meddling);
        EXPECT_EQ(faulty.ok, !c.faultySyncFails) << faulty.reason;
        const SyncOutcome next = folder.sync();
        EXPECT_TRUE(next.ok) << next.reason;
        EXPECT_EQ(countsOf(next), syncSummary({}));
        std::vector<std::string> onServer = itemsTitled(c.title);
        std::sort(onServer.begin(), onServer.end());
        EXPECT_EQ(onServer, c.onServer);
        // The calendar holds the items of the rows before.
        std::vector<std::string> here = folder.records();
        std::erase_if(here, [&](const std::string& r) { return r.find(c.title) == std::string::npos; });
        EXPECT_EQ(here, c.here);
        folder.expectQuietSecondSync();
    }
}

// The protocol's failures, against Radicale alone.
TEST(SyncFaults, FailingServersLeaveEveryFileWhole)
{
    current = &serverOf(DavServerKind::Radicale);
    const std::string calendar =
        "<multistatus xmlns=\"DAV:\"><response><href>/cal/</href><propstat><prop><resourcetype><calendar "
        "xmlns=\"urn:ietf:params:xml:ns:caldav\"/></resourcetype><sync-token>t1</sync-token></prop><status>HTTP/1.1 "
        "200 OK</status></propstat></response></multistatus>";
    CannedHttpServer failing({httpReply("503 Service Unavailable")});
    CannedHttpServer cutting(
        {httpReply("207 Multi-Status", calendar), httpReply("207 Multi-Status", calendar).substr(0, 60)});
    struct Case {
        const char* name;
        std::string url;
        std::string user;
        caldav::DavError error;
    };
    const Case cases[] = {
        {"server down", "http://127.0.0.1:" + std::to_string(LoopbackSocket().bindAny()) + "/a/", "alice",
         caldav::DavError::ServerDown},
        {"401", server().calendarUrl("faults"), "bob", caldav::DavError::Unauthorized},
        {"403", server().url("carol/faults/"), "alice", caldav::DavError::Forbidden},
        {"404", server().calendarUrl("missing"), "alice", caldav::DavError::NotFound},
        {"5xx", failing.url("/cal/"), "alice", caldav::DavError::ServerError},
        {"cut", cutting.url("/cal/"), "alice", caldav::DavError::ConnectionCut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SyncedFolder folder("faults");
        folder.add({2027, 1, 21}, "", "", c.name);
        ASSERT_TRUE(folder.sync().ok);
        folder.correct({2027, 1, 21}, c.name, std::string(c.name) + "!");
        const auto before = folder.contents();
        const SyncOutcome failed = folder.sync(nullptr, c.url, c.user);
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.error, c.error) << failed.reason;
        EXPECT_FALSE(failed.reason.empty());
        EXPECT_FALSE(failed.wroteFiles);
        EXPECT_TRUE(folder.contents() == before);
        EXPECT_EQ(countsOf(folder.sync()), "同期しました（受信 0 件、送信 0 件、更新 1 件、削除 0 件、競合 0 件）。");
    }
    EXPECT_EQ(dump("faults").size(), std::size(cases));
    // A second sync of a folder while one runs is refused, never run beside it.
    SyncedFolder busy("faults");
    const files::RunLock running = files::tryRunLock(busy.path() + ".kalendra-sync.lock");
    ASSERT_TRUE(running.held());
    const SyncOutcome refused = busy.sync();
    EXPECT_NE(refused.reason.find("同期しています"), std::string::npos) << refused.reason;
    EXPECT_FALSE(refused.ok || refused.wroteFiles);
}

namespace {

Date systemToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::size_t itemsOn(const std::string& calendar)
{
    return caldav::CalDavClient(server().calendarUrl(calendar), {"alice", RadicaleServer::kPassword, {}})
        .listItems()
        .items.size();
}

} // namespace

TEST_P(SyncServer, KilledMidSyncThenSyncedAgainHoldsEveryRecordOnce)
{
    constexpr int kRecords = 60;
    TempFolder home;
    home.write("Kalendra.ini", "[Sync]\r\nUrl=" + server().calendarUrl("killed") + "\r\nUser=alice\r\n");
    const Date today = systemToday();
    std::vector<std::string> month;
    for (int i = 0; i < kRecords; ++i)
        month.push_back(scheduleLine(1 + i % 28, "", "rec" + std::to_string(i)));
    ASSERT_TRUE(files::saveLines(MonthFilePath(home.path(), today.year, today.month), month));
    const std::string command = std::string(KALENDRA_BINARY) + " --home " + home.path() + " --sync";

    const pid_t sync = ::fork();
    if (sync == 0) {
        ::freopen("/dev/null", "w", stdout);
        ::execl(KALENDRA_BINARY, "kalendra", "--home", home.path().c_str(), "--sync", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Killed once a few of the records are on the server and the rest are not.
    while (itemsOn("killed") < 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ::kill(sync, SIGKILL);
    ::waitpid(sync, nullptr, 0);
    EXPECT_LT(itemsOn("killed"), std::size_t{kRecords});

    const ProgramRun again = runProgram(command);
    EXPECT_EQ(again.exitCode, 0) << again.output;
    EXPECT_EQ(itemsOn("killed"), std::size_t{kRecords});
    EXPECT_EQ(files::loadLines(MonthFilePath(home.path(), today.year, today.month)).size(), std::size_t{kRecords});
    const ProgramRun quiet = runProgram(command);
    EXPECT_EQ(quiet.output, "同期しました（受信 0 件、送信 0 件、更新 0 件、削除 0 件、競合 0 件）。\n");
    EXPECT_EQ(quiet.exitCode, 0);

    // The contract of every command: 2 for bad arguments, 1 with the reason when it cannot sync.
    EXPECT_EQ(runProgram(command + " now 2>/dev/null").exitCode, 2);
    TempFolder unset;
    const ProgramRun off = runProgram(std::string(KALENDRA_BINARY) + " --home " + unset.path() + " --sync 2>&1");
    EXPECT_EQ(off.exitCode, 1);
    EXPECT_NE(off.output.find("同期先が設定されていません"), std::string::npos) << off.output;
}
