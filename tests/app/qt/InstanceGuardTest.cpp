#include "app/qt/InstanceGuard.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using kal::qt::InstanceGuard;
using kal::test::TempFolder;

TEST(InstanceGuard, SecondStartOnTheSameFolderWakesTheFirst)
{
    TempFolder folder;
    InstanceGuard first;
    ASSERT_EQ(first.acquire(QString::fromStdString(folder.path())), InstanceGuard::Outcome::Running);
    QSignalSpy woken(&first, &InstanceGuard::wakeRequested);

    InstanceGuard second;
    EXPECT_EQ(second.acquire(QString::fromStdString(folder.path())), InstanceGuard::Outcome::OtherWoken);
    EXPECT_TRUE(woken.wait(3000));

    TempFolder other;
    InstanceGuard third;
    EXPECT_EQ(third.acquire(QString::fromStdString(other.path())), InstanceGuard::Outcome::Running);
}

TEST(InstanceGuard, NamesDifferPerFolderAndIgnoreTheSpelling)
{
    TempFolder a, b;
    QString pathA = QString::fromStdString(a.path());
    EXPECT_NE(InstanceGuard::serverName(pathA), InstanceGuard::serverName(QString::fromStdString(b.path())));
    EXPECT_EQ(InstanceGuard::serverName(pathA), InstanceGuard::serverName(pathA + "./"));
    EXPECT_TRUE(InstanceGuard::serverName(pathA).startsWith("Kalendra-"));
}

TEST(InstanceGuard, SocketLeftByACrashDoesNotBlockAStart)
{
    TempFolder folder;
    QString path = QDir::tempPath() + "/" + InstanceGuard::serverName(QString::fromStdString(folder.path()));
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.toLocal8Bit().constData());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd); // bound but never listening, and never removed: what a crash leaves

    InstanceGuard guard;
    EXPECT_EQ(guard.acquire(QString::fromStdString(folder.path())), InstanceGuard::Outcome::Running);
}

// What a stranger sends or an open connection that says nothing must not wake the window.
TEST(InstanceGuard, OnlyTheWakeLineWakesAndTheSocketIsPrivateAndGoesWithTheGuard)
{
    TempFolder folder;
    QString path = QDir::tempPath() + "/" + InstanceGuard::serverName(QString::fromStdString(folder.path()));
    {
        InstanceGuard guard;
        ASSERT_EQ(guard.acquire(QString::fromStdString(folder.path())), InstanceGuard::Outcome::Running);
        EXPECT_EQ(QFile::permissions(path) & 0x0077, 0); // no group or other bits
        QSignalSpy woken(&guard, &InstanceGuard::wakeRequested);
        for (const char* message : {"", "hello\n", "wa"}) {
            int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.toLocal8Bit().constData());
            ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            ASSERT_EQ(::write(fd, message, std::strlen(message)), static_cast<ssize_t>(std::strlen(message)));
            ::close(fd);
            EXPECT_FALSE(woken.wait(100)) << message;
        }
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(InstanceGuard, ProgramEndsWithZeroWhenAnotherRunsAndRunsBesideItWithSlashTwo)
{
    TempFolder home;
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QStringList homeArgs{"--home", QString::fromStdString(home.path())};

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(KALENDRA_BINARY, homeArgs);
    ASSERT_TRUE(first.waitForStarted());
    QString socket = QDir::tempPath() + "/" + InstanceGuard::serverName(QString::fromStdString(home.path()));
    for (int i = 0; i < 100 && !QFile::exists(socket); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(socket));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(KALENDRA_BINARY, homeArgs);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    QProcess beside;
    beside.setProcessEnvironment(env);
    beside.start(KALENDRA_BINARY, QStringList{"/2"} + homeArgs);
    ASSERT_TRUE(beside.waitForStarted());
    EXPECT_FALSE(beside.waitForFinished(1500)) << "a start with /2 must run beside the first";
    beside.kill();
    beside.waitForFinished();
    first.kill();
    first.waitForFinished();
}
