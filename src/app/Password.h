// The password file Kalendra.pwd: one line. A password set by this program is stored as a
// salted Argon2id hash in libsodium's string form ("$argon2id$..."), readable by the owner only.
// A file of the old form is still accepted until the password is set again: the time of setting
// ("hhmmss yymmdd") followed by the password, every byte XOR-ed with 0x5D. Its first byte is a
// scrambled digit (0x64 to 0x6D), never '$', so the two forms cannot be mistaken.
#pragma once

#include "platform/Date.h"
#include "platform/Files.h"

#include <optional>
#include <string>

namespace kal {

inline constexpr unsigned char kScrambleKey = 0x5D;
inline constexpr const char* kPasswordFileName = "Kalendra.pwd";
inline constexpr int kPasswordMinLength = 4;
inline constexpr int kPasswordMaxLength = 8;

// The old form, kept to read files written before.
std::string EncodeStr(const std::string& password, const DateTime& now);
std::string DecodeStr(const std::string& scrambled);

enum class PasswordForm { Scrambled, Hashed };

struct PasswordFile {
    bool readable = true; // false when the file is there but cannot be read: nothing is accepted
    std::string reason;   // the system's reason when not readable
    bool hasLine = false; // false for an empty file, which accepts every entry
    PasswordForm form = PasswordForm::Scrambled;
    std::string line; // every byte before the file's final CR LF
};

// The file's bytes as read. Scrambled "P" and "W" are CR and LF, so the old form is never split
// into lines: everything but a final CR LF is the line.
PasswordFile ParsePasswordFile(std::string bytes);

// Nothing when the file is missing; a file that cannot be read (a FIFO or folder included) is
// returned as not readable.
std::optional<PasswordFile> readPasswordFile(const std::string& path);

// The hashed line for a password (its Shift-JIS bytes as typed); nothing when the system could
// not give the memory the hash needs.
std::optional<std::string> HashPassword(const std::string& password);

// Replaces the file with the hashed form, readable and writable by the owner only.
files::IoResult writePasswordFile(const std::string& path, const std::string& password,
                                  files::FileOps& ops = files::systemFileOps());

enum class PasswordVerdict { Accepted, Wrong };

// Compares an entry (as typed, blanks and case included) with the stored password.
PasswordVerdict checkPassword(const PasswordFile& file, const std::string& entry);

// Whether a password has been set: the file exists, can be read and holds a line.
bool PasswordIsSet(const std::string& path);

} // namespace kal
