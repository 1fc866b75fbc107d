#include "platform/IniFile.h"

#include "platform/ByteText.h"
#include "platform/FolderLock.h"

#include <cctype>
#include <climits>

namespace kal {
namespace {

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The name of a "[Section]" line, or nothing for other lines.
std::optional<std::string> sectionName(std::string_view line)
{
    std::string trimmed = text::trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return std::nullopt;
    std::size_t close = trimmed.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return text::trim(std::string_view(trimmed).substr(1, close - 1));
}

struct KeyLine {
    std::string key;
    std::string value;
};

std::optional<KeyLine> keyLine(std::string_view line)
{
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyLine{text::trim(line.substr(0, eq)), text::trim(line.substr(eq + 1))};
}

} // namespace

std::optional<int> parseProfileInteger(std::string_view textValue)
{
    std::string s = text::trim(textValue);
    if (s.empty())
        return std::nullopt;
    std::size_t i = 0;
    bool negative = false;
    if (s[i] == '-' || s[i] == '+') {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return std::nullopt;
    long long value = 0;
    for (; i < s.size(); ++i) {
        int digit;
        char c = s[i];
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > static_cast<long long>(UINT_MAX))
            return std::nullopt;
    }
    if (base == 10 && value > INT_MAX + (negative ? 1LL : 0LL))
        return std::nullopt;
    // Hexadecimal values above INT_MAX wrap, as 32-bit profile integers do.
    long long signedValue = negative ? -value : value;
    return static_cast<int>(static_cast<unsigned int>(signedValue));
}

IniFile::IniFile(std::string path) : path_(std::move(path)) { }

IniFile::IniFile(std::string path, std::vector<std::string> lines)
    : path_(std::move(path)), lines_(std::move(lines)) { }

void IniFile::load()
{
    files::LoadForUpdate loaded = files::loadLinesForUpdate(path_);
    lines_ = std::move(loaded.lines);
    unreadable_ = loaded.ok ? std::string() : loaded.reason;
}

IniFile::Position IniFile::find(std::string_view section, std::string_view key) const
{
    Position pos;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = sectionName(lines_[i])) {
            if (inSection)
                return pos;
            if (sameName(*name, section)) {
                inSection = true;
                pos.sectionLine = i;
                pos.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!text::isBlank(lines_[i]))
            pos.sectionEnd = i + 1;
        if (pos.keyLine == npos) {
            if (auto kv = keyLine(lines_[i]); kv && sameName(kv->key, key))
                pos.keyLine = i;
        }
    }
    return pos;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    Position pos = find(section, key);
    if (pos.keyLine == npos)
        return std::nullopt;
    return keyLine(lines_[pos.keyLine])->value;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const
{
    return find(section, key).keyLine != npos;
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    if (auto v = value(section, key))
        return *v;
    return std::string(fallback);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const
{
    if (auto v = value(section, key))
        if (auto n = parseProfileInteger(*v))
            return *n;
    return fallback;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view newValue)
{
    written_.push_back({std::string(section), std::string(key), std::string(newValue)});
    Position pos = find(section, key);
    if (pos.keyLine != npos) {
        const std::string& line = lines_[pos.keyLine];
        std::string storedKey = text::trim(std::string_view(line).substr(0, line.find('=')));
        lines_[pos.keyLine] = storedKey + "=" + std::string(newValue);
        return;
    }
    std::string entry = std::string(key) + "=" + std::string(newValue);
    if (pos.sectionLine == npos) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(entry);
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(pos.sectionEnd), entry);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int v)
{
    writeString(section, key, std::to_string(v));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool v)
{
    writeString(section, key, v ? "1" : "0");
}

files::IoResult IniFile::flush(files::FileOps& ops) const
{
    if (!unreadable_.empty())
        return files::IoResult::failure(unreadable_);
    files::FolderLock lock = files::lockFolderOf(path_);
    if (!lock)
        return files::IoResult::failure(lock.reason());
    IniFile now(path_);
    now.load();
    if (!now.readable())
        return files::IoResult::failure(now.unreadable_);
    for (const Written& w : written_)
        now.writeString(w.section, w.key, w.value);
    return files::saveLines(path_, now.lines_, ops);
}

} // namespace kal
