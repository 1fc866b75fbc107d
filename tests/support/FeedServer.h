// tests/sync/feed_server.py on 127.0.0.1 with its own folder of feeds, for one test.
#pragma once

#include "support/RadicaleServer.h"

namespace kal::test {

class FeedServer {
public:
    FeedServer()
    {
        const std::string port = std::to_string(port_), folder = folder_.path();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            ::execl("/usr/bin/python3", "python3", KALENDRA_SOURCE_DIR "/tests/sync/feed_server.py", port.c_str(),
                    folder.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int waited = 0; waited < 10000 && !LoopbackSocket(port_).connects(); waited += 20)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~FeedServer()
    {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }

    void serve(const std::string& name, const std::string& text) { folder_.write(name, text); }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    // "missing", "cut", "redirectN" or "" (feed_server.py).
    void spoil(const std::string& mode) { folder_.write("mode", mode); }
    // "STATUS PATH" of every answer so far.
    std::string log() const { return folder_.read("log"); }

private:
    TempFolder folder_;
    int port_ = LoopbackSocket().bindAny();
    pid_t pid_ = -1;
};

} // namespace kal::test
