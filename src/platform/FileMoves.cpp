#include "FileMoves.h"

#include "FileNames.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {

int RenameCalls::renameNoReplace(int fromDir, const char *from, int toDir, const char *to)
{
#ifdef RENAME_NOREPLACE
    return ::renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE);
#else
    errno = ENOSYS;
    return -1;
#endif
}

int RenameCalls::link(int fromDir, const char *from, int toDir, const char *to)
{
    return ::linkat(fromDir, from, toDir, to, 0);
}

int RenameCalls::rename(int fromDir, const char *from, int toDir, const char *to)
{
    return ::renameat(fromDir, from, toDir, to);
}

int RenameCalls::unlink(int dir, const char *name)
{
    return ::unlinkat(dir, name, 0);
}

bool RenameCalls::exists(int dir, const char *name)
{
    struct stat st { };
    return ::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT;
}

RenameCalls &systemRenameCalls()
{
    static RenameCalls calls;
    return calls;
}

int renameNoReplaceAt(int fromDir, const char *from, int toDir, const char *to, RenameCalls &calls)
{
    if (calls.renameNoReplace(fromDir, from, toDir, to) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    // A hard link fails on a taken name as well, and the old name then goes.
    if (calls.link(fromDir, from, toDir, to) == 0) {
        if (calls.unlink(fromDir, from) == 0)
            return 0;
        const int error = errno;
        calls.unlink(toDir, to);
        return error;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return errno;
    // exFAT and FAT (through FUSE) have neither: a look and a plain rename is the best they
    // allow. Another writer can still slip in between the two; there is no call to stop it.
    if (calls.exists(toDir, to))
        return EEXIST;
    return calls.rename(fromDir, from, toDir, to) == 0 ? 0 : errno;
}

int renameNoReplace(const QString &fromPath, const QString &toPath, RenameCalls &calls)
{
    return renameNoReplaceAt(AT_FDCWD, nativePath(fromPath).constData(), AT_FDCWD, nativePath(toPath).constData(),
                             calls);
}

int removeFile(const QString &path)
{
    return ::unlink(nativePath(path).constData()) == 0 ? 0 : errno;
}

} // namespace zv
