// What a minute announces: alarms of today's schedules, the time signal, and which tick starts a
// new minute.
#include "alarm/TimerDuties.h"
#include "schedule/ScheduleRecord.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::sj;

namespace {

struct Rec {
    std::string start = "14:30";
    std::string category = "会議";
    std::string title = "打ち合わせ";
    std::string place = "本社";
    bool sound = true;
    bool message = true;
};

std::string record(const Rec& r)
{
    ScheduleFields f;
    f.day = 8;
    f.start = r.start;
    f.end = r.start.empty() ? "" : "15:30";
    f.category = sj(r.category);
    f.title = sj(r.title);
    f.place = sj(r.place);
    f.sound = r.sound;
    f.message = r.message;
    return ComposeSchedule(f);
}

DateTime at(int hour, int minute, int second = 0)
{
    return DateTime{{2026, 12, 8}, hour, minute, second};
}

AnnounceSettings alarmSettings(int mode, int lead)
{
    AnnounceSettings s;
    s.alarm = mode;
    s.alarmTime = lead;
    s.alarmWav = "/sounds/alarm.wav";
    s.signalWav = "/sounds/signal.wav";
    return s;
}

AnnounceSettings signalSettings(int mode)
{
    AnnounceSettings s = alarmSettings(0, 0);
    s.signal = 1;
    s.signalMode = mode;
    return s;
}

const std::string kMeetingAt1430 = "『打ち合わせ』の時間";
const std::string kBlock = "\n\r\n\r　■時間： 14:30 ～ 15:30\n\r\n\r　■場所： 本社";

} // namespace

TEST(AnnounceMinute, TenMinutesAheadGivesSoundAndTheCaptionedMessageOnce)
{
    const std::vector<std::string> today{record({})};
    MinuteAnnouncement due = AnnounceMinute(at(14, 20), today, {}, alarmSettings(1, 10));
    EXPECT_EQ(due.sounds, std::vector<std::string>{"/sounds/alarm.wav"});
    ASSERT_EQ(due.messages.size(), 1u);
    EXPECT_EQ(due.messages[0].kind, MessageKind::Alarm);
    EXPECT_EQ(due.messages[0].caption, "「会議」の予定時刻");
    EXPECT_EQ(due.messages[0].text, "14時20分です。\n\r" + kMeetingAt1430 + "の10分前です。" + kBlock);

    MinuteAnnouncement atStart = AnnounceMinute(at(14, 30), today, {}, alarmSettings(1, 10));
    EXPECT_TRUE(atStart.sounds.empty());
    EXPECT_TRUE(atStart.messages.empty()) << "mode 1 says nothing at the start time";
}

TEST(AnnounceMinute, ModeTwoAlsoAlarmsAtTheStartWithThePlainEnding)
{
    const std::vector<std::string> today{record({})};
    EXPECT_EQ(AnnounceMinute(at(14, 20), today, {}, alarmSettings(2, 10)).messages.size(), 1u);
    MinuteAnnouncement atStart = AnnounceMinute(at(14, 30), today, {}, alarmSettings(2, 10));
    ASSERT_EQ(atStart.messages.size(), 1u);
    EXPECT_EQ(atStart.messages[0].text, "14時30分です。\n\r" + kMeetingAt1430 + "です。" + kBlock);
}

TEST(AnnounceMinute, NoLeadTimeAlarmsExactlyOnceAtTheStart)
{
    const std::vector<std::string> today{record({})};
    for (int mode : {1, 2}) {
        SCOPED_TRACE(mode);
        int windows = 0;
        for (int minute = 0; minute < 60; ++minute) {
            MinuteAnnouncement due = AnnounceMinute(at(14, minute), today, {}, alarmSettings(mode, 0));
            windows += static_cast<int>(due.messages.size());
            if (!due.messages.empty()) {
                EXPECT_EQ(minute, 30);
                EXPECT_NE(due.messages[0].text.find("』の時間です。"), std::string::npos);
            }
        }
        EXPECT_EQ(windows, 1);
    }
}

TEST(AnnounceMinute, EveryRecordDueInTheMinuteIsInOneMessageWithOneSound)
{
    Rec second;
    second.title = "電話";
    second.place = "";
    const std::vector<std::string> today{record({}), record(second)};
    MinuteAnnouncement due = AnnounceMinute(at(14, 20), today, {}, alarmSettings(1, 10));
    EXPECT_EQ(due.sounds, std::vector<std::string>{"/sounds/alarm.wav"});
    ASSERT_EQ(due.messages.size(), 1u);
    EXPECT_EQ(due.messages[0].caption, "「会議」の予定時刻") << "both records share the category";
    EXPECT_EQ(due.messages[0].text, "14時20分です。\n\r" + kMeetingAt1430 + "の10分前です。" + kBlock +
                                        "\n\r\n\r『電話』の時間の10分前です。\n\r\n\r　■時間： 14:30 ～ 15:30"
                                        "\n\r\n\r　■場所： ");
}

