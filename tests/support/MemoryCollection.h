// A calendar collection held in memory, with the answers of a CalDAV server (sync tokens, ETags,
// If-Match and If-None-Match, a UID held by another item), so that the sync's decisions are
// tested case by case without a server process. Another device's changes are made with put,
// edit, retitle and erase. Any collection, this or a real one, can have one request fail
// (FaultyCollection).
#pragma once

#include "sync/CalDavService.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kal::test {

class MemoryCollection : public caldav::Collection {
public:
    bool tokens = true; // false: a server without sync-collection (ctag and ETags only)
    bool acceptsTodos = true;

    // Another device's changes.
    void put(const std::string& name, const std::string& icalendar) { store(kPath + name, icalendar); }
    void edit(const std::string& href, const std::string& icalendar) { store(href, icalendar); }
    // Another device retitles the item titled `from`.
    void retitle(const std::string& from, const std::string& to)
    {
        for (auto& [href, item] : items_)
            if (const std::size_t at = item.icalendar.find("SUMMARY:" + from + "\r"); at != std::string::npos)
                return edit(href, std::string(item.icalendar).replace(at + 8, from.size(), to));
    }
    void erase(const std::string& href)
    {
        items_.erase(href);
        removedAt_[href] = ++revision_;
    }

    std::vector<std::string> hrefs() const
    {
        std::vector<std::string> out;
        for (const auto& [href, item] : items_)
            out.push_back(href);
        return out;
    }

