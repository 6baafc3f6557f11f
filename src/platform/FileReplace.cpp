#include "FileReplace.h"

#include "FileCopy.h"
#include "FileNames.h"
#include "NewFile.h"
#include "RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace zv {
namespace {

FileIdentity identityOf(const struct stat &st)
{
    return {static_cast<quint64>(st.st_dev),
            static_cast<quint64>(st.st_ino),
            st.st_size,
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<unsigned int>(st.st_mode & 07777),
            st.st_uid,
            st.st_gid};
}

constexpr int kNameTries = 8;

// Everything the child needs, made before the fork: after it only system calls are safe.
struct Plan {
    QByteArray folder;
    QByteArray name;
    QByteArray temps[kNameTries];
    std::vector<QByteArrayView> parts;
    FileIdentity expected;
};

struct Report {
    int error = 0;
    bool changed = false;
};

Report writeAndPlace(const Plan &plan)
{
    const int dir = ::open(plan.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return {errno, false};
    int out = -1;
    const char *temp = nullptr;
    for (const QByteArray &candidate : plan.temps) {
        out = ::openat(dir, candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (out >= 0) {
            temp = candidate.constData();
            break;
        }
        if (errno != EEXIST)
            break;
    }
    if (out < 0) {
        const int error = errno;
        ::close(dir);
        return {error, false};
    }
    // Alive while locked: removeStaleCopies leaves it alone.
    ::flock(out, LOCK_EX | LOCK_NB);
    Report report;
    qint64 offset = 0;
    for (const QByteArrayView part : plan.parts) {
        if ((report.error = writeAllAt(out, part.data(), part.size(), offset)))
            break;
        offset += part.size();
    }
    if (!report.error) {
        // An owner the process may not give (only root may) is no reason to fail.
        (void)!::fchown(out, plan.expected.owner, plan.expected.group);
        if (::fchmod(out, plan.expected.mode) != 0 && errno != EPERM && errno != EOPNOTSUPP)
            report.error = errno;
    }
    if (!report.error && ::fdatasync(out) != 0)
        report.error = errno;
    if (!report.error) {
        struct stat now { };
        if (::fstatat(dir, plan.name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(now.st_mode)
            || !(identityOf(now) == plan.expected))
            report.changed = true;
        else if (::renameat(dir, temp, dir, plan.name.constData()) != 0)
            report.error = errno;
        else
            temp = nullptr;
    }
    if (temp)
        ::unlinkat(dir, temp, 0);
    else
        ::fsync(dir); // the new name on disk too
    ::close(out);
    ::close(dir);
    return report;
}

} // namespace

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    struct stat st { };
    if (::stat(nativePath(path).constData(), &st) != 0)
        return std::nullopt;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    return identityOf(st);
}

ReplaceOutcome replaceFileWith(const QString &path, const FileIdentity &expected,
                               std::initializer_list<QByteArrayView> parts)
{
    ignoreFileSizeSignal();
    Plan plan;
    const QByteArray native = nativePath(path);
    const qsizetype slash = native.lastIndexOf('/');
    plan.folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : native.left(slash);
    plan.name = native.mid(slash + 1);
    for (QByteArray &temp : plan.temps)
        temp = copyTempName();
    plan.parts.assign(parts.begin(), parts.end());
    plan.expected = expected;

    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return {errno, false};
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(channel[0]);
        ::close(channel[1]);
        return {error, false};
    }
    if (child == 0) {
        const Report report = writeAndPlace(plan);
        (void)!::write(channel[1], &report, sizeof report);
        ::_exit(0);
    }
    ::close(channel[1]);
    Report report;
    ssize_t got;
    do {
        got = ::read(channel[0], &report, sizeof report);
    } while (got < 0 && errno == EINTR);
    ::close(channel[0]);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    if (got != sizeof report)
        return {EIO, false}; // the child died before it could say
    return {report.error, report.changed};
}

} // namespace zv
