// The [Sync] section of the settings file: the calendar collection to sync with, the user name
// on that server, the sync window in months around today and the interval of automatic syncs.
// The password is never kept here (the desktop keyring or ~/.netrc holds it).
#pragma once

#include "platform/Files.h"

#include <string>

namespace kal {

inline constexpr const char* kSyncSection = "Sync";

// Texts in UTF-8 (the file holds them in Shift-JIS).
struct SyncSettings {
    std::string url; // the calendar collection; empty: sync is off
    std::string user;
    int back = 12;    // months before the current one
    int ahead = 24;   // months after it
    int interval = 0; // minutes between automatic syncs; 0: only by hand

    bool enabled() const { return !url.empty(); }
    bool operator==(const SyncSettings&) const = default;
};

inline constexpr int kSyncMaxMonths = 120;
inline constexpr int kSyncMaxInterval = 1440;

struct SyncSettingsFile {
    bool ok = true;
    std::string reason; // UTF-8, why the settings file cannot be read
    SyncSettings settings;
};

// Reads the section of `settingsPath` under its folder's lock; values out of range take their
// defaults, as do all without a settings file.
SyncSettingsFile readSyncSettings(const std::string& settingsPath);
// Writes the five keys of the section, leaving every other line of the file as it is.
files::IoResult writeSyncSettings(const std::string& settingsPath, const SyncSettings& settings,
                                  files::FileOps& ops = files::systemFileOps());

} // namespace kal
