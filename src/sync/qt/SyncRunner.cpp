#include "sync/qt/SyncRunner.h"

#include "platform/qt/QtText.h"

#include <QThread>

namespace kal::qt {

SyncRunner::SyncRunner(ServiceSource source, QObject* parent) : QObject(parent), source_(std::move(source)) { }

SyncRunner::~SyncRunner()
{
    cancel_ = true;
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

bool SyncRunner::start(SyncRequest request)
{
    if (thread_)
        return false;
    cancel_ = false;
    thread_ = QThread::create([this, request = std::move(request)] {
        SyncOutcome outcome;
        const caldav::LoadedService loaded = source_();
        if (!loaded.service) {
            outcome.ok = false;
            outcome.reason = loaded.reason;
        } else {
            SyncHooks hooks;
            hooks.cancel = &cancel_;
            hooks.progress = [this](const SyncProgress& step) {
                const QString text = fromUtf8(syncStageText(step));
                QMetaObject::invokeMethod(
                    this, [this, text, step] { emit progress(text, int(step.done), int(step.total)); },
                    Qt::QueuedConnection);
            };
            outcome = runSync(request, *loaded.service, hooks);
        }
        QMetaObject::invokeMethod(
            this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
    });
    thread_->start();
    return true;
}

void SyncRunner::finish(const SyncOutcome& outcome)
{
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    emit finished(outcome);
}

} // namespace kal::qt
