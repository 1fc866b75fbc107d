// One running instance per user and program folder: the first start listens on a local
// socket named after the user and the folder; a later start connects, asks the first to wake
// up and ends. A plain Unix socket watched by the event loop: the start loads no network stack.
#pragma once

#include <QObject>
#include <QString>

#include <string>

class QSocketNotifier;

namespace kal::qt {

class InstanceGuard : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Running, OtherWoken };

    explicit InstanceGuard(QObject* parent = nullptr);
    ~InstanceGuard() override;

    static QString serverName(const QString& programFolder);

    // Either becomes the running instance or wakes the one already running.
    Outcome acquire(const QString& programFolder);

signals:
    void wakeRequested();

private:
    void onNewConnection();
    void watchConnection(int connection);

    std::string path_;
    int listening_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace kal::qt
