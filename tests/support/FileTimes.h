// Files changed the way another program changes them: in place, and with a chosen modification
// time, so that caches keyed on stamps can be caught serving an old version.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace kal::test {

// The file or folder dated `seconds` back from now.
inline void setModifiedAgo(const std::string& path, int seconds)
{
    std::filesystem::last_write_time(path,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::seconds(seconds));
}

// New contents written into the same file (same inode), as an editor that truncates does.
inline void rewriteInPlace(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace kal::test
