#include "app/Password.h"

#include "platform/DateFormat.h"
#include "platform/FolderLock.h"

#include <sodium.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kal {
namespace {

constexpr const char* kHashPrefix = "$argon2id$";

std::string scramble(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ kScrambleKey);
    return out;
}

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The costs a stored line asks for, bounded so that a hand-made line cannot make every check
// take minutes or gigabytes; our own lines use the interactive costs, far below.
bool costsAreSane(const std::string& line)
{
    unsigned long memoryKib = 0, passes = 0, lanes = 0;
    const std::size_t costs = line.find("$m=");
    if (costs == std::string::npos ||
        std::sscanf(line.c_str() + costs, "$m=%lu,t=%lu,p=%lu", &memoryKib, &passes, &lanes) != 3)
        return false;
    return memoryKib <= crypto_pwhash_MEMLIMIT_MODERATE / 1024 && passes <= crypto_pwhash_OPSLIMIT_SENSITIVE &&
           lanes <= 4;
}

bool verifyHash(const std::string& line, const std::string& entry)
{
    // libsodium reads the stored line as a C string of bounded length.
    if (!sodiumReady() || line.size() >= crypto_pwhash_STRBYTES || line.find('\0') != std::string::npos ||
        !costsAreSane(line))
        return false;
    return crypto_pwhash_str_verify(line.c_str(), entry.data(), entry.size()) == 0;
}

} // namespace

std::string EncodeStr(const std::string& password, const DateTime& now)
{
    return scramble(text::formatDateTime("hhmmss yymmdd", now) + password);
}

std::string DecodeStr(const std::string& scrambled)
{
    std::string plain = scramble(scrambled);
    if (plain.size() <= 13)
        return {};
    return plain.substr(13, 255);
}

PasswordFile ParsePasswordFile(std::string bytes)
{
    PasswordFile file;
    file.hasLine = !bytes.empty();
    file.form = bytes.rfind(kHashPrefix, 0) == 0 ? PasswordForm::Hashed : PasswordForm::Scrambled;
    if (file.form == PasswordForm::Hashed) {
        // Only the first line counts, whatever ends it (CR LF, LF, CR) and whatever follows.
        bytes.resize(std::min(bytes.find_first_of("\r\n"), bytes.size()));
    } else if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0) {
        // The old form's bytes may themselves be CR or LF, so only the CR LF written after it goes.
        bytes.resize(bytes.size() - 2);
    }
    file.line = std::move(bytes);
    return file;
}

std::optional<PasswordFile> readPasswordFile(const std::string& path)
{
    files::ReadResult read = files::readFile(path);
    if (read.status == files::ReadStatus::Missing)
        return std::nullopt;
    if (read.status == files::ReadStatus::Unreadable) {
        PasswordFile file;
        file.readable = false;
        file.reason = std::move(read.reason);
        return file;
    }
    return ParsePasswordFile(std::move(read.bytes));
}

std::optional<std::string> HashPassword(const std::string& password)
{
    char hashed[crypto_pwhash_STRBYTES];
    // The interactive limits keep a check well under a second on a small machine.
    if (!sodiumReady() ||
        crypto_pwhash_str_alg(hashed, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0)
        return std::nullopt;
    return std::string(hashed);
}

files::IoResult writePasswordFile(const std::string& path, const std::string& password, files::FileOps& ops)
{
    std::optional<std::string> line = HashPassword(password);
    if (!line)
        return files::IoResult::failure("メモリが不足しています。");
    files::FolderLock lock = files::lockFolderOf(path);
    if (!lock)
        return files::IoResult::failure(lock.reason());
    return files::saveBytesPrivate(path, *line + "\r\n", ops);
}

PasswordVerdict checkPassword(const PasswordFile& file, const std::string& entry)
{
    if (!file.readable)
        return PasswordVerdict::Wrong;
    if (!file.hasLine)
        return PasswordVerdict::Accepted;
    if (file.form == PasswordForm::Hashed)
        return verifyHash(file.line, entry) ? PasswordVerdict::Accepted : PasswordVerdict::Wrong;
    std::string stored = DecodeStr(file.line);
    return !stored.empty() && stored == entry ? PasswordVerdict::Accepted : PasswordVerdict::Wrong;
}

bool PasswordIsSet(const std::string& path)
{
    std::optional<PasswordFile> file = readPasswordFile(path);
    return file && (!file->readable || file->hasLine);
}

} // namespace kal
