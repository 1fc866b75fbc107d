// What the window manager does with the program's windows where Qt's own hints do not reach, on
// X11 (elsewhere these do nothing): the window type a window without a maximise button is given,
// and the double clicks on a window's title bar, which the manager draws and tells nothing of.
#pragma once

#include "platform/TitleBarClicks.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

#include <cstdint>

class QWidget;
struct xcb_connection_t;

namespace kal::qt {

// From now on every window of the program that asks for no maximise button is shown with a
// window type its manager draws without one: a tool window as a tool bar, a dialog as a tool bar
// too where the manager would give it the minimise and maximise buttons whatever Qt asks
// (openbox reads no Motif hints for them).
void typeWindowsOnShow(QObject* application);

class TitleBarWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit TitleBarWatch(QWidget* window);
    ~TitleBarWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A double click with the first button on the window's title bar, reported once the window
    // manager has had its say: a maximise it makes of it (most do, openbox once the button is
    // released) is taken back first; a maximised window it restores reports nothing.
    void doubleClicked();

private:
    void pressed(std::uint32_t timeMs);
    // A double click was made and the window manager may still answer it.
    bool pending() const { return awaitingRelease_ || settling_.isActive(); }

    QWidget* window_;
    xcb_connection_t* connection_ = nullptr;
    std::uint8_t inputOpcode_ = 0;
    TitleBarClicks clicks_;
    bool awaitingRelease_ = false; // the double click's button still down
    QTimer settling_;
};

} // namespace kal::qt
