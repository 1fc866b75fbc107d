// The classic private-profile text format: "[Section]" lines and "Key=Value" lines, section
// and key names compared without regard to case, a value being the rest of its line.
//
// The whole file is held as lines; writing a key changes only that key's line (or adds one),
// so comments, unknown keys and lines that are not well formed survive every save.
#pragma once

#include "platform/Files.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

class IniFile {
public:
    explicit IniFile(std::string path);
    // A file already read, as lines.
    IniFile(std::string path, std::vector<std::string> lines);

    // Reads the file; a missing file is an empty one.
    void load();
    // False when the file exists but could not be read; its keys then all read as missing.
    bool readable() const { return unreadable_.empty(); }
    const std::string& unreadableReason() const { return unreadable_; }
    const std::string& path() const { return path_; }

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    bool hasKey(std::string_view section, std::string_view key) const;

    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal text (or "$"/"0x" hexadecimal); anything else gives `fallback`.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;
    // 0 is false, any other integer true.
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    // Saves the file atomically under its folder's lock: the keys written here go into the file
    // as it is then, so another writer's keys saved since load() are kept.
    files::IoResult flush(files::FileOps& ops = files::systemFileOps()) const;

    const std::vector<std::string>& lines() const { return lines_; }

private:
    struct Position {
        std::size_t sectionLine = npos; // the "[Section]" line
        std::size_t keyLine = npos;     // the key's line
        std::size_t sectionEnd = npos;  // one past the section's last key or value line
    };
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    Position find(std::string_view section, std::string_view key) const;

    std::string path_;
    std::vector<std::string> lines_;
    std::string unreadable_; // why an existing file could not be read; flush then refuses
    struct Written {
        std::string section, key, value;
    };
    std::vector<Written> written_; // in order, for flush
};

// Integer reading with the same rules as IniFile::readInteger.
std::optional<int> parseProfileInteger(std::string_view text);

} // namespace kal
