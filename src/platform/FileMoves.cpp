#include "FileMoves.h"

#include "FileNames.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace zv {

int renameNoReplace(const QString &fromPath, const QString &toPath)
{
    const QByteArray from = nativePath(fromPath);
    const QByteArray to = nativePath(toPath);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
#endif
    // File systems without the flag (exFAT through FUSE, some shares): a hard link fails on a
    // taken name as well, where they have links at all.
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    if (::unlink(from.constData()) != 0) {
        const int error = errno;
        ::unlink(to.constData());
        return error;
    }
    return 0;
}

int removeFile(const QString &path)
{
    return ::unlink(nativePath(path).constData()) == 0 ? 0 : errno;
}

} // namespace zv
