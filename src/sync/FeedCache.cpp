#include "sync/FeedCache.h"

#include "platform/FolderLock.h"

#include <cstdint>
#include <cstdio>

namespace kal {
namespace {

// FNV-1a: a short stable file name for any URL.
std::string keyOf(const std::string& url)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : url) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return name;
}

struct StateField {
    const char* key;
    std::string FeedState::*field;
};
constexpr StateField kStateFields[] = {{"ETag", &FeedState::etag},
                                       {"Last-Modified", &FeedState::lastModified},
                                       {"Succeeded", &FeedState::succeeded},
                                       {"Failed", &FeedState::failed},
                                       {"Reason", &FeedState::reason}};

// One line a value, whatever it holds.
std::string oneLine(std::string value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}

} // namespace

std::string feedFolder(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + kFeedFolderName + "/";
}

std::string feedTextPath(const std::string& programFolder, const std::string& url)
{
    return feedFolder(programFolder) + keyOf(url) + ".ics";
}

std::string feedStatePath(const std::string& programFolder, const std::string& url)
{
    return feedFolder(programFolder) + keyOf(url) + ".state";
}

FeedState readFeedState(const std::string& path)
{
    FeedState state;
    for (const std::string& line : files::loadLines(path)) {
        const std::size_t equals = line.find('=');
        for (const StateField& field : kStateFields)
            if (equals != std::string::npos && line.compare(0, equals, field.key) == 0)
                state.*field.field = line.substr(equals + 1);
    }
    return state;
}

files::IoResult writeFeedState(const std::string& path, const FeedState& state)
{
    std::vector<std::string> lines;
    for (const StateField& field : kStateFields)
        lines.push_back(std::string(field.key) + "=" + oneLine(state.*field.field));
    return files::saveLines(path, lines);
}

files::IoResult forgetFeed(const std::string& programFolder, const std::string& url)
{
    if (!files::folderExists(feedFolder(programFolder)))
        return {};
    files::FolderLock lock = files::lockFolder(feedFolder(programFolder));
    if (!lock)
        return files::IoResult::failure(lock.reason());
    for (const std::string& path : {feedTextPath(programFolder, url), feedStatePath(programFolder, url)})
        if (files::fileExists(path))
            if (files::IoResult removed = files::deleteFile(path); !removed)
                return removed;
    return {};
}

} // namespace kal
