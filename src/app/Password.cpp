#include "app/Password.h"

#include "platform/DateFormat.h"

namespace kal {
namespace {

std::string scramble(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ kScrambleKey);
    return out;
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

std::optional<PasswordFile> readPasswordFile(const std::string& path)
{
    files::ReadResult read = files::readFile(path);
    if (read.status == files::ReadStatus::Missing)
        return std::nullopt;
    PasswordFile file;
    if (read.status == files::ReadStatus::Unreadable) {
        file.readable = false;
        file.reason = std::move(read.reason);
        return file;
    }
    std::string& bytes = read.bytes;
    file.hasLine = !bytes.empty();
    if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0)
        bytes.resize(bytes.size() - 2);
    file.scrambled = std::move(bytes);
    return file;
}

files::IoResult writePasswordFile(const std::string& path, const std::string& password, const DateTime& now,
                                  files::FileOps& ops)
{
    return files::saveBytes(path, EncodeStr(password, now) + "\r\n", ops);
}

PasswordVerdict checkPassword(const PasswordFile& file, const std::string& entry)
{
    if (!file.readable)
        return PasswordVerdict::Wrong;
    if (!file.hasLine)
        return PasswordVerdict::Accepted;
    std::string stored = DecodeStr(file.scrambled);
    return !stored.empty() && stored == entry ? PasswordVerdict::Accepted : PasswordVerdict::Wrong;
}

} // namespace kal
