// The one-second timer's duties as plain decisions. Every tick updates the clock; the first
// tick that sees a new minute runs that minute's duties once: the change of day, the alarms of
// today's schedules, the time signal and the periodic refresh. AnnounceMinute() says what a
// minute announces (sounds to play, messages to show); the main window only carries it out.
//
// Record fields stay Shift-JIS; the messages are UTF-8, because they are only shown.
#pragma once

#include "platform/Date.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

// Tells the first tick of each minute. A tick late past the minute's start (a loaded desktop,
// a wake from suspend) still counts, and a jump over several minutes counts once.
class MinuteTicker {
public:
    bool newMinute(const DateTime& now);

private:
    std::optional<DateTime> last_; // seconds always 0
};

// Minutes since the last periodic refresh.
class RefreshCounter {
public:
    // Counts one minute; true when `period` minutes have passed (never when `period` is 0).
    bool minutePassed(int period);

private:
    int minutes_ = 0;
};

// The [Sound] keys, with the sound files as UTF-8 paths.
struct AnnounceSettings {
    int alarm = 0;     // 0 off, 1 before the start, 2 before and at the start
    int alarmTime = 0; // minutes before the start
    std::string alarmWav;
    int signal = 0;     // 1 on
    int signalMode = 0; // 1 hourly, 2 hourly and half-hourly, 3 listed times
    std::string signalWav;
};

enum class MessageKind { Alarm, Signal };

struct AlarmMessage {
    MessageKind kind = MessageKind::Alarm;
    std::string caption; // UTF-8
    std::string text;    // UTF-8; lines end with LF CR (alarm) or CR LF (signal text)
};

struct MinuteAnnouncement {
    std::vector<std::string> sounds;    // each file once, in order
    std::vector<AlarmMessage> messages; // the alarm first, then the time signal
};

// `HH:MM` of the minute, and the advance time `lead` minutes later; the hour is not wrapped,
// so late evening gives "24:05", which no record of today matches.
std::string TimeText(int hour, int minute);
std::string AdvanceTime(int hour, int minute, int lead);

// One of today's schedule lines that alarms in a given minute.
struct DueAlarm {
    std::string line;       // Shift-JIS record
    bool exactTime = false; // matched its start time itself, not the advance time
};

// Every line of `todayLines` due in `minute`: its start time equals the advance time or, with
// alarm mode 2, the minute itself. Lines without a zero-padded start time never match.
std::vector<DueAlarm> DueAlarms(const DateTime& minute, const std::vector<std::string>& todayLines, int alarmMode,
                                int alarmTime);

// "「category」の予定時刻", or "予定の時刻" without a category.
std::string AlarmCaption(const std::string& line);
// The alarm text for the due lines that carry the message flag (at least one).
std::string AlarmText(const DateTime& minute, const std::vector<DueAlarm>& due, int alarmTime);

// The time signal's text when a signal is due in `minute`: the listed text in mode 3 (empty
// when the list gives none), empty in modes 1 and 2; nothing when no signal is due.
std::optional<std::string> SignalDue(const DateTime& minute, int signalMode,
                                     const std::vector<std::string>& signalTimes);
std::string SignalText(const DateTime& minute, const std::string& listedText);

inline constexpr const char* kSignalCaption = "時報";

// What `minute` announces, from today's alarm lines (Shift-JIS records), the lines of
// SigTime.tbl and the settings.
MinuteAnnouncement AnnounceMinute(const DateTime& minute, const std::vector<std::string>& todayLines,
                                  const std::vector<std::string>& signalTimes, const AnnounceSettings& settings);

} // namespace kal
