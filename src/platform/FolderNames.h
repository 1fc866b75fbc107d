// The names of one kind in a folder (its month files, its intent records) without listing the
// folder every time.
//
// A folder of tens of thousands of day memos takes longer to list than all its month files take
// to read. So the names of a kind are kept in ".kalendra-names/<kind>" inside the folder, headed
// by what the folder's status said just before they were listed: device, inode, modification and
// change times. Every name added, removed or renamed in the folder moves those times, so the kept
// names serve exactly as long as the times are the ones they were listed under.
//
// Listed and not kept: a folder whose times are less than three seconds old (a change in the
// same clock tick as the listing could leave them as they were), one on a file system not known
// to set them from this machine's clock (network file systems), one where the names cannot be
// kept (read-only). ".kalendra-names" itself is made only when a list is to be kept.
//
//     const files::NameKind months{"months", [](std::string_view name) { return isMonthFile(name); }};
//     for (const std::string& name : files::namesOfKind(folder, months)) ...
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace kal::files {

inline constexpr std::string_view kKeptNamesFolder = ".kalendra-names";

struct NameKind {
    std::string_view id;                   // the kept list's file name: letters and digits
    bool (*accept)(std::string_view name); // whether a name in the folder is of the kind
};

inline constexpr std::chrono::nanoseconds kFolderSettleTime = std::chrono::seconds(3);

// The names of the kind in `folder` (with or without the trailing '/'), in no particular order;
// none when the folder cannot be listed. `settle` is how old the folder's times must be for the
// names to be kept.
std::vector<std::string> namesOfKind(const std::string& folder, const NameKind& kind,
                                     std::chrono::nanoseconds settle = kFolderSettleTime);

} // namespace kal::files
