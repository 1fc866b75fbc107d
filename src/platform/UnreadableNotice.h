// What a window tells about data files that exist but cannot be read: a status-bar text naming
// them while they stay so, and one message box per file (again only after it was readable once
// more). Each source (the main window's month build, its ToDo file, a list) reports its own files
// whenever it reads.
#pragma once

#include "platform/Files.h"

#include <map>
#include <string>
#include <vector>

namespace kal {

class UnreadableNotice {
public:
    // The files `source` found unreadable just now; gives those not announced yet.
    std::vector<files::FileProblem> update(const std::string& source, const std::vector<files::FileProblem>& problems);
    // Empty when every file reads (UTF-8).
    std::string statusText() const;
    // The message box for newly unreadable files (UTF-8, lines ended by CR LF).
    static std::string messageText(const std::vector<files::FileProblem>& problems);

private:
    std::map<std::string, std::vector<files::FileProblem>> current_;
    std::vector<std::string> announced_; // paths, while they stay unreadable
};

inline constexpr const char* kUnreadableCaption = "ファイルの読み込みエラー";

} // namespace kal
