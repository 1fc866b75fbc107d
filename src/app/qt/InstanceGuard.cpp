#include "app/qt/InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace kal::qt {
namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kWakeMessage = "wake\n";

} // namespace

InstanceGuard::InstanceGuard(QObject* parent) : QObject(parent) { }

InstanceGuard::~InstanceGuard()
{
    if (server_)
        server_->close();
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

bool InstanceGuard::wakeRunningInstance(const QString& name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kWakeMessage);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

InstanceGuard::Outcome InstanceGuard::acquire(const QString& programFolder)
{
    const QString name = serverName(programFolder);
    if (wakeRunningInstance(name))
        return Outcome::OtherWoken;

    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // Nobody answered, so a socket left by a crashed instance is in the way.
        QLocalServer::removeServer(name);
        if (!server_->listen(name) && wakeRunningInstance(name))
            return Outcome::OtherWoken;
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceGuard::onNewConnection);
    return Outcome::Running;
}

void InstanceGuard::onNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const bool wake = socket->readAll().contains("wake");
            socket->disconnectFromServer();
            // The wake-up may open a modal prompt, whose event loop would delete this socket
            // under its own signal; it runs once the socket's handler has returned.
            if (wake)
                QMetaObject::invokeMethod(this, &InstanceGuard::wakeRequested, Qt::QueuedConnection);
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

} // namespace kal::qt
