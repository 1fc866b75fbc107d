#include "sync/SyncState.h"

#include "exchange/CsvText.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/NumberFormat.h"

#include <algorithm>

namespace kal {
namespace {

constexpr const char* kSection = "State";

std::string statePath(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + kSyncStateFileName;
}

// A server's token goes into one line of the file; one that does not fit is not kept.
std::string storable(const std::string& value)
{
    const bool plain = std::all_of(value.begin(), value.end(), [](unsigned char c) { return c >= 0x20 && c != 0x7F; });
    return plain && value.size() < 4096 ? value : std::string();
}

std::string dateText(const Date& date)
{
    return text::formatInt(date.year, 4, '0') + "/" + text::formatInt(date.month, 2, '0') + "/" +
           text::formatInt(date.day, 2, '0');
}

} // namespace

SyncStateFile loadSyncState(const std::string& programFolder)
{
    SyncStateFile file;
    const std::string path = statePath(programFolder);
    files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
    if (!loaded.ok) {
        file.ok = false;
        file.reason = "「" + path + "」を読み込めません。\r\n" + loaded.reason;
        return file;
    }
    file.lines = loaded.lines;
    const IniFile ini(path, std::move(loaded.lines));
    SyncState& s = file.state;
    s.url = ini.readString(kSection, "Url", "");
    s.token = ini.readString(kSection, "Token", "");
    s.ctag = ini.readString(kSection, "Ctag", "");
    s.events = ini.readBool(kSection, "Events", true);
    s.todos = ini.readBool(kSection, "Todos", true);
    const std::optional<Date> from = parseCsvDate(ini.readString(kSection, "From", ""));
    const std::optional<Date> to = parseCsvDate(ini.readString(kSection, "To", ""));
    if (from && to)
        s.window = SyncWindow{*from, *to};
    return file;
}

std::optional<files::FileChange> syncStateChange(const std::string& programFolder, const SyncStateFile& read,
                                                 const SyncState& state)
{
    IniFile ini(statePath(programFolder), read.lines);
    ini.writeString(kSection, "Url", storable(state.url));
    ini.writeString(kSection, "Token", storable(state.token));
    ini.writeString(kSection, "Ctag", storable(state.ctag));
    ini.writeBool(kSection, "Events", state.events);
    ini.writeBool(kSection, "Todos", state.todos);
    ini.writeString(kSection, "From", state.window ? dateText(state.window->from) : "");
    ini.writeString(kSection, "To", state.window ? dateText(state.window->to) : "");
    if (ini.lines() == read.lines)
        return std::nullopt;
    return files::FileChange{ini.path(), files::joinLines(ini.lines())};
}

} // namespace kal
