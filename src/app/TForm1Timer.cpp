// The one-second timer: the clock on every tick and, once for each new minute, the change of
// day, the alarms and the time signal, and the periodic refresh. The decisions are made by
// alarm/TimerDuties; this file carries them out.
#include "app/TForm1.h"

#include "alarm/TDlgAlarm.h"
#include "alarm/qt/ClockPanel.h"
#include "platform/SjisCodec.h"
#include "schedule/PickList.h"

namespace kal {
namespace {

AnnounceSettings announceSettings(const AppSettings& settings)
{
    AnnounceSettings out;
    out.alarm = settings.alarm;
    out.alarmTime = settings.alarmTime;
    out.alarmWav = sjis::toUtf8(settings.alarmWav);
    out.signal = settings.signal;
    out.signalMode = settings.signalMode;
    out.signalWav = sjis::toUtf8(settings.signalWav);
    return out;
}

} // namespace

void TForm1::Timer1Timer()
{
    // The clock is read once: every duty of this tick sees the same moment.
    const DateTime now = services_.platform.now();
    if (clockShown_ && PanelClock->isVisible())
        PanelClock->tick(now);
    TrayCheck();
    if (minuteTicker_.newMinute(now))
        MinuteDuties(now);
}

void TForm1::MinuteDuties(const DateTime& now)
{
    state_.today = now.date;
    if (now.date != state_.lastDay) {
        state_.lastDay = now.date;
        state_.startYear = now.date.year;
        DayChangeRefresh();
    }
    static const std::vector<std::string> noLines;
    const std::vector<std::string>& todayLines =
        settings_.alarm != 0 ? todayAlarmList_.refresh(settings_.dataPath, now.date) : noLines;
    Announce(AnnounceMinute(now, todayLines, signalTimes_, announceSettings(settings_)));
    if (refreshCounter_.minutePassed(settings_.scrUd ? settings_.udTime : 0))
        PeriodicRefresh();
}

void TForm1::DayChangeRefresh()
{
    GoToToday(state_.today);
    if (PanelRight->isVisible())
        PanelTodo->ToDoEdit();
}

void TForm1::PeriodicRefresh()
{
    RebuildMonth();
    // A refill keeps the ticks the user has not stored yet.
    PanelTodo->ToDoEdit();
    // The note is read again without a password question.
    PanelNote->TabNoteEdit(qt::NoteShow::Refresh);
}

void TForm1::Announce(const MinuteAnnouncement& announcement)
{
    for (const std::string& sound : announcement.sounds)
        services_.platform.playSound(sound);
    if (announcement.messages.empty())
        return;
    const bool opening = !alarmWindow_;
    if (opening) {
        alarmWindow_ = new TDlgAlarm(this);
        connect(alarmWindow_, &QDialog::finished, this, [this] { state_.alarmWindowOpen = false; });
        state_.alarmWindowOpen = true;
    }
    for (const AlarmMessage& message : announcement.messages)
        alarmWindow_->addMessage(message);
    if (opening)
        alarmWindow_->open();
    alarmWindow_->raise();
    alarmWindow_->activateWindow();
}

TDlgAlarm* TForm1::alarmWindow() const
{
    return alarmWindow_;
}

void TForm1::LoadSignalTimes()
{
    signalTimes_.clear();
    if (settings_.signalMode == 3)
        signalTimes_ = files::loadLines(PickListPath(programFolder_, PickListType::SignalTime));
}

} // namespace kal
