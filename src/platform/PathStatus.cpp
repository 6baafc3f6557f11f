#include "PathStatus.h"

#include "FileNames.h"

#include <sys/stat.h>
#include <unistd.h>

namespace zv {
namespace {

PathStatus statusOf(const struct stat &st)
{
    if (S_ISREG(st.st_mode))
        return {PathStatus::Kind::File, st.st_size, st.st_mtime};
    return {S_ISDIR(st.st_mode) ? PathStatus::Kind::Folder : PathStatus::Kind::Other, 0, st.st_mtime};
}

} // namespace

PathStatus pathStatus(const QString &path)
{
    struct stat st { };
    return ::stat(nativePath(path).constData(), &st) == 0 ? statusOf(st) : PathStatus{};
}

PathStatus nameStatus(const QString &path)
{
    struct stat st { };
    return ::lstat(nativePath(path).constData(), &st) == 0 ? statusOf(st) : PathStatus{};
}

bool isRunnableFile(const QString &path)
{
    const QByteArray native = nativePath(path);
    struct stat st { };
    return ::stat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) && ::access(native.constData(), X_OK) == 0;
}

} // namespace zv
