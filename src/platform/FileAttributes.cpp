#include "FileAttributes.h"

#include "FileNames.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace zv {

bool isReadOnlyMode(unsigned int posixMode)
{
    return (posixMode & S_IWUSR) == 0;
}

unsigned int ownerWritableMode(unsigned int posixMode)
{
    return posixMode | S_IWUSR;
}

int fileAttributes(const QString &path)
{
    struct stat st { };
    if (::stat(nativePath(path).constData(), &st) != 0)
        return 0;
    int attributes = S_ISDIR(st.st_mode) ? DirectoryAttribute : ArchiveAttribute;
    if (isReadOnlyMode(st.st_mode))
        attributes |= ReadOnlyAttribute;
    return attributes;
}

std::optional<unsigned int> fileMode(const QString &path)
{
    struct stat st { };
    if (::stat(nativePath(path).constData(), &st) != 0)
        return std::nullopt;
    return st.st_mode & 07777;
}

int setFileMode(const QString &path, unsigned int mode)
{
    return ::chmod(nativePath(path).constData(), mode) == 0 ? 0 : errno;
}

std::optional<unsigned int> nameMode(const QString &path)
{
    struct stat st { };
    if (::lstat(nativePath(path).constData(), &st) != 0)
        return std::nullopt;
    return st.st_mode & 07777;
}

int setNameMode(const QString &path, unsigned int mode)
{
    return ::fchmodat(AT_FDCWD, nativePath(path).constData(), mode, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

int setReadOnly(const QString &path, bool readOnly)
{
    const auto mode = fileMode(path);
    if (!mode)
        return errno;
    return setFileMode(path, readOnly ? (*mode & ~0222u) : ownerWritableMode(*mode));
}

} // namespace zv
