#pragma once
// Runs a check as an ordinary user: the suite runs as root in CI, and root reads and writes
// whatever the permissions say.

#include <QByteArray>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>

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

// The same for a probe whose findings the test checks one by one: it hands them back as bytes,
// and nothing comes back when the child failed.
inline std::optional<QByteArray> probeAsOtherUser(const std::function<QByteArray()> &probe)
{
    if (::geteuid() != 0)
        return probe();
    int pipe[2];
    if (::pipe(pipe) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        const QByteArray found = probe();
        for (qsizetype at = 0; at < found.size();) {
            const ssize_t n = ::write(pipe[1], found.constData() + at, size_t(found.size() - at));
            if (n <= 0)
                ::_exit(3);
            at += n;
        }
        ::_exit(0);
    }
    ::close(pipe[1]);
    QByteArray found;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        found.append(buffer, n);
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return found;
}

} // namespace zv::test
