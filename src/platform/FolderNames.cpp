#include "platform/FolderNames.h"

#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <utility>

namespace kal::files {
namespace {

constexpr std::size_t kMaxKeptBytes = 64u << 20;

long long nanoseconds(const timespec& time)
{
    return static_cast<long long>(time.tv_sec) * 1000000000LL + time.tv_nsec;
}

// What any change of the folder's entries moves: the kept list's first line.
struct FolderHeader {
    std::string line;
    bool settled = false;  // its times old enough for a later change to move them, on any clock
    bool pastTick = false; // older than a tick of this machine's clock, which file times follow
};

// Longer than the kernel's coarse clock tick (1 to 10 ms) that stamps a folder's changes.
constexpr long long kClockTickMarginNs = 50'000'000;

std::optional<FolderHeader> folderHeader(const std::string& folder, std::chrono::nanoseconds settle)
{
    struct stat st { };
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const long long latestNs = std::max(nanoseconds(st.st_mtim), nanoseconds(st.st_ctim));
    char header[160];
    std::snprintf(header, sizeof header, "kalendra-names 1 %llu %llu %lld %lld",
                  static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
                  nanoseconds(st.st_mtim), nanoseconds(st.st_ctim));
    return FolderHeader{header, latestNs < nanoseconds(now) - settle.count(),
                        latestNs < nanoseconds(now) - kClockTickMarginNs};
}

// File systems that set a folder's times from this machine's clock at every change of its
// entries.
bool keepsLocalTimes(const std::string& folder)
{
    struct statfs fs { };
    if (::statfs(folder.c_str(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53UL:     // ext2, ext3, ext4
    case 0x58465342UL: // XFS
    case 0x9123683EUL: // Btrfs
    case 0x01021994UL: // tmpfs
    case 0xF2F52010UL: // F2FS
    case 0x794C7630UL: // overlayfs, as containers have it
        return true;
    default:
        return false;
    }
}

// The kept names when the list was made under `header`; its last line counts them, so a list
// cut short is not taken.
std::optional<std::vector<std::string>> keptNames(const std::string& path, const std::string& header)
{
    const ReadResult read = readFile(path, kMaxKeptBytes);
    if (read.status != ReadStatus::Ok)
        return std::nullopt;
    std::vector<std::string_view> lines;
    splitLineViews(read.bytes, lines);
    if (lines.size() < 2 || lines.front() != header || lines.back() != "end " + std::to_string(lines.size() - 2))
        return std::nullopt;
    std::vector<std::string> names(lines.begin() + 1, lines.end() - 1);
    return names;
}

// Written in place of the old list by the program's atomic save; a list that cannot be written is
// simply listed again next time.
void keep(const std::string& path, const std::string& header, const std::vector<std::string>& names)
{
    std::string bytes = header + '\n';
    for (const std::string& name : names)
        bytes.append(name).push_back('\n');
    bytes += "end " + std::to_string(names.size()) + '\n';
    saveBytesWithin(path, bytes, kMaxKeptBytes);
}

// The whole of the last listing of a folder, names ended by '\n', so that the next kind asked
// for within a second (a command's recovery, then its search) is served without listing again,
// while the folder's times are unchanged. Made only of a folder whose last change is older than a
// clock tick: any later change then moves its times. Older than a second, it is dropped at the
// next call.
struct LastListing {
    std::string folder;
    std::string header;
    std::string names;
    std::chrono::steady_clock::time_point taken;
};
constexpr std::chrono::seconds kLastListingLife{1};

std::mutex lastListingMutex;
LastListing& lastListing()
{
    static LastListing listing;
    return listing;
}

std::optional<std::vector<std::string>> fromLastListing(const std::string& folder, const std::string& header,
                                                        const NameKind& kind)
{
    std::lock_guard<std::mutex> guard(lastListingMutex);
    LastListing& last = lastListing();
    if (std::chrono::steady_clock::now() - last.taken > kLastListingLife)
        (void)std::exchange(last, LastListing{}); // its memory given back
    if (last.folder != folder || last.header != header)
        return std::nullopt;
    std::vector<std::string> names;
    for (std::size_t at = 0, end; (end = last.names.find('\n', at)) != std::string::npos; at = end + 1)
        if (const std::string_view name(last.names.data() + at, end - at); kind.accept(name))
            names.emplace_back(name);
    return names;
}

// Lists the folder once for the kind and, when the header allows, for the last listing.
std::optional<std::vector<std::string>> listAndRemember(const std::string& folder,
                                                        const std::optional<FolderHeader>& header, const NameKind& kind)
{
    if (!header || !header->pastTick)
        return tryListNames(folder, kind.accept);
    std::string all;
    std::optional<std::vector<std::string>> names = tryListNames(folder, [&](std::string_view name) {
        all.append(name).push_back('\n');
        return kind.accept(name);
    });
    if (names) {
        std::lock_guard<std::mutex> guard(lastListingMutex);
        lastListing() = LastListing{folder, header->line, std::move(all), std::chrono::steady_clock::now()};
    }
    return names;
}

} // namespace

std::vector<std::string> namesOfKind(const std::string& folderPath, const NameKind& kind,
                                     std::chrono::nanoseconds settle)
{
    const std::string folder = folderPath.empty() ? std::string("./") : withSeparator(folderPath);
    const std::string keptFolder = folder + std::string(kKeptNamesFolder);
    const std::string path = keptFolder + '/' + std::string(kind.id);
    const std::optional<FolderHeader> header = keepsLocalTimes(folder) ? folderHeader(folder, settle) : std::nullopt;
    if (header)
        if (std::optional<std::vector<std::string>> kept = keptNames(path, header->line))
            return std::move(*kept);
    std::optional<std::vector<std::string>> names = header ? fromLastListing(folder, header->line, kind) : std::nullopt;
    if (!names)
        names = listAndRemember(folder, header, kind);
    if (!names)
        return {};
    if (!header || !header->settled)
        return std::move(*names);
    // The folder of the kept lists is made only for a list to keep. Making it moves the folder's
    // times, so the names are kept from a listing after it, once those times have settled.
    if (::mkdir(keptFolder.c_str(), 0700) == 0) {
        const std::optional<FolderHeader> made = folderHeader(folder, settle);
        return made && made->settled ? namesOfKind(folder, kind, settle) : std::move(*names);
    }
    if (errno == EEXIST)
        keep(path, header->line, *names);
    return std::move(*names);
}

} // namespace kal::files
