#include "app/qt/InstanceGuard.h"

#include "app/WakeSocket.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>

#include <memory>
#include <unistd.h>

namespace kal::qt {

InstanceGuard::InstanceGuard(QObject* parent) : QObject(parent) { }

InstanceGuard::~InstanceGuard()
{
    if (listening_ < 0)
        return;
    delete notifier_;
    ::close(listening_);
    ::unlink(path_.c_str());
}

QString InstanceGuard::serverName(const QString& programFolder)
{
    QFileInfo info(programFolder);
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QDir::cleanPath(info.absoluteFilePath());
    QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QString("Kalendra-%1-%2").arg(static_cast<qulonglong>(::getuid())).arg(QString::fromLatin1(hash));
}

InstanceGuard::Outcome InstanceGuard::acquire(const QString& programFolder)
{
    const std::string path = QDir(QDir::tempPath()).filePath(serverName(programFolder)).toLocal8Bit().toStdString();
    if (wake::sendWake(path))
        return Outcome::OtherWoken;
    // Nobody answered, so a socket file there was left by a crashed instance.
    const int listening = wake::listenAt(path);
    if (listening < 0)
        return wake::sendWake(path) ? Outcome::OtherWoken : Outcome::Running;
    path_ = path;
    listening_ = listening;
    notifier_ = new QSocketNotifier(listening_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &InstanceGuard::onNewConnection);
    return Outcome::Running;
}

void InstanceGuard::onNewConnection()
{
    for (int connection; (connection = wake::acceptWaiting(listening_)) >= 0;)
        watchConnection(connection);
}

void InstanceGuard::watchConnection(int connection)
{
    auto* watch = new QSocketNotifier(connection, QSocketNotifier::Read, this);
    auto received = std::make_shared<std::string>();
    auto readMore = [this, watch, connection, received] {
        const wake::Received result = wake::readWake(connection, *received);
        if (result == wake::Received::More)
            return;
        watch->setEnabled(false);
        watch->deleteLater();
        ::close(connection);
        // The wake-up may open a modal prompt, whose event loop would run inside this handler;
        // it runs once the handler has returned.
        if (result == wake::Received::Wake)
            QMetaObject::invokeMethod(this, &InstanceGuard::wakeRequested, Qt::QueuedConnection);
    };
    connect(watch, &QSocketNotifier::activated, this, readMore);
    readMore(); // the message is often there already
}

} // namespace kal::qt
