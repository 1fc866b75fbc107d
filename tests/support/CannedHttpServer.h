// A TCP server on 127.0.0.1 that answers its n-th connection with the n-th of the given replies
// (the last one repeats), byte for byte: a server that cuts, overflows, fails or redirects. An
// empty reply holds the connection without a word.
#pragma once

#include "support/RadicaleServer.h"

#include <atomic>
#include <poll.h>

namespace kal::test {

// A whole reply: the status line, the header lines given (each ending in CRLF), the body.
inline std::string httpReply(const std::string& status, const std::string& body = {}, const std::string& header = {})
{
    return "HTTP/1.1 " + status + "\r\n" + header + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
           body;
}

class CannedHttpServer {
public:
    explicit CannedHttpServer(std::vector<std::string> replies) : replies_(std::move(replies))
    {
        port_ = listener_.bindAny();
        ::listen(listener_.fd, 8);
        thread_ = std::thread([this] {
            for (std::size_t served = 0; !stop_;) {
                if (readable(listener_.fd)) {
                    const int connection = ::accept(listener_.fd, nullptr, nullptr);
                    answer(connection, replies_[std::min(served++, replies_.size() - 1)]);
                    ::close(connection);
                }
            }
        });
    }
    ~CannedHttpServer()
    {
        stop_ = true;
        thread_.join();
    }

    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    static bool readable(int socket)
    {
        pollfd wait{socket, POLLIN, 0};
        return ::poll(&wait, 1, 20) > 0;
    }

    // Reads the request head (or the first bytes of a TLS handshake), answers, then reads on
    // until the client closes, so that no unread request bytes turn the close into a reset.
    void answer(int connection, const std::string& reply)
    {
        std::string request;
        char buffer[4096];
        while (!stop_ && request.find("\r\n\r\n") == std::string::npos && (request.empty() || request[0] != 0x16)) {
            if (!readable(connection))
                continue;
            const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0)
                return;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        if (!reply.empty()) {
            ::send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
            ::shutdown(connection, SHUT_WR);
        }
        while (!stop_ && !(readable(connection) && ::recv(connection, buffer, sizeof buffer, 0) <= 0)) { }
    }

    std::vector<std::string> replies_;
    LoopbackSocket listener_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace kal::test
