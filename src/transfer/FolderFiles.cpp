#include "FolderFiles.h"

#include "model/AlbumEntry.h"
#include "platform/FileCopy.h"
#include "platform/FileNames.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace zv {
namespace {
struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};
} // namespace

QString browserKind(QStringView fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    const QStringView ext = fileName.mid(dot + 1);
    const auto is = [ext](const char16_t *known) { return ext.compare(QStringView(known), Qt::CaseInsensitive) == 0; };
    if (is(u"gif") || is(u"jpg") || is(u"bmp") || is(u"jpeg"))
        return QStringLiteral("Bild");
    if (is(u"mpg") || is(u"avi") || is(u"mpeg") || is(u"mov"))
        return QStringLiteral("Video");
    if (is(u"wav") || is(u"mp3"))
        return QStringLiteral("Audio");
    if (is(u"pdf"))
        return QStringLiteral("text");
    return {};
}

FolderFiles listFolderFiles(const QString &folder)
{
    FolderFiles result;
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(nativePath(folder).constData()));
    if (!dir) {
        result.error = errno;
        return result;
    }
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const int dirFd = ::dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent *e = ::readdir(dir.get());
        if (!e) {
            result.error = errno;
            break;
        }
        if (e->d_type != DT_REG && e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
            continue;
        QString name = decodeFileName(e->d_name);
        QString kind = browserKind(name);
        if (kind.isEmpty() || isCopyTempName(name))
            continue;
        struct stat st {};
        if (::fstatat(dirFd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            continue;
        result.files.push_back({name, prefix + name, std::move(kind), st.st_size, sizeInKB(st.st_size)});
    }
    return result;
}

ListingMessage listingMessage(int error)
{
    // The old system's "path not found" meant a drive without a medium.
    if (error == ENOENT || error == ENOMEDIUM || error == ENODEV)
        return {QStringLiteral("Kein Datenträger"), QStringLiteral("Legen die einen Datenträger in das Laufwerk")};
    return {QStringLiteral("Fehler: ") + QString::number(error), QString::fromLocal8Bit(std::strerror(error))};
}

} // namespace zv
