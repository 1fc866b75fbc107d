// A Radicale or Xandikos server shared by one test program: 127.0.0.1 on a free port, one user,
// storage in a temporary folder; started on first use, stopped when the program ends. Its peer
// is python3-caldav, an independent client (tests/sync/caldav_peer.py).
#pragma once

#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <arpa/inet.h>
#include <csignal>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kal::test {

// A bound or connected TCP socket on 127.0.0.1 (port 0: any free one), closed with the object.
struct LoopbackSocket {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};

    explicit LoopbackSocket(int port = 0) { address.sin_port = htons(static_cast<uint16_t>(port)); }
    ~LoopbackSocket() { ::close(fd); }
    sockaddr* raw() { return reinterpret_cast<sockaddr*>(&address); }
    bool connects() { return ::connect(fd, raw(), sizeof address) == 0; }
    int bindAny()
    {
        socklen_t size = sizeof address;
        ::bind(fd, raw(), size);
        ::getsockname(fd, raw(), &size);
        return ntohs(address.sin_port);
    }
};

// The servers the sync is tried against. Xandikos asks for no password: any is taken.
enum class DavServerKind { Radicale, Xandikos };

class LocalDavServer {
public:
    static constexpr const char* kUser = "alice";
    static constexpr const char* kPassword = "wonderland";

    // Started by the first call for its kind, which the peer's commands then prepare.
    static LocalDavServer& shared(const std::vector<std::string>& preparation = {})
    {
        return shared(DavServerKind::Radicale, preparation);
    }
    static LocalDavServer& shared(DavServerKind kind, const std::vector<std::string>& preparation = {})
    {
        static LocalDavServer radicale(DavServerKind::Radicale), xandikos(DavServerKind::Xandikos);
        LocalDavServer& server = kind == DavServerKind::Radicale ? radicale : xandikos;
        if (!server.prepared_) {
            server.prepared_ = true;
            server.peer(preparation);
        }
        return server;
    }
    ~LocalDavServer()
    {
        if (pid_ > 0 && ::kill(pid_, SIGTERM) == 0)
            ::waitpid(pid_, nullptr, 0);
    }

    const char* name() const { return kind_ == DavServerKind::Radicale ? "Radicale" : "Xandikos"; }
    bool running() const { return pid_ > 0; }
    // Where the server keeps its collections (a benchmark fills one directly, outside its timing).
    std::string storeFolder() const { return folder_.file("store"); }
    std::string url(const std::string& path = {}) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
    }
    std::string calendarUrl(const std::string& name) const
    {
        return url(std::string(kUser) + (kind_ == DavServerKind::Xandikos ? "/calendars/" : "/") + name + "/");
    }

    // What caldav_peer.py printed for the commands, a line each.
    std::string peer(const std::vector<std::string>& commands) const
    {
        std::string command =
            std::string("no_proxy='*' /usr/bin/python3 " KALENDRA_SOURCE_DIR "/tests/sync/caldav_peer.py ") + url() +
            " " + kUser + " " + kPassword;
        for (const std::string& c : commands)
            command += " '" + c + "'";
        return runProgram(command).output;
    }

private:
    explicit LocalDavServer(DavServerKind kind) : kind_(kind)
    {
        folder_.write("users", std::string(kUser) + ":" + kPassword + "\n");
        const std::string port = std::to_string(port_), host = "127.0.0.1:" + port, users = folder_.file("users"),
                          store = folder_.file("store"), principal = std::string("/") + kUser + "/";
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM); // gone with the test program, however it ends
            if (kind == DavServerKind::Radicale)
                ::execl("/usr/bin/radicale", "radicale", "--config", "", "--server-hosts", host.c_str(), "--auth-type",
                        "htpasswd", "--auth-htpasswd-filename", users.c_str(), "--auth-htpasswd-encryption", "plain",
                        "--auth-delay", "0", "--storage-filesystem-folder", store.c_str(), "--logging-level", "error",
                        static_cast<char*>(nullptr));
            else if (std::freopen("/dev/null", "w", stderr)) // its log of every request
                ::execl("/usr/bin/python3", "python3", "/usr/bin/xandikos", "-d", store.c_str(), "--autocreate", "-l",
                        "127.0.0.1", "-p", port.c_str(), "--current-user-principal", principal.c_str(),
                        static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Start-up of the fixture, outside any measurement: the port opens within seconds.
        for (int waited = 0; pid_ > 0 && !LoopbackSocket(port_).connects(); waited += 20) {
            if (waited > 20000)
                ::kill(pid_, SIGTERM);
            if (::waitpid(pid_, nullptr, WNOHANG) != 0)
                pid_ = -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    DavServerKind kind_;
    TempFolder folder_;
    int port_ = LoopbackSocket().bindAny();
    pid_t pid_ = -1;
    bool prepared_ = false;
};

using RadicaleServer = LocalDavServer;

} // namespace kal::test
