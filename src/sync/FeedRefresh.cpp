#include "sync/FeedRefresh.h"

#include "platform/DateFormat.h"
#include "platform/FolderLock.h"
#include "sync/CalDavService.h"
#include "sync/FeedCache.h"
#include "sync/FeedCalendar.h"

namespace kal {
namespace {

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
           });
}

std::string stamp(const DateTime& now)
{
    return text::formatDateTime("yyyy/mm/dd hh:nn", now);
}

std::string lastSuccessText(const FeedState& state)
{
    return state.succeeded.empty() ? "（まだ一度も取得できていません）" : "（前回の取得: " + state.succeeded + "）";
}

// The fetch's reasons, with the feed's own limits named.
std::string fetchReason(const caldav::DavStatus& status)
{
    switch (status.error) {
    case caldav::DavError::Redirect:
        return "転送が5回を超えたか、https:// から別の方式へ転送されたため、中止しました。";
    case caldav::DavError::TooLarge:
        return "カレンダーが 32 MiB を超えるため、読み込みませんでした。";
    case caldav::DavError::Timeout:
        return "30 秒以内に応答がありませんでした（時間切れ）。";
    case caldav::DavError::BadUrl:
        return "購読の URL が正しくありません。";
    case caldav::DavError::NotFound:
        return "サーバーにその予定表がありません（" + std::to_string(status.httpStatus) + "）。";
    default:
        return status.reason;
    }
}

struct Fetched {
    bool ok = false;
    bool notModified = false;
    std::string body, etag, lastModified, reason;
};

Fetched fetchLocation(const FeedLocation& location, const FeedState& state, const FeedFetcher& fetch)
{
    if (!location.problem.empty())
        return {false, false, {}, {}, {}, location.problem};
    if (!location.path.empty()) {
        files::ReadResult read = files::readFile(location.path, caldav::kMaxFeedBytes);
        if (read.status == files::ReadStatus::Missing)
            return {false, false, {}, {}, {}, "「" + location.path + "」が見つかりません。"};
        if (read.status == files::ReadStatus::Unreadable)
            return {false, false, {}, {}, {}, "「" + location.path + "」を読み込めません。" + read.reason};
        return {true, false, std::move(read.bytes), {}, {}, {}};
    }
    caldav::FeedReply reply = fetch({location.url, state.etag, state.lastModified});
    if (!reply.status.ok())
        return {false, false, {}, {}, {}, fetchReason(reply.status)};
    return {true, reply.notModified, std::move(reply.body), std::move(reply.etag), std::move(reply.lastModified), {}};
}

int eventsOfCopy(const std::string& path)
{
    const std::optional<std::string> text = files::readBytes(path);
    const FeedCalendar::Parsed parsed = FeedCalendar::parse(text ? *text : std::string());
    return parsed.calendar ? parsed.calendar->eventCount() : 0;
}

FeedRefresh failed(const std::string& statePath, FeedState state, const std::string& why, const DateTime& now)
{
    FeedRefresh refresh{FeedOutcome::Failed, why + lastSuccessText(state), 0};
    state.failed = stamp(now);
    state.reason = why;
    writeFeedState(statePath, state);
    return refresh;
}

} // namespace

FeedFetcher moduleFeedFetcher(const std::atomic<bool>* cancel)
{
    return [cancel](const caldav::FeedRequest& request) {
        const caldav::LoadedService loaded = caldav::loadService();
        if (!loaded.service)
            return caldav::FeedReply{
                caldav::DavStatus{caldav::DavError::BadReply, 0, loaded.reason}, false, {}, {}, {}};
        return loaded.service->fetchFeed(request, cancel);
    };
}

FeedLocation feedLocation(const std::string& entered)
{
    if (startsWith(entered, "webcal://"))
        return {"https://" + entered.substr(9), {}, {}};
    if (startsWith(entered, "webcals://"))
        return {"https://" + entered.substr(10), {}, {}};
    if (startsWith(entered, "https://") || startsWith(entered, "http://"))
        return {entered, {}, {}};
    if (startsWith(entered, "file://"))
        return {{}, entered.substr(7), {}};
    if (entered.starts_with("/"))
        return {{}, entered, {}};
    return {{}, {}, "購読の URL は https://、webcal://、http:// のどれかで始めるか、ファイルのパスにしてください。"};
}

FeedRefresh refreshFeed(const Subscription& subscription, const std::string& programFolder, const FeedFetcher& fetch,
                        const DateTime& now)
{
    const std::string folder = feedFolder(programFolder);
    if (!files::folderExists(folder))
        if (files::IoResult made = files::createFolders(folder); !made)
            return {FeedOutcome::Failed, made.reason, 0};
    const std::string textPath = feedTextPath(programFolder, subscription.url);
    const std::string statePath = feedStatePath(programFolder, subscription.url);
    files::FolderLock lock = files::lockFolder(folder);
    if (!lock)
        return {FeedOutcome::Failed, lock.reason(), 0};
    FeedState state = readFeedState(statePath);
    const bool hadCopy = files::fileExists(textPath);
    if (!hadCopy)
        state = FeedState{};
    Fetched fetched = fetchLocation(feedLocation(subscription.url), state, fetch);
    if (!fetched.ok)
        return failed(statePath, state, fetched.reason, now);
    FeedRefresh refresh{FeedOutcome::Unchanged, {}, 0};
    if (fetched.notModified && hadCopy) {
        refresh.events = eventsOfCopy(textPath);
    } else {
        const FeedCalendar::Parsed parsed = FeedCalendar::parse(fetched.body);
        if (!parsed.calendar)
            return failed(statePath, state, parsed.reason, now);
        refresh.events = parsed.calendar->eventCount();
        if (!hadCopy || files::readBytes(textPath) != fetched.body) {
            if (files::IoResult saved = files::saveBytesWithin(textPath, fetched.body, caldav::kMaxFeedBytes); !saved)
                return failed(statePath, state, "カレンダーの写しを保存できません。" + saved.reason, now);
            refresh.outcome = hadCopy ? FeedOutcome::Updated : FeedOutcome::New;
        }
        state.etag = fetched.etag;
        state.lastModified = fetched.lastModified;
    }
    state.succeeded = stamp(now);
    state.failed.clear();
    state.reason.clear();
    // Without its ETag the copy is only fetched whole next time; the user still hears of it.
    if (files::IoResult saved = writeFeedState(statePath, state); !saved)
        return {FeedOutcome::Failed, "取得した予定表の状態を保存できません。" + saved.reason, refresh.events};
    return refresh;
}

std::string feedRefreshLine(const std::string& name, const FeedRefresh& refresh)
{
    const std::string count = "（" + std::to_string(refresh.events) + "件）";
    switch (refresh.outcome) {
    case FeedOutcome::New:
        return name + ": 取得しました" + count;
    case FeedOutcome::Updated:
        return name + ": 更新しました" + count;
    case FeedOutcome::Unchanged:
        return name + ": 変更はありません" + count;
    case FeedOutcome::Failed:
        break;
    }
    return name + ": 失敗しました: " + refresh.reason;
}

} // namespace kal
