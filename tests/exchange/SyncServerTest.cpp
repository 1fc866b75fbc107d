// The two-way sync against a real server (one Radicale for the whole program, its items changed
// and read back by an independent client), through the password sources the program uses, and
// against servers that fail, lose replies or change an item meanwhile.
#include "exchange/SyncEngine.h"
#include "platform/ByteText.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "support/CannedHttpServer.h"
#include "todo/TodoStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

extern "C" kal::caldav::Service* kalendra_caldav_service();

using namespace kal;
using namespace kal::test;

namespace {

const Date kToday{2027, 1, 10};

RadicaleServer& server()
{
    return RadicaleServer::shared({"mkcal down VEVENT,VTODO", "mkcal up VEVENT,VTODO", "mkcal both VEVENT,VTODO",
                                   "mkcal faults VEVENT,VTODO", "mkcal lost VEVENT,VTODO", "mkcal events VEVENT",
                                   "mkcal killed VEVENT,VTODO"});
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

std::string ics(const std::string& body)
{
    return "BEGIN:VCALENDAR\\nVERSION:2.0\\nPRODID:-//peer//test//EN\\n" + body + "END:VCALENDAR\\n";
}

std::string vevent(const std::string& uid, const std::string& summary, const std::string& times)
{
    return ics("BEGIN:VEVENT\\nUID:" + uid + "\\nDTSTAMP:20260101T000000Z\\n" + times + "SUMMARY:" + summary +
               "\\nEND:VEVENT\\n");
}

std::string vtodo(const std::string& uid, const std::string& summary, const std::string& more)
{
    return ics("BEGIN:VTODO\\nUID:" + uid + "\\nDTSTAMP:20260101T000000Z\\n" + more + "SUMMARY:" + summary +
               "\\nEND:VTODO\\n");
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        out.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

// A program folder that is its own data folder, synced with one calendar.
class SyncedFolder {
public:
    explicit SyncedFolder(std::string calendar, std::string url = {})
        : url_(url.empty() ? server().calendarUrl(calendar) : std::move(url))
    {
    }

    SyncOutcome sync(caldav::Collection* through = nullptr)
    {
        const SyncRequest request{
            {folder_.path(), folder_.path(), folder_.path()}, {url_, "alice", 12, 24, 0}, kToday, 10};
        if (through)
            return runSync(request, *through);
        return runSync(request, *kalendra_caldav_service());
    }

    void add(const Date& date, const std::string& start, const std::string& end, const std::string& title)
    {
        ScheduleFields f;
        f.day = date.day;
        f.start = start;
        f.end = end;
        f.title = sjis::fromUtf8Lossy(title);
        ASSERT_TRUE(AddSchedule(MonthFilePath(folder_.path(), date.year, date.month), ComposeSchedule(f)).ok());
    }

    void addTodo(const std::string& title, bool done, const std::vector<std::string>& memo = {})
    {
        TodoEntry entry;
        entry.fields.title = sjis::fromUtf8Lossy(title);
        entry.fields.deadline = Date{2027, 2, 1};
        entry.fields.done = done;
        entry.fields.doneDate = kToday;
        entry.memo = memo;
        entry.memoChanged = !memo.empty();
        ASSERT_TRUE(StoreTodoEntry(folder_.path(), entry, &follower_).result.ok());
    }

    // Corrects (or, with no new title, deletes) the record titled `title` as the windows do.
    void correct(const Date& date, const std::string& title, const std::optional<std::string>& newTitle)
    {
        const std::string path = MonthFilePath(folder_.path(), date.year, date.month);
        const std::vector<std::string> month = LoadMonthFile(path);
        for (std::size_t i = 0; i < month.size(); ++i) {
            if (RecDay(month[i]) != date.day || sjis::toUtf8(RecTitle(month[i])) != title)
                continue;
            const ScheduleRef ref{path, static_cast<int>(i), month[i]};
            ScheduleFields f = ReadSchedule(month[i]);
            f.title = sjis::fromUtf8Lossy(newTitle.value_or(""));
            ASSERT_TRUE(newTitle ? CorrectSchedule(ref, path, ComposeSchedule(f), &follower_).ok()
                                 : DeleteSchedule(ref, &follower_).ok());
            return;
        }
        FAIL() << "no record " << title;
    }

    void tick(const std::string& title, bool done)
    {
        const TodoFile todos = LoadTodoFile(folder_.path());
        for (std::size_t i = 0; i < todos.lines.size(); ++i)
            if (sjis::toUtf8(TodoTitle(todos.lines[i])) == title)
                ASSERT_TRUE(ApplyTodoTicks(folder_.path(), {{{int(i), todos.lines[i]}, done}}, kToday, &follower_).ok());
    }

    // "2027/01/05 09:00-10:00 title" for each record, "ToDo open title" for each entry; sorted.
    std::vector<std::string> records() const
    {
        std::vector<std::string> out;
        for (const std::string& name : files::listFiles(folder_.path(), "*.sch")) {
            const auto month = MonthOfFile(name);
            for (const std::string& line : files::loadLines(folder_.file(name)))
                out.push_back(std::to_string(month->first) + "/" + (month->second < 10 ? "0" : "") +
                              std::to_string(month->second) + "/" + line.substr(0, 2) + " " +
                              text::trimRight(RecStart(line)) + "-" + text::trimRight(RecEnd(line)) + " " +
                              sjis::toUtf8(RecTitle(line)));
        }
        for (const std::string& line : files::loadLines(TodoFilePath(folder_.path())))
            out.push_back(std::string("ToDo ") + (TodoIsOpen(line) ? "open " : "done ") +
                          sjis::toUtf8(text::trimRight(TodoTitle(line))));
        std::sort(out.begin(), out.end());
        return out;
    }

    // Every file's stamp: a second sync with nothing changed leaves them all.
    std::map<std::string, files::FileStamp> stamps() const
    {
        std::map<std::string, files::FileStamp> out;
        for (const std::string& name : files::listFiles(folder_.path(), "*"))
            out[name] = files::fileStamp(folder_.file(name));
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

    const std::string& path() const { return folder_.path(); }

private:
    TempFolder folder_;
    std::string url_;
    IdentityFollower follower_{folder_.path()};
};

std::string summaryOf(const SyncOutcome& outcome)
{
    return outcome.ok ? syncSummary(outcome.counts) : outcome.reason;
}

} // namespace

TEST(SyncServer, ServerItemsComeDownAndFollowTheirChanges)
{
    server().peer({"put down timed " + vevent("timed", "会議", "DTSTART:20270105T010000Z\\nDTEND:20270105T020000Z\\n"),
                   "put down allday " + vevent("allday", "祝賀会", "DTSTART;VALUE=DATE:20270107\\n"),
                   "put down span " + vevent("span", "合宿", "DTSTART:20270201T000000Z\\nDTEND:20270203T080000Z\\n"),
                   "put down weekly " + vevent("weekly", "Weekly",
                                               "DTSTART;TZID=Europe/Berlin:20270104T090000\\n"
                                               "DTEND;TZID=Europe/Berlin:20270104T100000\\nRRULE:FREQ=WEEKLY;COUNT=3\\n"),
                   "put down open " + vtodo("open", "牛乳", "DUE;VALUE=DATE:20270120\\n"),
                   "put down done " + vtodo("done", "Report", "STATUS:COMPLETED\\nCOMPLETED:20270102T000000Z\\n")});
    SyncedFolder folder("down");
    const SyncOutcome first = folder.sync();
    EXPECT_EQ(summaryOf(first), "同期しました（受信 6 件、送信 0 件、更新 0 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(folder.records(), (std::vector<std::string>{
                                    "2027/01/04 17:00-18:00 Weekly", "2027/01/05 10:00-11:00 会議",
                                    "2027/01/07 - 祝賀会", "2027/01/11 17:00-18:00 Weekly",
                                    "2027/01/18 17:00-18:00 Weekly", "2027/02/01 09:00- 合宿", "2027/02/02 - 合宿",
                                    "2027/02/03 -17:00 合宿", "ToDo done Report", "ToDo open 牛乳"}));
    folder.expectQuietSecondSync();

    server().peer({"edit down timed 打合せ", "delete down allday", "exdate down weekly 20270111T080000Z",
                   "put down open " + vtodo("open", "牛乳", "STATUS:COMPLETED\\nCOMPLETED:20270109T000000Z\\n"),
                   "put down done " + vtodo("done", "Report", "STATUS:NEEDS-ACTION\\n")});
    const SyncOutcome second = folder.sync();
    EXPECT_EQ(summaryOf(second), "同期しました（受信 0 件、送信 0 件、更新 4 件、削除 1 件、競合 0 件）。");
    EXPECT_EQ(folder.records(), (std::vector<std::string>{
                                    "2027/01/04 17:00-18:00 Weekly", "2027/01/05 10:00-11:00 打合せ",
                                    "2027/01/18 17:00-18:00 Weekly", "2027/02/01 09:00- 合宿", "2027/02/02 - 合宿",
                                    "2027/02/03 -17:00 合宿", "ToDo done 牛乳", "ToDo open Report"}));
    folder.expectQuietSecondSync();
}

TEST(SyncServer, LocalRecordsGoUpAndFollowTheirChanges)
{
    SyncedFolder folder("up");
    folder.add({2027, 1, 5}, "10:00", "11:00", "歯医者");
    folder.add({2027, 1, 6}, "", "", "誕生日");
    folder.add({2027, 1, 7}, "23:00", "01:00", "夜行バス");
    folder.addTodo("書類", false, {"一行目", "二行目"});
    folder.addTodo("洗車", true);
    EXPECT_EQ(summaryOf(folder.sync()), "同期しました（受信 0 件、送信 5 件、更新 0 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(lines(server().peer({"dump up"})).size(), 5u);
    folder.expectQuietSecondSync();

    folder.correct({2027, 1, 5}, "歯医者", "歯科検診");
    folder.correct({2027, 1, 6}, "誕生日", std::nullopt);
    folder.tick("書類", true);
    EXPECT_EQ(summaryOf(folder.sync()), "同期しました（受信 0 件、送信 0 件、更新 2 件、削除 1 件、競合 0 件）。");
    std::vector<std::string> seen;
    for (const std::string& line : lines(server().peer({"dump up"})))
        seen.push_back(line.substr(line.find('|')));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"||COMPLETED||書類", "||COMPLETED||洗車", "||||夜行バス",
                                              "||||歯科検診"}));
    folder.expectQuietSecondSync();
    // What another device reads: nothing doubled; the overnight record spans two days there.
    SyncedFolder other("up");
    EXPECT_EQ(summaryOf(other.sync()), "同期しました（受信 4 件、送信 0 件、更新 0 件、削除 0 件、競合 0 件）。");
    EXPECT_EQ(other.records(),
              (std::vector<std::string>{"2027/01/05 10:00-11:00 歯科検診", "2027/01/07 23:00- 夜行バス",
                                        "2027/01/08 -01:00 夜行バス", "ToDo done 書類", "ToDo done 洗車"}));
}

