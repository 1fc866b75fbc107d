#include "platform/qt/TerminationSignal.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kal::qt {
namespace {

int pipeEnds[2] = {-1, -1};
struct sigaction previousTerm, previousHangUp;

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a pending request; the byte may be dropped.
    [[maybe_unused]] ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent)
{
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &previousTerm);
    ::sigaction(SIGHUP, &action, &previousHangUp);
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignal::readPipe);
}

TerminationSignal::~TerminationSignal()
{
    if (!notifier_)
        return;
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    ::sigaction(SIGHUP, &previousHangUp, nullptr);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignal::readPipe()
{
    char bytes[16];
    bool any = false;
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0)
        any = true;
    if (any)
        emit received();
}

} // namespace kal::qt