    // An all-day event as another device writes it.
    static std::string event(const std::string& uid, const std::string& day, const std::string& summary)
    {
        return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//peer//test//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
               "\r\nDTSTAMP:20270101T000000Z\r\nDTSTART;VALUE=DATE:" + day + "\r\nSUMMARY:" + summary +
               "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    }

    // The SUMMARY of every component, "?" for an item without one; sorted.
    std::vector<std::string> summaries() const
    {
        std::vector<std::string> out;
        for (const auto& [href, item] : items_) {
            const std::size_t before = out.size();
            for (std::size_t at = item.icalendar.find("\nSUMMARY"); at != std::string::npos;
                 at = item.icalendar.find("\nSUMMARY", at + 1)) {
                const std::size_t colon = item.icalendar.find(':', at), end = item.icalendar.find('\r', colon);
                out.push_back(item.icalendar.substr(colon + 1, end - colon - 1));
            }
            if (out.size() == before)
                out.push_back("?");
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    caldav::CollectionInfo discover() override
    {
        caldav::CollectionInfo info;
        info.url = "http://127.0.0.1/cal/";
        info.acceptsEvents = true;
        info.acceptsTodos = acceptsTodos;
        info.ctag = "c" + std::to_string(revision_);
        info.syncToken = tokens ? token() : "";
        return info;
    }

    caldav::ItemChanges changesSince(const std::string& since) override
    {
        caldav::ItemChanges changes;
        const long from = since.starts_with("t") ? std::stol(since.substr(1)) : -1;
        changes.complete = from < 0;
        for (const auto& [href, item] : items_)
            if (item.revision > from)
                changes.changed.push_back({href, item.etag});
        for (const auto& [href, at] : removedAt_)
            if (from >= 0 && at > from && !items_.count(href))
                changes.removed.push_back(href);
        changes.syncToken = token();
        return changes;
    }

    caldav::ItemChanges changesByEtag(const std::map<std::string, std::string>& known) override
    {
        caldav::ItemChanges changes;
        for (const auto& [href, item] : items_)
            if (const auto it = known.find(href); it == known.end() || it->second != item.etag)
                changes.changed.push_back({href, item.etag});
        for (const auto& [href, etag] : known)
            if (!items_.count(href))
                changes.removed.push_back(href);
        return changes;
    }

    caldav::ItemBodies fetch(const std::vector<std::string>& hrefs) override
    {
        caldav::ItemBodies bodies;
        for (const std::string& href : hrefs)
            if (const auto it = items_.find(href); it != items_.end())
                bodies.items.push_back({href, it->second.etag, it->second.icalendar});
            else
                bodies.missing.push_back(href);
        return bodies;
    }

    caldav::ItemBodies fetchAll() override { return fetch(hrefs()); }

    caldav::WriteResult create(const std::string& name, const std::string& icalendar) override
    {
        caldav::WriteResult result;
        result.href = kPath + name;
        if (items_.count(result.href))
            return refused(caldav::DavError::PreconditionFailed, 412, result);
        for (const auto& [href, item] : items_)
            if (uidOf(item.icalendar) == uidOf(icalendar)) {
                result.conflictHref = href;
                return refused(caldav::DavError::UidConflict, 403, result);
            }
        result.etag = store(result.href, icalendar);
        return result;
    }

    caldav::WriteResult update(const std::string& href, const std::string& etag, const std::string& icalendar) override
    {
        caldav::WriteResult result;
        result.href = href;
        const auto it = items_.find(href);
        if (it == items_.end())
            return refused(caldav::DavError::NotFound, 404, result);
        if (it->second.etag != etag)
            return refused(caldav::DavError::PreconditionFailed, 412, result);
        result.etag = store(href, icalendar);
        return result;
    }

    caldav::DavStatus remove(const std::string& href, const std::string& etag) override
    {
        const auto it = items_.find(href);
        if (it == items_.end())
            return caldav::davFailure(caldav::DavError::NotFound, 404);
        if (it->second.etag != etag)
            return caldav::davFailure(caldav::DavError::PreconditionFailed, 412);
        erase(href);
        return caldav::DavStatus{};
    }

private:
    struct Item {
        std::string icalendar;
        std::string etag;
        long revision = 0;
    };
    static constexpr const char* kPath = "/cal/";

    static std::string uidOf(const std::string& icalendar)
    {
        const std::size_t at = icalendar.find("\nUID:");
        return at == std::string::npos ? std::string() : icalendar.substr(at + 5, icalendar.find('\r', at) - at - 5);
    }
    std::string token() const { return "t" + std::to_string(revision_); }
    std::string store(const std::string& href, const std::string& icalendar)
    {
        Item& item = items_[href];
        item = Item{icalendar, "\"e" + std::to_string(++revision_) + "\"", revision_};
        removedAt_.erase(href);
        return item.etag;
    }
    static caldav::WriteResult refused(caldav::DavError error, int status, caldav::WriteResult result)
    {
        result.status = caldav::davFailure(error, status);
        return result;
    }

    std::map<std::string, Item> items_;
    std::map<std::string, long> removedAt_;
    long revision_ = 1;
};

struct SyncKilled { };

// A collection with one request made to fail: cut before it reaches the collection, its reply
// lost after it took effect, or the process killed (the sync ends by an exception, as kill -9
// would end it: nothing written after that point). `first` runs just before that request:
// another device's change meanwhile.
class FaultyCollection : public caldav::Collection {
public:
    enum class Fault { None, Cut, LoseReply, KillBefore, KillAfter };
    enum class Request { Any, Create, Update, Remove };

    explicit FaultyCollection(caldav::Collection& inner) : inner_(inner) { }

    // The `at`-th request of that kind from now, counted from 1.
    void failAt(int at, Fault fault, Request kind = Request::Any, std::function<void()> first = {})
    {
        left_ = at;
        fault_ = fault;
        kind_ = kind;
        first_ = std::move(first);
    }
    int requests = 0;

    caldav::CollectionInfo discover() override
    {
        return answer(Request::Any, [&] { return inner_.discover(); });
    }
    caldav::ItemChanges changesSince(const std::string& since) override
    {
        return answer(Request::Any, [&] { return inner_.changesSince(since); });
    }
    caldav::ItemChanges changesByEtag(const std::map<std::string, std::string>& known) override
    {
        return answer(Request::Any, [&] { return inner_.changesByEtag(known); });
    }
    caldav::ItemBodies fetch(const std::vector<std::string>& hrefs) override
    {
        return answer(Request::Any, [&] { return inner_.fetch(hrefs); });
    }
    caldav::ItemBodies fetchAll() override
    {
        return answer(Request::Any, [&] { return inner_.fetchAll(); });
    }
    caldav::WriteResult create(const std::string& name, const std::string& icalendar) override
    {
        return answer(Request::Create, [&] { return inner_.create(name, icalendar); });
    }
    caldav::WriteResult update(const std::string& href, const std::string& etag, const std::string& icalendar) override
    {
        return answer(Request::Update, [&] { return inner_.update(href, etag, icalendar); });
    }
    caldav::DavStatus remove(const std::string& href, const std::string& etag) override
    {
        return answer(Request::Remove, [&] { return inner_.remove(href, etag); });
    }

private:
    template <typename Call> auto answer(Request kind, Call call) -> decltype(call())
    {
        ++requests;
        if ((kind_ != Request::Any && kind != kind_) || --left_ != 0)
            return call();
        if (first_)
            first_();
        if (fault_ == Fault::KillBefore)
            throw SyncKilled{};
        if (fault_ == Fault::Cut)
            return cut<decltype(call())>();
        const auto result = call();
        if (fault_ == Fault::KillAfter)
            throw SyncKilled{};
        return fault_ == Fault::None ? result : cut<decltype(call())>();
    }
    template <typename Result> static Result cut()
    {
        Result result{};
        if constexpr (std::is_same_v<Result, caldav::DavStatus>)
            result = caldav::davFailure(caldav::DavError::ConnectionCut);
        else
            result.status = caldav::davFailure(caldav::DavError::ConnectionCut);
        return result;
    }

    caldav::Collection& inner_;
    int left_ = 0;
    Fault fault_ = Fault::None;
    Request kind_ = Request::Any;
    std::function<void()> first_;
};

} // namespace kal::test
