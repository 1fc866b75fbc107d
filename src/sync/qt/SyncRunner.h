// One sync at a time off the GUI thread, so that the window never waits for the server: its
// progress and its end come back to the GUI thread as signals, and a cancel ends the transfer
// under way.
#pragma once

#include "sync/SyncEngine.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class QThread;

namespace kal::qt {

class SyncRunner : public QObject {
    Q_OBJECT
public:
    using ServiceSource = std::function<caldav::LoadedService()>;
    explicit SyncRunner(ServiceSource source, QObject* parent = nullptr);
    ~SyncRunner() override; // cancels a sync under way and waits for its end

    bool running() const { return thread_ != nullptr; }
    // False when a sync runs already.
    bool start(SyncRequest request);
    void cancel() { cancel_ = true; }

signals:
    void progress(const QString& text, int done, int total);
    void finished(const kal::SyncOutcome& outcome);

private:
    void finish(const SyncOutcome& outcome);

    ServiceSource source_;
    std::atomic<bool> cancel_{false};
    QThread* thread_ = nullptr;
};

} // namespace kal::qt
