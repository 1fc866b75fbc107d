// The two-way sync against a local Radicale (the tests' server): a first sync down of 6,000
// events into an empty folder, a sync with nothing changed, 1,000 new local records sent up, and
// the memory the program itself (kalendra --sync) takes for the first sync down. Server data and
// folders are made outside the timed spans.
#include "schedule/ScheduleRecord.h"
#include "support/RadicaleServer.h"
#include "support/RunProgram.h"
#include "support/ScheduleLines.h"
#include "sync/SyncEngine.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>

extern "C" kal::caldav::Service* kalendra_caldav_service();

using namespace kal;
using namespace kal::test;

namespace {

const Date kToday{2027, 1, 10};

RadicaleServer& server()
{
    // ~/.netrc of a home of its own gives the sync its password.
    static TempFolder home;
    static const bool netrc = [] {
        home.write(".netrc", "machine 127.0.0.1 login alice password wonderland\n");
        ::chmod(home.file(".netrc").c_str(), 0600);
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("no_proxy", "*", 1);
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
        return true;
    }();
    (void)netrc;
    return RadicaleServer::shared();
}

caldav::HttpReply send(const std::string& method, const std::string& url, const std::string& body = {})
{
    caldav::HttpSession session({RadicaleServer::kUser, RadicaleServer::kPassword, {}}, {});
    return session.send({method, url, {"Content-Type: text/calendar"}, body});
}

// A calendar of 6,000 events over the sync window, put in one request (Radicale takes it as an
// import) on first use.
const std::string& bigCalendar()
{
    static const std::string url = [] {
        std::string events;
        for (int i = 0; i < 6000; ++i) {
            const Date day = addDays({2026, 2, 1}, i % 1000);
            char start[32];
            std::snprintf(start, sizeof start, "%04d%02d%02dT%02d0000Z", day.year, day.month, day.day, i % 8);
            events += "BEGIN:VEVENT\r\nUID:big-" + std::to_string(i) +
                      "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:" + start + "\r\nDURATION:PT1H\r\nSUMMARY:会議 " +
                      std::to_string(i) + "\r\nLOCATION:第二会議室\r\nEND:VEVENT\r\n";
        }
        const std::string calendar = server().calendarUrl("big");
        if (!send("PUT", calendar,
                  "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Kalendra//bench//JA\r\n" + events + "END:VCALENDAR\r\n")
                 .status.ok())
            std::abort();
        return calendar;
    }();
    return url;
}

SyncRequest requestFor(const TempFolder& folder, const std::string& url)
{
    return {{folder.path(), folder.path(), folder.path()}, {url, RadicaleServer::kUser, 12, 24, 0}, kToday, 10};
}

// First syncs down of the 6,000 events of `url`, each into an empty folder.
void firstSyncsDown(benchmark::State& state, const std::string& url)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<TempFolder>();
        state.ResumeTiming();
        const SyncOutcome outcome = runSync(requestFor(*folder, url), *kalendra_caldav_service());
        if (!outcome.ok || outcome.counts.received != 6000)
            state.SkipWithError("the 6,000 events did not come down");
        state.PauseTiming();
        folder.reset();
        state.ResumeTiming();
    }
}
void BM_FirstSyncDown6000(benchmark::State& state)
{
    firstSyncsDown(state, bigCalendar());
}
BENCHMARK(BM_FirstSyncDown6000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_UnchangedSync6000(benchmark::State& state)
{
    TempFolder folder;
    const SyncRequest request = requestFor(folder, bigCalendar());
    if (!runSync(request, *kalendra_caldav_service()).ok)
        state.SkipWithError("the first sync failed");
    for (auto _ : state) {
        const SyncOutcome outcome = runSync(request, *kalendra_caldav_service());
        if (!outcome.ok || outcome.wroteFiles)
            state.SkipWithError("a sync with nothing changed wrote files");
    }
}
BENCHMARK(BM_UnchangedSync6000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Up1000NewRecords(benchmark::State& state)
{
    static int round = 0; // a calendar of its own for each repetition
    for (auto _ : state) {
        state.PauseTiming();
        TempFolder folder;
        const std::string url = server().calendarUrl("up" + std::to_string(round++));
        std::vector<std::string> month;
        for (int i = 0; i < 1000; ++i)
            month.push_back(scheduleLine(1 + i % 28, "10:00", "新しい予定 " + std::to_string(i)));
        if (!send("MKCALENDAR", url).status.ok() || !files::saveLines(MonthFilePath(folder.path(), 2027, 1), month)) {
            state.SkipWithError("the calendar or the records could not be made");
            break;
        }
        state.ResumeTiming();
        const SyncOutcome outcome = runSync(requestFor(folder, url), *kalendra_caldav_service());
        if (!outcome.ok || outcome.counts.sent != 1000)
            state.SkipWithError("the 1,000 records did not go up");
    }
}
BENCHMARK(BM_Up1000NewRecords)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The server's own answer to the sync-collection REPORT a sync with nothing changed sends (the
// token of a synced folder), sent by curl and timed by curl from the request to the last byte, as
// the sync's own requests are timed inside it.
double curlSeconds(const std::string& url, const std::string& body, const std::string& depth)
{
    static TempFolder scratch;
    scratch.write("body.xml", body);
    const ProgramRun run = runProgram("curl -s --noproxy '*' -u alice:wonderland -o /dev/null -w '%{time_total}' -X "
                                      "REPORT -H 'Depth: " +
                                      depth + "' -H 'Content-Type: application/xml; charset=utf-8' --data-binary @" +
                                      scratch.file("body.xml") + " " + url);
    return run.exitCode == 0 ? std::stod(run.output) : -1;
}

void BM_ServerSyncReport6000(benchmark::State& state)
{
    TempFolder folder;
    if (!runSync(requestFor(folder, bigCalendar()), *kalendra_caldav_service()).ok)
        state.SkipWithError("the first sync failed");
    const std::string state_ = folder.read("Sync.dat"), key = "Token=";
    const std::size_t at = state_.find(key);
    const std::string token = state_.substr(at + key.size(), state_.find('\r', at) - at - key.size());
    const std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><sync-collection xmlns=\"DAV:\"><sync-token>" +
                             token + "</sync-token><sync-level>1</sync-level><prop><getetag/></prop></sync-collection>";
    for (auto _ : state) {
        const double seconds = curlSeconds(bigCalendar(), body, "0");
        if (seconds < 0)
            state.SkipWithError("curl failed");
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_ServerSyncReport6000)->Unit(benchmark::kMillisecond)->UseManualTime();

// Xandikos: the same 6,000 events, put into its store as one commit (6,000 PUTs would take it
// most of ten minutes), then a first sync down against one calendar-query REPORT of them all.
const std::string& xandikosCalendar()
{
    static const std::string url = [] {
        LocalDavServer& xandikos = LocalDavServer::shared(DavServerKind::Xandikos, {"mkcal big VEVENT,VTODO"});
        const std::string store = xandikos.storeFolder() + "/alice/calendars/big/";
        for (int i = 0; i < 6000; ++i) {
            const Date day = addDays({2026, 2, 1}, i % 1000);
            char start[32];
            std::snprintf(start, sizeof start, "%04d%02d%02dT%02d0000Z", day.year, day.month, day.day, i % 8);
            if (!files::saveBytes(store + "big-" + std::to_string(i) + ".ics",
                                  "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Kalendra//bench//JA\r\nBEGIN:VEVENT\r\n"
                                  "UID:big-" +
                                      std::to_string(i) + "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:" + start +
                                      "\r\nDURATION:PT1H\r\nSUMMARY:会議 " + std::to_string(i) +
                                      "\r\nLOCATION:第二会議室\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"))
                std::abort();
        }
        if (runProgram("cd " + store +
                       " && git add -A && git -c user.name=bench -c user.email=bench@localhost commit -qm fill")
                .exitCode != 0)
            std::abort();
        return xandikos.calendarUrl("big");
    }();
    return url;
}

void BM_FirstSyncDownXandikos6000(benchmark::State& state)
{
    firstSyncsDown(state, xandikosCalendar());
}
BENCHMARK(BM_FirstSyncDownXandikos6000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_XandikosCalendarQuery6000(benchmark::State& state)
{
    const std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><C:calendar-query xmlns:D=\"DAV:\" "
                             "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop><D:getetag/><C:calendar-data/>"
                             "</D:prop><C:filter><C:comp-filter name=\"VCALENDAR\"/></C:filter></C:calendar-query>";
    for (auto _ : state) {
        const double seconds = curlSeconds(xandikosCalendar(), body, "1");
        if (seconds < 0)
            state.SkipWithError("curl failed");
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_XandikosCalendarQuery6000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

// The program's own peak resident memory through a first sync down of the 6,000 events
// (kalendra --home DIR --sync, as a child process); the time is that process's whole run.
void BM_SyncProcessMemory6000(benchmark::State& state)
{
    const std::string url = bigCalendar();
    double peakMib = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TempFolder home;
        home.write("Kalendra.ini", "[Sync]\r\nUrl=" + url + "\r\nUser=alice\r\n");
        state.ResumeTiming();
        const pid_t child = ::fork();
        if (child == 0) {
            ::freopen("/dev/null", "w", stdout);
            ::execl(KALENDRA_BINARY, "kalendra", "--home", home.path().c_str(), "--sync", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("kalendra --sync failed");
        peakMib = std::max(peakMib, static_cast<double>(usage.ru_maxrss) / 1024.0);
    }
    state.counters["peak_rss_mib"] = peakMib;
}
BENCHMARK(BM_SyncProcessMemory6000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
