// The alarm panel of the main window: the one-second timer Timer1 with the clock on every tick
// and, once for each new minute, the alarms and the time signal (the decisions are made by
// TimerDuties; this panel carries them out); the clock, and the status-bar panels that say
// whether alarms and the signal are on. The window hears of the tick, the new minute and the
// periodic refresh, which reach other panels.
#pragma once

#include "alarm/TimerDuties.h"
#include "alarm/TodayAlarmList.h"
#include "settings/qt/PanelContext.h"

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

class QTimer;

namespace kal {
class TDlgAlarm;
}

namespace kal::qt {

class ClockPanel;
class StatusPanel;

class TimerPanel : public QObject {
    Q_OBJECT
public:
    // Alarm windows open over `window`.
    TimerPanel(const PanelContext& context, QWidget* window);

    QTimer* Timer1;
    ClockPanel* PanelClock;
    StatusPanel* StatusPanel1; // alarms on or off
    StatusPanel* StatusPanel2; // the time signal

    void Timer1Timer();
    // The clock's look from the settings, shown at once.
    void ApplyClockLook();
    void UpdateStatusBar();
    // SigTime.tbl, read when the signal follows it.
    void LoadSignalTimes();

    // Today's alarm lines as the last minute's check read them.
    const std::vector<std::string>& todayAlarms() const { return todayAlarmList_.lines(); }
    const std::vector<std::string>& signalTimes() const { return signalTimes_; }
    // The alarm window on screen, if any.
    TDlgAlarm* alarmWindow() const;
    bool alarmWindowOpen() const { return alarmWindowOpen_; }

signals:
    // Every second, after the clock.
    void ticked();
    // A new minute, before its alarms: the window moves to a new day here.
    void minuteBegan(const DateTime& now);
    // Every `UdTime` minutes while `ScrUd` is on, after the alarms.
    void refreshDue();

private:
    void MinuteDuties(const DateTime& now);
    void Announce(const MinuteAnnouncement& announcement);

    PanelContext context_;
    QWidget* window_;
    MinuteTicker minuteTicker_;
    RefreshCounter refreshCounter_;
    TodayAlarmList todayAlarmList_;
    std::vector<std::string> signalTimes_; // Shift-JIS
    QPointer<TDlgAlarm> alarmWindow_;
    bool alarmWindowOpen_ = false;
};

} // namespace kal::qt