TEST(SyncServer, OccurrencesGoUpAsExceptionsAndSpansStayLocal)
{
    server().peer({"put up series " + vevent("series", "朝会",
                                             "DTSTART;TZID=Asia/Tokyo:20270111T090000\\n"
                                             "DTEND;TZID=Asia/Tokyo:20270111T093000\\nRRULE:FREQ=DAILY;COUNT=3\\n"),
                   "put up trip " + vevent("trip", "出張", "DTSTART;VALUE=DATE:20270120\\nDTEND;VALUE=DATE:20270122\\n")});
    SyncedFolder folder("up");
    ASSERT_TRUE(folder.sync().ok);
    folder.correct({2027, 1, 12}, "朝会", "朝会（会議室B）");
    folder.correct({2027, 1, 13}, "朝会", std::nullopt);
    folder.correct({2027, 1, 21}, "出張", "出張（大阪）");
    const SyncOutcome sent = folder.sync();
    EXPECT_EQ(summaryOf(sent), "同期しました（受信 0 件、送信 0 件、更新 1 件、削除 0 件、競合 0 件）。1 件の変更は同期先の"
                               "予定で表せないため、手元だけに残しました。");
    const std::vector<std::string> dump = lines(server().peer({"dump up"}));
    EXPECT_NE(std::find(dump.begin(), dump.end(), "series|||20270113T090000|朝会"), dump.end());
    EXPECT_NE(std::find(dump.begin(), dump.end(), "series|20270112T090000|||朝会（会議室B）"), dump.end());
    EXPECT_NE(std::find(dump.begin(), dump.end(), "trip||||出張"), dump.end());
    // The exception comes back as the record it was made from: nothing changes here.
    SyncedFolder other("up");
    ASSERT_TRUE(other.sync().ok);
    const std::vector<std::string> there = other.records();
    EXPECT_NE(std::find(there.begin(), there.end(), "2027/01/12 09:00-09:30 朝会（会議室B）"), there.end());
    EXPECT_EQ(std::count_if(there.begin(), there.end(), [](auto& r) { return r.ends_with("朝会"); }), 1);
}

