#include "app/WakeSocket.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace kal::wake {
namespace {

constexpr char kMessage[] = "wake\n";
constexpr std::size_t kLongestMessage = 64;
constexpr int kBacklog = 16;

bool addressOf(const std::string& path, sockaddr_un& address)
{
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int connectedSocket(const std::string& path)
{
    sockaddr_un address;
    if (!addressOf(path, address))
        return -1;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // An instance too busy to accept within a second counts as absent, as it would to the user.
    timeval limit{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool bound(int fd, const std::string& path)
{
    sockaddr_un address;
    return addressOf(path, address) && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

} // namespace

bool sendWake(const std::string& path)
{
    int fd = connectedSocket(path);
    if (fd < 0)
        return false;
    const std::size_t length = sizeof kMessage - 1;
    const bool sent = ::send(fd, kMessage, length, MSG_NOSIGNAL) == static_cast<ssize_t>(length);
    ::close(fd);
    return sent;
}

int listenAt(const std::string& path)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (!bound(fd, path) && !(errno == EADDRINUSE && ::unlink(path.c_str()) == 0 && bound(fd, path))) {
        ::close(fd);
        return -1;
    }
    // Nobody can connect before listen(), so the mode is in place before the first message.
    if (::chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, kBacklog) != 0) {
        ::unlink(path.c_str());
        ::close(fd);
        return -1;
    }
    return fd;
}

int acceptWaiting(int listening)
{
    return ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
}

Received readWake(int connection, std::string& buffer)
{
    char chunk[kLongestMessage];
    for (;;) {
        ssize_t n = ::recv(connection, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return Received::More;
        if (n <= 0)
            return buffer.find("wake") != std::string::npos ? Received::Wake : Received::Ended;
        buffer.append(chunk, static_cast<std::size_t>(n));
        if (buffer.find("wake") != std::string::npos)
            return Received::Wake;
        if (buffer.size() > kLongestMessage)
            return Received::Ended;
    }
}

} // namespace kal::wake
