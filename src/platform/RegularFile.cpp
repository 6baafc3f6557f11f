#include "RegularFile.h"

#include "CanonicalPath.h"
#include "FileNames.h"
#include "NewFile.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zv {
namespace {

// System calls only, nothing allocated, so a forked child can run it.
EndWriteOutcome writeAndFlush(int fd, QByteArrayView bytes, qint64 offset, qint64 oldSize, const char *old,
                              bool overwrite)
{
    EndWriteOutcome outcome;
    qsizetype written = 0;
    outcome.error = writeAllAt(fd, bytes.data(), bytes.size(), offset, &written);
    // A write refused outright (a read-only or full drive) changed nothing: no rollback to fail.
    if (outcome.error && written == 0)
        return outcome;
    if (!outcome.error && ::fdatasync(fd) != 0)
        outcome.error = errno;
    if (outcome.error) {
        // Only the bytes replaced go back: the rest may lie beyond what the failure allows.
        outcome.restored = overwrite ? writeAllAt(fd, old, written, offset) == 0 && ::fdatasync(fd) == 0
                                     : ::ftruncate(fd, oldSize) == 0;
    }
    return outcome;
}

} // namespace

void ignoreFileSizeSignal()
{
    static const bool ignored = [] {
        struct sigaction action { };
        action.sa_handler = SIG_IGN;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGXFSZ, &action, nullptr) == 0;
    }();
    (void)ignored;
}

RegularFile openRegularFile(const QString &path, bool forWriting, const QString &within)
{
    RegularFile file;
    QByteArray native = nativePath(path);
    int noFollow = 0;
    if (!within.isEmpty()) {
        const QString resolved = canonicalPath(path);
        if (!isSameOrBelow(resolved, canonicalPath(within))) {
            file.outside = true;
            return file;
        }
        // A link put in place of the last part since it was resolved is not followed.
        native = nativePath(resolved);
        noFollow = O_NOFOLLOW;
    }
    struct stat before { };
    if (::stat(native.constData(), &before) != 0) {
        file.error = errno == ENOTDIR ? ENOENT : errno;
        return file;
    }
    if (!S_ISREG(before.st_mode)) {
        file.notRegular = true;
        return file;
    }
    const int fd =
        ::open(native.constData(), (forWriting ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | noFollow);
    if (fd < 0) {
        file.error = errno;
        return file;
    }
    file.handle = FileHandle(fd);
    struct stat opened { };
    if (::fstat(fd, &opened) != 0) {
        file.error = errno;
        return file;
    }
    if (!S_ISREG(opened.st_mode) || opened.st_dev != before.st_dev || opened.st_ino != before.st_ino) {
        file.notRegular = true;
        return file;
    }
    file.size = opened.st_size;
    return file;
}

int readAllAt(int fd, char *bytes, qsizetype size, qint64 offset)
{
    while (size > 0) {
        const ssize_t got = ::pread(fd, bytes, static_cast<size_t>(size), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return EIO;
        bytes += got;
        size -= got;
        offset += got;
    }
    return 0;
}

// The kernel abandons a write between two memory pages once its process is killed, so bytes
// across a page boundary could be left half written (the kill test found it); a child finishes
// the write and its rollback whatever happens to us.
EndWriteOutcome writeNearEnd(int fd, QByteArrayView bytes, qint64 offset, qint64 oldSize, const char *old,
                             bool overwrite)
{
    ignoreFileSizeSignal();
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return writeAndFlush(fd, bytes, offset, oldSize, old, overwrite);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return writeAndFlush(fd, bytes, offset, oldSize, old, overwrite);
    }
    if (child == 0) {
        const EndWriteOutcome outcome = writeAndFlush(fd, bytes, offset, oldSize, old, overwrite);
        (void)!::write(channel[1], &outcome, sizeof outcome);
        ::_exit(0);
    }
    ::close(channel[1]);
    EndWriteOutcome outcome;
    ssize_t got;
    do {
        got = ::read(channel[0], &outcome, sizeof outcome);
    } while (got < 0 && errno == EINTR);
    ::close(channel[0]);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    if (got != sizeof outcome)
        return {EIO, false}; // the child died before it could say
    return outcome;
}

} // namespace zv
