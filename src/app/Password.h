// The start-up password file Kalendra.pwd: one line, the time of setting ("hhmmss yymmdd")
// followed by the password, every byte XOR-ed with 0x5D.
#pragma once

#include "platform/Date.h"
#include "platform/Files.h"

#include <optional>
#include <string>

namespace kal {

inline constexpr unsigned char kScrambleKey = 0x5D;
inline constexpr const char* kPasswordFileName = "Kalendra.pwd";

std::string EncodeStr(const std::string& password, const DateTime& now);
std::string DecodeStr(const std::string& scrambled);

struct PasswordFile {
    bool readable = true;  // false when the file is there but cannot be read: nothing is accepted
    std::string reason;    // the system's reason when not readable
    bool hasLine = false;  // false for an empty file, which accepts every entry
    std::string scrambled; // every byte before the file's final CR LF
};

// Scrambled "P" and "W" are CR and LF, so the file is read as bytes, never split into lines.
// Nothing when the file is missing; a file that cannot be read (a FIFO or folder included) is
// returned as not readable.
std::optional<PasswordFile> readPasswordFile(const std::string& path);

files::IoResult writePasswordFile(const std::string& path, const std::string& password, const DateTime& now,
                                  files::FileOps& ops = files::systemFileOps());

enum class PasswordVerdict { Accepted, Wrong };

// Compares an entry (as typed, blanks and case included) with the stored password.
PasswordVerdict checkPassword(const PasswordFile& file, const std::string& entry);

} // namespace kal
