#include "alarm/TimerDuties.h"

#include "platform/ByteText.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"

#include <algorithm>
#include <cstdio>

namespace kal {
namespace {

// The alarm text's line break, as the message window has always been given it.
constexpr const char* kBreak = "\n\r";
constexpr std::size_t kSignalTextBytes = 250;

std::string clockText(const DateTime& minute, const char* ending)
{
    // Hour without, minutes with a leading zero.
    const std::string minutes{static_cast<char>('0' + minute.minute / 10 % 10),
                              static_cast<char>('0' + minute.minute % 10)};
    return std::to_string(minute.hour) + "時" + minutes + "分" + ending;
}

std::string alarmBlock(const DueAlarm& due, int alarmTime)
{
    const std::string ending =
        alarmTime != 0 && !due.exactTime ? "の" + std::to_string(alarmTime) + "分前です。" : std::string("です。");
    std::string block = "『" + sjis::toUtf8(RecTitle(due.line)) + "』の時間" + ending;
    block += kBreak;
    block += kBreak;
    block += "　■時間： " + sjis::toUtf8(RecStart(due.line)) + " ～ " + sjis::toUtf8(RecEnd(due.line));
    block += kBreak;
    block += kBreak;
    block += "　■場所： " + sjis::toUtf8(RecPlace(due.line));
    return block;
}

// One caption for several records: theirs when they share it.
std::string commonCaption(const std::vector<DueAlarm>& shown)
{
    const std::string first = AlarmCaption(shown.front().line);
    for (const DueAlarm& due : shown)
        if (AlarmCaption(due.line) != first)
            return "予定の時刻";
    return first;
}

void addSound(std::vector<std::string>& sounds, const std::string& path)
{
    if (!path.empty() && std::find(sounds.begin(), sounds.end(), path) == sounds.end())
        sounds.push_back(path);
}

} // namespace

bool MinuteTicker::newMinute(const DateTime& now)
{
    DateTime minute = now;
    minute.second = 0;
    if (last_ && *last_ == minute)
        return false;
    last_ = minute;
    return true;
}

bool RefreshCounter::minutePassed(int period)
{
    if (period <= 0) {
        minutes_ = 0;
        return false;
    }
    if (++minutes_ < period)
        return false;
    minutes_ = 0;
    return true;
}

std::string TimeText(int hour, int minute)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

std::string AdvanceTime(int hour, int minute, int lead)
{
    const int total = hour * 60 + minute + std::max(0, lead);
    return TimeText(total / 60, total % 60);
}

std::vector<DueAlarm> DueAlarms(const DateTime& minute, const std::vector<std::string>& todayLines, int alarmMode,
                                int alarmTime)
{
    std::vector<DueAlarm> due;
    if (alarmMode == 0)
        return due;
    const std::string advance = AdvanceTime(minute.hour, minute.minute, alarmTime);
    const std::string exact = alarmMode == 2 ? TimeText(minute.hour, minute.minute) : std::string();
    // Every line is looked at: a file sorted elsewhere may hold a due record late.
    for (const std::string& line : todayLines) {
        const std::string start = RecStart(line);
        if (!exact.empty() && start == exact)
            due.push_back({line, true});
        else if (start == advance)
            due.push_back({line, false});
    }
    return due;
}

std::string AlarmCaption(const std::string& line)
{
    const std::string category = text::trimRight(RecCategory(line));
    if (category.empty())
        return "予定の時刻";
    return "「" + sjis::toUtf8(category) + "」の予定時刻";
}

std::string AlarmText(const DateTime& minute, const std::vector<DueAlarm>& due, int alarmTime)
{
    std::string text = clockText(minute, "です。");
    for (std::size_t i = 0; i < due.size(); ++i) {
        // A blank line between the records of one minute.
        text += i == 0 ? kBreak : std::string(kBreak) + kBreak;
        text += alarmBlock(due[i], alarmTime);
    }
    return text;
}

std::optional<std::string> SignalDue(const DateTime& minute, int signalMode,
                                     const std::vector<std::string>& signalTimes)
{
    if ((signalMode == 1 || signalMode == 2) && minute.minute == 0)
        return std::string();
    if (signalMode == 2 && minute.minute == 30)
        return std::string();
    if (signalMode != 3)
        return std::nullopt;
    const std::string now = TimeText(minute.hour, minute.minute);
    // Every line is looked at: a hand-edited table may be unsorted.
    for (const std::string& line : signalTimes) {
        if (line.compare(0, now.size(), now) != 0)
            continue;
        std::string listed = text::cutBytes(text::fieldToEnd(line, now.size() + 1), kSignalTextBytes);
        return text::isBlank(listed) ? std::string() : sjis::toUtf8(listed);
    }
    return std::nullopt;
}

std::string SignalText(const DateTime& minute, const std::string& listedText)
{
    std::string text = clockText(minute, "をお知らせします。");
    if (!listedText.empty())
        text += "\r\n" + listedText;
    return text;
}

MinuteAnnouncement AnnounceMinute(const DateTime& minute, const std::vector<std::string>& todayLines,
                                  const std::vector<std::string>& signalTimes, const AnnounceSettings& settings)
{
    MinuteAnnouncement out;
    const std::vector<DueAlarm> due = DueAlarms(minute, todayLines, settings.alarm, settings.alarmTime);
    std::vector<DueAlarm> shown;
    for (const DueAlarm& one : due) {
        if (RecSound(one.line))
            addSound(out.sounds, settings.alarmWav);
        if (RecMessage(one.line))
            shown.push_back(one);
    }
    if (!shown.empty())
        out.messages.push_back(
            {MessageKind::Alarm, commonCaption(shown), AlarmText(minute, shown, settings.alarmTime)});
    if (settings.signal == 1) {
        if (std::optional<std::string> listed = SignalDue(minute, settings.signalMode, signalTimes)) {
            addSound(out.sounds, settings.signalWav);
            out.messages.push_back({MessageKind::Signal, kSignalCaption, SignalText(minute, *listed)});
        }
    }
    return out;
}

} // namespace kal
