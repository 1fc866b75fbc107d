// While one lives, file permissions are checked as for an ordinary user who owns none of the
// test's files, so that a mode-000 file cannot be read even when the tests run as root.
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

namespace kal::test {

class OtherUser {
public:
    OtherUser()
    {
        if (::geteuid() == 0)
            ::setfsuid(kNobody);
    }
    ~OtherUser()
    {
        if (::geteuid() == 0)
            ::setfsuid(0);
    }
    OtherUser(const OtherUser&) = delete;
    OtherUser& operator=(const OtherUser&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
};

} // namespace kal::test
