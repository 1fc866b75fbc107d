// The CalDAV transport against a local Radicale (the tests' server): the parts of a sync's time
// that the network layer and the server take. The 6,000 events are uploaded in one calendar
// before any timed span (one PUT of the collection, which Radicale takes as an import).
#include "support/RadicaleServer.h"
#include "sync/CalDavClient.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace kal::caldav;
using namespace kal::test;

namespace {

RadicaleServer& server()
{
    return RadicaleServer::shared({"mkcal up VEVENT,VTODO"});
}

CalDavClient clientOf(const std::string& calendar)
{
    return {server().calendarUrl(calendar), {RadicaleServer::kUser, RadicaleServer::kPassword, {}}};
}

std::string calendar(const std::string& events)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Kalendra//bench//JA\r\n" + events + "END:VCALENDAR\r\n";
}

std::string event(int number)
{
    const std::string uid = "bench-" + std::to_string(number);
    return "BEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260501T100000Z\r\n"
           "DURATION:PT1H\r\nSUMMARY:会議 " +
           uid + "\r\nLOCATION:第二会議室\r\nEND:VEVENT\r\n";
}

// The 6,000 events of "big", uploaded on first use.
void populate()
{
    static const bool done = [] {
        std::string events;
        for (int i = 0; i < 6000; ++i)
            events += event(i);
        HttpSession session({RadicaleServer::kUser, RadicaleServer::kPassword, {}}, {});
        return session.send({"PUT", server().calendarUrl("big"), {"Content-Type: text/calendar"}, calendar(events)})
            .status.ok();
    }();
    if (!done)
        std::abort();
}

void BM_ListAndFetch6000(benchmark::State& state)
{
    populate();
    CalDavClient client = clientOf("big");
    for (auto _ : state) {
        std::vector<std::string> hrefs;
        for (const ItemTag& item : client.listItems().items)
            hrefs.push_back(item.href);
        const ItemBodies bodies = client.fetch(hrefs);
        if (bodies.items.size() != 6000)
            state.SkipWithError("not all 6,000 events came back");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mib"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ListAndFetch6000)->Unit(benchmark::kMillisecond)->Iterations(3);

// What a sync with nothing changed costs the transport: the collection's ctag alone, or the
// sync-collection report that names no change.
void BM_DiscoverUnchanged6000(benchmark::State& state)
{
    populate();
    CalDavClient client = clientOf("big");
    const std::string ctag = client.discover().ctag;
    for (auto _ : state)
        if (client.discover().ctag != ctag)
            state.SkipWithError("the ctag changed");
}
BENCHMARK(BM_DiscoverUnchanged6000)->Unit(benchmark::kMillisecond);

void BM_SyncCollectionUnchanged6000(benchmark::State& state)
{
    populate();
    CalDavClient client = clientOf("big");
    const std::string token = client.discover().syncToken;
    for (auto _ : state) {
        const ItemChanges changes = client.changesSince(token);
        if (!changes.status.ok() || !changes.changed.empty())
            state.SkipWithError("changes where none were made");
    }
}
BENCHMARK(BM_SyncCollectionUnchanged6000)->Unit(benchmark::kMillisecond);

void BM_Put1000(benchmark::State& state)
{
    CalDavClient client = clientOf("up");
    int round = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            if (!client
                     .create("r" + std::to_string(round) + "-" + std::to_string(i) + ".ics",
                             calendar(event(round * 1000 + i)))
                     .status.ok())
                state.SkipWithError("a PUT failed");
        ++round;
    }
}
BENCHMARK(BM_Put1000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
