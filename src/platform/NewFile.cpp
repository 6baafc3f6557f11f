#include "NewFile.h"

#include "FileNames.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zv {

NewFile createNewFile(const QString &path)
{
    NewFile file;
    file.path = path;
    const int fd =
        ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        file.error = errno;
    else
        file.handle = FileHandle(fd);
    return file;
}

int writeAllAt(int fd, const char *bytes, qsizetype size, qint64 offset, qsizetype *written)
{
    qsizetype done = 0;
    int error = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, bytes + done, static_cast<size_t>(size - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // No progress and no reason: the only way a regular file says it is full.
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        done += n;
    }
    if (written)
        *written = done;
    return error;
}

int writeNewFile(const QString &path, const QByteArray &bytes)
{
    NewFile file = createNewFile(path);
    if (file.error)
        return file.error;
    int error = writeAllAt(file.handle.get(), bytes.constData(), bytes.size(), 0);
    if (!error && ::fdatasync(file.handle.get()) != 0)
        error = errno;
    file.handle.reset();
    if (error)
        ::unlink(nativePath(path).constData());
    return error;
}

} // namespace zv
