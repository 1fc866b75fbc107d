// One running instance per user and program folder: the first start listens on a local
// socket named after the user and the folder; a later start connects, asks the first to wake
// up and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

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
    bool wakeRunningInstance(const QString& name);
    void onNewConnection();

    QLocalServer* server_ = nullptr;
};

} // namespace kal::qt
