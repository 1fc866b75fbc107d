#include "app/qt/TrayIcon.h"

#include "platform/qt/ResourceIcon.h"

#include <QSystemTrayIcon>
#include <QTimer>

namespace kal::qt {
namespace {

constexpr int kTipLength = 63;

} // namespace

TrayIcon::TrayIcon(Platform& platform, QMenu* menu, QObject* parent) : QObject(parent), platform_(platform), menu_(menu)
{
}

void TrayIcon::AskAtStart(bool answerNeededNow)
{
    if (answerNeededNow) {
        available_ = platform_.hasNotificationArea();
        return;
    }
    pending_ = true;
    QTimer::singleShot(0, this, &TrayIcon::Settle);
}

void TrayIcon::Settle()
{
    if (pending_)
        Ask();
}

void TrayIcon::Ask()
{
    pending_ = false;
    const bool available = platform_.hasNotificationArea();
    if (available == available_)
        return;
    available_ = available;
    emit availabilityChanged();
}

void TrayIcon::Show(const QString& tip)
{
    if (!available_)
        return;
    if (!icon_) {
        icon_ = new QSystemTrayIcon(resourceIcon("program"), this);
        icon_->setObjectName("TrayIcon");
        icon_->setContextMenu(menu_);
        // The click may ask for the password; its dialog must not run inside the tray icon's
        // own event handler.
        connect(
            icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    emit clicked();
            },
            Qt::QueuedConnection);
    }
    SetTip(tip);
    icon_->show();
}

void TrayIcon::Hide()
{
    if (icon_)
        icon_->hide();
}

void TrayIcon::SetTip(const QString& tip)
{
    if (icon_)
        icon_->setToolTip(tip.left(kTipLength));
}

bool TrayIcon::shown()
{
    Settle();
    return icon_ && icon_->isVisible();
}

} // namespace kal::qt