TEST(AnnounceMinute, CaptionFollowsTheCategories)
{
    Rec none, other;
    none.category = "";
    other.category = "私用";
    struct Case {
        const char* name;
        std::vector<Rec> records;
        std::string caption;
    } cases[] = {
        {"no category", {none}, "予定の時刻"},
        {"one category", {other}, "「私用」の予定時刻"},
        {"two categories", {Rec{}, other}, "予定の時刻"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> today;
        for (const Rec& r : c.records)
            today.push_back(record(r));
        MinuteAnnouncement due = AnnounceMinute(at(14, 30), today, {}, alarmSettings(1, 0));
        ASSERT_EQ(due.messages.size(), 1u);
        EXPECT_EQ(due.messages[0].caption, c.caption);
    }
}

TEST(AnnounceMinute, FlagsChooseSoundAndMessage)
{
    struct Case {
        bool sound, message;
        std::size_t sounds, messages;
    } cases[] = {{true, false, 1, 0}, {false, true, 0, 1}, {true, true, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sound " << c.sound << " message " << c.message);
        Rec r;
        r.sound = c.sound;
        r.message = c.message;
        MinuteAnnouncement due = AnnounceMinute(at(14, 30), {record(r)}, {}, alarmSettings(1, 0));
        EXPECT_EQ(due.sounds.size(), c.sounds);
        EXPECT_EQ(due.messages.size(), c.messages);
    }
}

TEST(AnnounceMinute, OnlyZeroPaddedStartTimesMatch)
{
    Rec untimed, unpadded, late;
    untimed.start = "";
    unpadded.start = "9:30";
    late.start = "09:30";
    const std::vector<std::string> today{record(untimed), record(unpadded), record(late)};
    MinuteAnnouncement due = AnnounceMinute(at(9, 30), today, {}, alarmSettings(1, 0));
    ASSERT_EQ(due.messages.size(), 1u);
    EXPECT_EQ(due.messages[0].text.rfind("9時30分です。\n\r", 0), 0u) << "the hour has no leading zero";
    EXPECT_EQ(DueAlarms(at(9, 30), today, 1, 0).size(), 1u);
}

TEST(AnnounceMinute, LateEveningAdvanceTimeIsNotWrappedToTomorrow)
{
    EXPECT_EQ(AdvanceTime(23, 55, 10), "24:05");
    EXPECT_EQ(AdvanceTime(9, 55, 5), "10:00");
    EXPECT_EQ(AdvanceTime(9, 5, 0), "09:05");
    Rec afterMidnight;
    afterMidnight.start = "00:05";
    EXPECT_TRUE(AnnounceMinute(at(23, 55), {record(afterMidnight)}, {}, alarmSettings(1, 10)).messages.empty());
}

TEST(AnnounceMinute, AnUnsortedListStillAlarmsEveryDueLine)
{
    Rec early;
    early.start = "09:00";
    const std::vector<std::string> today{record({}), record(early), record({})};
    EXPECT_EQ(DueAlarms(at(9, 0), today, 1, 0).size(), 1u);
    EXPECT_EQ(DueAlarms(at(14, 30), today, 1, 0).size(), 2u);
}

TEST(AnnounceMinute, NothingWhenAlarmsAndSignalAreOff)
{
    AnnounceSettings off = alarmSettings(0, 0);
    MinuteAnnouncement due = AnnounceMinute(at(14, 30), {record({})}, {}, off);
    EXPECT_TRUE(due.sounds.empty());
    EXPECT_TRUE(due.messages.empty());
    off.signalMode = 1;
    EXPECT_TRUE(AnnounceMinute(at(15, 0), {}, {}, off).messages.empty()) << "Signal is 0";
}

TEST(AnnounceMinute, EmptySoundFilePlaysNothingButTheMessageStays)
{
    AnnounceSettings s = alarmSettings(1, 0);
    s.alarmWav.clear();
    MinuteAnnouncement due = AnnounceMinute(at(14, 30), {record({})}, {}, s);
    EXPECT_TRUE(due.sounds.empty());
    EXPECT_EQ(due.messages.size(), 1u);
}

TEST(SignalCheck, HourlyAndHalfHourlyModes)
{
    struct Case {
        int mode, minute;
        bool signals;
    } cases[] = {{1, 0, true},  {1, 30, false}, {1, 15, false}, {2, 0, true},
                 {2, 30, true}, {2, 31, false}, {0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " minute " << c.minute);
        MinuteAnnouncement due = AnnounceMinute(at(12, c.minute), {}, {}, signalSettings(c.mode));
        ASSERT_EQ(due.messages.size(), c.signals ? 1u : 0u);
        if (!c.signals)
            continue;
        EXPECT_EQ(due.sounds, std::vector<std::string>{"/sounds/signal.wav"});
        EXPECT_EQ(due.messages[0].kind, MessageKind::Signal);
        EXPECT_EQ(due.messages[0].caption, "時報");
        EXPECT_EQ(due.messages[0].text, c.minute == 0 ? "12時00分をお知らせします。" : "12時30分をお知らせします。");
    }
}

TEST(SignalCheck, ListedTimesWithAndWithoutTextInAnyOrder)
{
    // Unsorted, as a hand-edited table may be.
    const std::vector<std::string> table{sj("12:30 昼休みの終わり"), "12:00", "garbage", "18:00     ", ""};
    auto signalAt = [&](int hour, int minute) {
        return AnnounceMinute(DateTime{{2026, 12, 8}, hour, minute, 0}, {}, table, signalSettings(3));
    };
    ASSERT_EQ(signalAt(12, 0).messages.size(), 1u);
    EXPECT_EQ(signalAt(12, 0).messages[0].text, "12時00分をお知らせします。");
    ASSERT_EQ(signalAt(12, 30).messages.size(), 1u);
    EXPECT_EQ(signalAt(12, 30).messages[0].text, "12時30分をお知らせします。\r\n 昼休みの終わり");
    EXPECT_EQ(signalAt(18, 0).messages[0].text, "18時00分をお知らせします。") << "a blank text is no text";
    EXPECT_TRUE(signalAt(13, 0).messages.empty()) << "mode 3 gives no hourly signal";
    EXPECT_TRUE(AnnounceMinute(at(12, 0), {}, {}, signalSettings(3)).messages.empty()) << "no table, no signal";
}

TEST(SignalCheck, ListedTextIsCutAt250BytesWithoutSplittingACharacter)
{
    // 249 single bytes, then a double-byte character across the 250-byte limit.
    const std::string text = std::string(249, 'a') + sj("時報");
    std::optional<std::string> listed = SignalDue(at(7, 0), 3, {"07:00" + text});
    ASSERT_TRUE(listed);
    EXPECT_EQ(*listed, std::string(249, 'a'));
}

TEST(AnnounceMinute, AlarmAndSignalOfOneMinuteBothSoundAlarmFirst)
{
    AnnounceSettings s = signalSettings(1);
    s.alarm = 1;
    Rec onTheHour;
    onTheHour.start = "15:00";
    MinuteAnnouncement due = AnnounceMinute(at(15, 0), {record(onTheHour)}, {}, s);
    EXPECT_EQ(due.sounds, (std::vector<std::string>{"/sounds/alarm.wav", "/sounds/signal.wav"}));
    ASSERT_EQ(due.messages.size(), 2u);
    EXPECT_EQ(due.messages[0].kind, MessageKind::Alarm);
    EXPECT_EQ(due.messages[1].kind, MessageKind::Signal);
}

TEST(MinuteTicker, EachMinuteOnceOnTheFirstTickThatSeesIt)
{
    MinuteTicker ticker;
    EXPECT_TRUE(ticker.newMinute(at(14, 19, 59)));
    EXPECT_TRUE(ticker.newMinute(at(14, 20, 1))) << "a tick at :01 still starts the minute";
    EXPECT_FALSE(ticker.newMinute(at(14, 20, 2)));
    EXPECT_FALSE(ticker.newMinute(at(14, 20, 59)));
    EXPECT_TRUE(ticker.newMinute(at(16, 45, 30))) << "after a suspend the minute runs once";
    EXPECT_FALSE(ticker.newMinute(at(16, 45, 31)));
    EXPECT_TRUE(ticker.newMinute(DateTime{{2027, 1, 8}, 16, 45, 32})) << "the same time on another day";
}

TEST(RefreshCounter, EveryPeriodMinutesAndNeverWhenOff)
{
    RefreshCounter counter;
    std::string seen;
    for (int i = 0; i < 7; ++i)
        seen += counter.minutePassed(3) ? 'R' : '.';
    EXPECT_EQ(seen, "..R..R.");
    RefreshCounter off;
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(off.minutePassed(0));
}
