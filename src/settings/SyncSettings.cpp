#include "settings/SyncSettings.h"

#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/IniFile.h"
#include "platform/SjisCodec.h"

namespace kal {
namespace {

int readRange(const IniFile& ini, const char* key, int fallback, int low, int high)
{
    const int value = ini.readInteger(kSyncSection, key, fallback);
    return value < low || value > high ? fallback : value;
}

// The file is Shift-JIS; a line break would end the value and start a line of its own.
std::string storedText(const std::string& utf8)
{
    return sjis::fromUtf8Lossy(utf8.substr(0, utf8.find_first_of("\r\n")));
}

} // namespace

SyncSettingsFile readSyncSettings(const std::string& settingsPath)
{
    SyncSettingsFile file;
    // Nothing to read before the first settings are written, and no lock file made for it.
    if (!files::fileExists(settingsPath))
        return file;
    files::FolderLock lock = files::lockFolderOf(settingsPath);
    if (!lock) {
        file.ok = false;
        file.reason = lock.reason();
        return file;
    }
    IniFile ini(settingsPath);
    ini.load();
    if (!ini.readable()) {
        file.ok = false;
        file.reason = "設定ファイルを読み込めません。\r\n" + ini.unreadableReason();
        return file;
    }
    const SyncSettings defaults;
    SyncSettings& s = file.settings;
    s.url = sjis::toUtf8(ini.readString(kSyncSection, "Url", ""));
    s.user = sjis::toUtf8(ini.readString(kSyncSection, "User", ""));
    s.back = readRange(ini, "Back", defaults.back, 0, kSyncMaxMonths);
    s.ahead = readRange(ini, "Ahead", defaults.ahead, 0, kSyncMaxMonths);
    s.interval = readRange(ini, "Interval", defaults.interval, 0, kSyncMaxInterval);
    return file;
}

files::IoResult writeSyncSettings(const std::string& settingsPath, const SyncSettings& settings, files::FileOps& ops)
{
    IniFile ini(settingsPath);
    ini.writeString(kSyncSection, "Url", storedText(settings.url));
    ini.writeString(kSyncSection, "User", storedText(settings.user));
    ini.writeInteger(kSyncSection, "Back", settings.back);
    ini.writeInteger(kSyncSection, "Ahead", settings.ahead);
    ini.writeInteger(kSyncSection, "Interval", settings.interval);
    // flush reads the file afresh under the folder's lock and puts only these keys into it.
    return ini.flush(ops);
}

} // namespace kal
