// A Radicale server shared by one test program: 127.0.0.1 on a free port, one htpasswd user,
// storage in a temporary folder; started on first use, stopped when the program ends. The
// peer is python3-caldav, an independent client (tests/exchange/caldav_peer.py).
#pragma once

#include "support/TempFolder.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace kal::test {

class RadicaleServer {
public:
    static constexpr const char* kUser = "alice";
    static constexpr const char* kPassword = "wonderland";

    static RadicaleServer& shared();
    ~RadicaleServer();

    bool running() const { return pid_ > 0; }
    // http://127.0.0.1:PORT/ followed by `path`.
    std::string url(const std::string& path = {}) const;
    std::string calendarUrl(const std::string& name) const { return url(std::string(kUser) + "/" + name + "/"); }
    // One line of output for each command of caldav_peer.py.
    std::vector<std::string> peer(const std::vector<std::string>& commands) const;

private:
    RadicaleServer();

    TempFolder folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};

// A port on 127.0.0.1 that nobody listened on a moment ago.
int freeLoopbackPort();

} // namespace kal::test
