// The copies of the subscribed calendars in the program folder ("Feeds/"): the text as last
// fetched and, beside it, its ETag and Last-Modified and when the last refresh succeeded or
// failed. Named after the URL, so renaming a subscription keeps its copy. Written atomically
// under the folder's lock; a refresh that fails leaves the copy as it was.
#pragma once

#include "platform/Files.h"

#include <string>

namespace kal {

inline constexpr const char* kFeedFolderName = "Feeds";

struct FeedState {
    std::string etag;
    std::string lastModified;
    std::string succeeded; // "yyyy/mm/dd hh:nn" of the last good refresh; empty: none yet
    std::string failed;    // of the last failed one, if it came after
    std::string reason;    // UTF-8, why it failed

    bool operator==(const FeedState&) const = default;
};

std::string feedFolder(const std::string& programFolder);
std::string feedTextPath(const std::string& programFolder, const std::string& url);
std::string feedStatePath(const std::string& programFolder, const std::string& url);

// A missing or garbled file gives an empty state.
FeedState readFeedState(const std::string& path);
files::IoResult writeFeedState(const std::string& path, const FeedState& state);

// Removes the copy and its state.
files::IoResult forgetFeed(const std::string& programFolder, const std::string& url);

} // namespace kal
