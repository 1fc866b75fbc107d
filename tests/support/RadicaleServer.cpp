#include "support/RadicaleServer.h"

#include "support/RunProgram.h"

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kal::test {

namespace {

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool accepts(int port)
{
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    const bool connected = ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return connected;
}

std::string config(const TempFolder& folder, int port)
{
    return "[server]\nhosts = 127.0.0.1:" + std::to_string(port) +
           "\n[auth]\ntype = htpasswd\nhtpasswd_filename = " + folder.file("users") +
           "\nhtpasswd_encryption = plain\ndelay = 0\n[storage]\nfilesystem_folder = " + folder.file("store") +
           "\n[web]\ntype = none\n[logging]\nlevel = error\n";
}

} // namespace

int freeLoopbackPort()
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(listener);
    return ntohs(address.sin_port);
}

RadicaleServer& RadicaleServer::shared()
{
    static RadicaleServer server;
    return server;
}

RadicaleServer::RadicaleServer() : port_(freeLoopbackPort())
{
    folder_.write("users", std::string(kUser) + ":" + kPassword + "\n");
    folder_.write("config", config(folder_, port_));
    const std::string configFile = folder_.file("config");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM); // gone with the test program, however it ends
        ::execl("/usr/bin/radicale", "radicale", "--config", configFile.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Start-up of the fixture, outside any measurement: the port opens within a second.
    for (int waited = 0; pid_ > 0 && !accepts(port_); waited += 20) {
        if (::waitpid(pid_, nullptr, WNOHANG) != 0) {
            pid_ = -1;
        } else if (waited > 20000) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

RadicaleServer::~RadicaleServer()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string RadicaleServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

std::vector<std::string> RadicaleServer::peer(const std::vector<std::string>& commands) const
{
    std::string command = std::string("/usr/bin/python3 ") + KALENDRA_SOURCE_DIR + "/tests/exchange/caldav_peer.py " +
                          url() + " " + kUser + " " + kPassword;
    for (const std::string& c : commands)
        command += " '" + c + "'";
    std::istringstream output(runProgram(command).output);
    std::vector<std::string> lines;
    for (std::string line; std::getline(output, line);)
        lines.push_back(line);
    return lines;
}

} // namespace kal::test
