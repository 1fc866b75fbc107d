// The main window's icon in the notification area. Asking whether the desktop has a notification
// area takes session-bus round trips: at start the question waits until the window is up, unless
// the start needs the answer before the window shows; afterwards it is asked again on each tick.
#pragma once

#include "platform/Platform.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace kal::qt {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(Platform& platform, QMenu* menu, QObject* parent);

    // At start: asked at once when `answerNeededNow`, otherwise once the event loop runs.
    void AskAtStart(bool answerNeededNow);
    // The question put off at start is answered now, if still open.
    void Settle();
    // Asked again: a notification area may come or go while the program runs.
    void Ask();
    bool available() const { return available_; }
    bool pending() const { return pending_; }

    // Shows the icon with its tip (cut to 63 characters), where there is a notification area.
    void Show(const QString& tip);
    void Hide();
    void SetTip(const QString& tip);
    // Whether the icon is shown, once a question still put off is answered.
    bool shown();

signals:
    void clicked();
    // The answer put off at start came, or the notification area came or went.
    void availabilityChanged();

private:
    Platform& platform_;
    QMenu* menu_;
    QPointer<QSystemTrayIcon> icon_;
    bool available_ = false;
    bool pending_ = false;
};

} // namespace kal::qt
