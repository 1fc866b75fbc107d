#include "alarm/qt/TimerPanel.h"

#include "alarm/TDlgAlarm.h"
#include "alarm/qt/ClockPanel.h"
#include "alarm/qt/StatusPanel.h"
#include "platform/SjisCodec.h"
#include "platform/qt/Widgets.h"
#include "schedule/PickList.h"

#include <QTimer>

namespace kal::qt {
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

TimerPanel::TimerPanel(const PanelContext& context, QWidget* window)
    : QObject(window), context_(context), window_(window)
{
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TimerPanel::Timer1Timer);
    PanelClock = new ClockPanel(window);
    StatusPanel1 = new StatusPanel("StatusPanel1", 100, window);
    StatusPanel2 = new StatusPanel("StatusPanel2", 100, window);
}

void TimerPanel::Timer1Timer()
{
    // The clock is read once: every duty of this tick sees the same moment.
    const DateTime now = context_.services.platform.now();
    if (PanelClock->isVisible())
        PanelClock->tick(now);
    emit ticked();
    if (minuteTicker_.newMinute(now))
        MinuteDuties(now);
}

void TimerPanel::MinuteDuties(const DateTime& now)
{
    emit minuteBegan(now);
    const AppSettings& settings = context_.settings;
    static const std::vector<std::string> noLines;
    const std::vector<std::string>& todayLines =
        settings.alarm != 0 ? todayAlarmList_.refresh(settings.dataPath, now.date) : noLines;
    Announce(AnnounceMinute(now, todayLines, signalTimes_, announceSettings(settings)));
    if (refreshCounter_.minutePassed(settings.scrUd ? settings.udTime : 0))
        emit refreshDue();
}

void TimerPanel::Announce(const MinuteAnnouncement& announcement)
{
    for (const std::string& sound : announcement.sounds)
        context_.services.platform.playSound(sound);
    if (announcement.messages.empty())
        return;
    const bool opening = !alarmWindow_;
    if (opening) {
        alarmWindow_ = new TDlgAlarm(window_);
        connect(alarmWindow_, &QDialog::finished, this, [this] { alarmWindowOpen_ = false; });
        alarmWindowOpen_ = true;
    }
    for (const AlarmMessage& message : announcement.messages)
        alarmWindow_->addMessage(message);
    if (opening)
        alarmWindow_->open();
    alarmWindow_->raise();
    alarmWindow_->activateWindow();
}

TDlgAlarm* TimerPanel::alarmWindow() const
{
    return alarmWindow_;
}

void TimerPanel::LoadSignalTimes()
{
    signalTimes_.clear();
    if (context_.settings.signalMode == 3)
        signalTimes_ = files::loadLines(PickListPath(context_.programFolder, PickListType::SignalTime));
}

void TimerPanel::ApplyClockLook()
{
    const AppSettings& settings = context_.settings;
    ClockLook look;
    look.type = settings.clockType;
    look.font = settings.clockFont;
    look.style = settings.clockStyle;
    look.leftAligned = settings.clockLeft == 1;
    look.seconds = settings.clsec == 1;
    look.twentyFourHour = settings.clhour == 1;
    look.dateColor = settings.colors[ColClockDate].text;
    look.background = settings.colors[ColClockDate].back;
    look.weekdayColor = settings.colors[ColClockWeekday].text;
    look.timeColor = settings.colors[ColClockTime].text;
    PanelClock->applyLook(look);
    PanelClock->tick(context_.services.platform.now());
}

void TimerPanel::UpdateStatusBar()
{
    if (context_.settings.alarm != 0)
        StatusPanel1->setContent(resourcePixmap("alarm"), QString::fromUtf8("アラームON"));
    else
        StatusPanel1->setContent(resourcePixmap("alarm-off"), QString::fromUtf8("アラームOFF"));
    if (context_.settings.signal == 1) {
        StatusPanel2->setContent(resourcePixmap("signal"), QString::fromUtf8("時報ON"));
    } else {
        StatusPanel2->setContent(QPixmap(), QString());
        StatusPanel2->setAccessibleName(QString::fromUtf8("時報OFF")); // shown empty, said
    }
}

} // namespace kal::qt
