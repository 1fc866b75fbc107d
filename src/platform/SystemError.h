// The reason a file operation failed, as the user reads it: Japanese for the common errors, the
// system's own text otherwise. Every reason that reaches a message box comes from here.
#pragma once

#include <cstddef>
#include <string>

namespace kal::files {

// The size limit of every data file (schedules, memos, notes, ToDo, tables, settings): its
// readers refuse a larger file, and its writers refuse to make one.
inline constexpr std::size_t kMaxDataFileBytes = std::size_t{8} << 20;
// Files that describe the records of many data files (the record identities): one per folder,
// so larger.
inline constexpr std::size_t kMaxSidecarFileBytes = std::size_t{64} << 20;
// The size limit of one change of several files: its intent record holds every file before and
// after (FileTransaction.h).
inline constexpr std::size_t kMaxChangeBytes = 4 * kMaxDataFileBytes;

// Refusals of the program itself, beside the system's errno values (which are all positive).
inline constexpr int kNotRegularFile = -1; // a FIFO, device or socket named like a data file
inline constexpr int kFileTooLarge = -2;   // above the size limit of data files
inline constexpr int kReadOnlyFile = -3;   // a file without write permission is never replaced
inline constexpr int kDamagedRecord = -4;  // an intent record that does not read back whole
inline constexpr int kOutsideFolder = -5;  // a multi-file change naming a file outside its folder
inline constexpr int kChangeTooLarge = -6; // a multi-file change above kMaxChangeBytes

std::string systemErrorText(int error);
// The refusal of a file above `limit` bytes.
std::string fileTooLargeText(std::size_t limit);

} // namespace kal::files
