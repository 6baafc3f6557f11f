#pragma once
// Runs a check as an ordinary user: the suite runs as root in CI, and root reads and writes
// whatever the permissions say.

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace zv::test {

inline constexpr uid_t kNobody = 65534;

// The check runs in a child process; without root it runs as it is.
inline bool runAsOtherUser(const std::function<bool()> &check)
{
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace zv::test
