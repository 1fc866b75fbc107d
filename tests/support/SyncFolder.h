// A program folder that is its own data folder, changed as the windows change it (through the
// identity follower) and read back as short lines, for the sync's tests against any collection.
#pragma once

#include "platform/ByteText.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "support/TempFolder.h"
#include "sync/SyncEngine.h"
#include "todo/TodoStore.h"

#include <gtest/gtest.h>

namespace kal::test {

class SyncFolder {
public:
    SyncRequest request(const std::string& url) const
    {
        return {{folder_.path(), folder_.path(), folder_.path()}, {url, "alice", back, ahead, 0}, today, 10};
    }
    SyncOutcome sync(caldav::Collection& server, const std::string& url = "http://127.0.0.1/cal/") const
    {
        return runSync(request(url), server);
    }

    void add(const Date& date, const std::string& start, const std::string& end, const std::string& title) const
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
        entry.fields.doneDate = today;
        entry.memo = memo;
        entry.memoChanged = !memo.empty();
        ASSERT_TRUE(StoreTodoEntry(folder_.path(), entry, store::Follower(&follower_)).result.ok());
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
            ASSERT_TRUE(newTitle ? CorrectSchedule(ref, path, ComposeSchedule(f), store::Follower(&follower_)).ok()
                                 : DeleteSchedule(ref, store::Follower(&follower_)).ok());
            return;
        }
        FAIL() << "no record " << title;
    }

    void tick(const std::string& title, bool done)
    {
        const TodoFile todos = LoadTodoFile(folder_.path());
        for (std::size_t i = 0; i < todos.lines.size(); ++i) {
            if (sjis::toUtf8(TodoTitle(todos.lines[i])) != title)
                continue;
            ASSERT_TRUE(ApplyTodoTicks(folder_.path(), {{{TodoFilePath(folder_.path()), int(i), todos.lines[i]}, done}},
                                       today, store::Follower(&follower_))
                            .ok());
        }
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

    // Every file as it is now.
    std::map<std::string, std::string> contents() const
    {
        std::map<std::string, std::string> out;
        for (const std::string& name : files::listFiles(folder_.path(), "*"))
            out[name] = folder_.read(name);
        return out;
    }

    const std::string& path() const { return folder_.path(); }
    const TempFolder& folder() const { return folder_; }

    Date today{2027, 1, 10};
    int back = 12, ahead = 24;

private:
    TempFolder folder_;
    IdentityFollower follower_{folder_.path()};
};

// The counts of a summary, short: "受信 0・送信 1・..." with what it says beyond them.
inline std::string countsOf(const SyncOutcome& outcome)
{
    return outcome.ok ? syncSummary(outcome.counts) : outcome.reason;
}

} // namespace kal::test