TEST(SyncServer, BothSidesChangedKeepsBothVersions)
{
    SyncedFolder folder("both");
    folder.add({2027, 1, 15}, "14:00", "15:00", "面談");
    ASSERT_TRUE(folder.sync().ok);
    const std::string uid = lines(server().peer({"dump both"})).front().substr(0, 36);
    server().peer({"set both " + uid + " SUMMARY 面談（本社）"});
    folder.correct({2027, 1, 15}, "面談", "面談（支社）");
    EXPECT_EQ(summaryOf(folder.sync()), "同期しました（受信 0 件、送信 1 件、更新 0 件、削除 0 件、競合 1 件）。競合した手元の"
                                        "版は題名に「（競合）」を付けて残しました。");
    EXPECT_EQ(folder.records(),
              (std::vector<std::string>{"2027/01/15 14:00-15:00 面談（本社）", "2027/01/15 14:00-15:00 （競合）面談（支社）"}));
    EXPECT_EQ(lines(server().peer({"dump both"})).size(), 2u);
    folder.expectQuietSecondSync();
}

TEST(SyncServer, ToDoEntriesStayHereWhenTheCollectionRefusesThem)
{
    SyncedFolder folder("events");
    folder.add({2027, 1, 8}, "", "", "納品");
    folder.addTodo("請求書", false);
    const SyncOutcome outcome = folder.sync();
    EXPECT_TRUE(outcome.counts.todosRefused);
    EXPECT_EQ(summaryOf(outcome), "同期しました（受信 0 件、送信 1 件、更新 0 件、削除 0 件、競合 0 件）。同期先のカレンダー"
                                  "は ToDo を受け付けないため、ToDo は同期しませんでした。");
    const std::vector<std::string> there = lines(server().peer({"dump events"}));
    ASSERT_EQ(there.size(), 1u);
    EXPECT_TRUE(there.front().ends_with("|納品"));
}
