// SIGTERM and SIGHUP turned into a Qt signal: the handler only writes one byte to a pipe, and
// the event loop reads it, so everything done in response runs outside the signal handler.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace kal::qt {

class TerminationSignal : public QObject {
    Q_OBJECT
public:
    // One instance at a time; it restores the previous handlers when destroyed.
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

    bool installed() const { return notifier_ != nullptr; }

signals:
    void received();

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace kal::qt
