#include "AlbumLoader.h"

#include "platform/FileAttributes.h"
#include "platform/FileCopy.h"
#include "platform/FileNames.h"
#include "store/PictureTrailer.h"


#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace zv {
namespace {

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Size, kind and attributes; false for anything but a regular file.
bool describe(const struct stat &st, AlbumEntry &entry)
{
    if (!S_ISREG(st.st_mode))
        return false;
    entry.kind = mediaKindForFile(entry.name);
    entry.sizeKB = sizeInKB(st.st_size);
    entry.attributes = ArchiveAttribute | (isReadOnlyMode(st.st_mode) ? ReadOnlyAttribute : 0);
    return true;
}

void readTrailer(int fd, off_t size, AlbumEntry &entry)
{
    if (size < PictureInfo::TrailerSize)
        return;
    char bytes[PictureInfo::TrailerSize];
    const ssize_t got = ::pread(fd, bytes, sizeof bytes, size - PictureInfo::TrailerSize);
    if (got == PictureInfo::TrailerSize && trailer::hasMarker(bytes))
        entry.info = trailer::decodeTrimmed(bytes);
}

bool isSpecialFile(unsigned char type)
{
    return type == DT_DIR || type == DT_FIFO || type == DT_SOCK || type == DT_CHR || type == DT_BLK;
}

// A copy still being written, or one a killed import left behind, is not an album file.
bool isLeftOut(const dirent *e)
{
    return isSpecialFile(e->d_type) || (e->d_name[0] == '.' && isCopyTempName(QString::fromLatin1(e->d_name)));
}

std::optional<AlbumEntry> loadAt(int dirFd, const char *encodedName, QString name)
{
    AlbumEntry entry;
    entry.name = std::move(name);
    // Non-blocking, so a named pipe that slipped past the listing cannot stop the start-up;
    // the stat below then leaves it out.
    const FileDescriptor fd(::openat(dirFd, encodedName, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st {};
    if (fd.get() < 0) {
        // A file the user may not read is still an album file, with empty information.
        if (::fstatat(dirFd, encodedName, &st, 0) != 0 || !describe(st, entry))
            return std::nullopt;
        return entry;
    }
    if (::fstat(fd.get(), &st) != 0 || !describe(st, entry))
        return std::nullopt;
    readTrailer(fd.get(), st.st_size, entry);
    return entry;
}

} // namespace

QStringList listMediaFiles(const QString &folder, bool *ok)
{
    QStringList names;
    const DirHandle dir(::opendir(nativePath(folder).constData()));
    if (ok)
        *ok = dir != nullptr;
    if (!dir)
        return names;
    const int dirFd = ::dirfd(dir.get());
    while (const dirent *e = ::readdir(dir.get())) {
        if (isLeftOut(e))
            continue;
        if (e->d_type != DT_REG) { // links and file systems without types: ask
            struct stat st {};
            if (::fstatat(dirFd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
                continue;
        }
        names << decodeFileName(e->d_name);
    }
    return names;
}

Album loadAlbum(const QString &mediaFolder, const LoadProgress &progress)
{
    Album album;
    const DirHandle dir(::opendir(nativePath(mediaFolder).constData()));
    if (!dir)
        return album;
    const int dirFd = ::dirfd(dir.get());

    // One pass over the folder first: the progress needs the count before the first file.
    // The names go into one buffer; a hundred thousand small allocations cost measurable time.
    std::string nameBuffer;
    std::vector<std::size_t> nameOffsets;
    while (const dirent *e = ::readdir(dir.get())) {
        if (isLeftOut(e))
            continue;
        nameOffsets.push_back(nameBuffer.size());
        nameBuffer.append(e->d_name).push_back('\0');
    }
    const int total = static_cast<int>(nameOffsets.size());
    if (progress)
        progress(0, total);

    album.reserve(nameOffsets.size());
    int done = 0;
    for (const std::size_t offset : nameOffsets) {
        const char *encoded = nameBuffer.c_str() + offset;
        if (auto entry = loadAt(dirFd, encoded, decodeFileName(encoded)))
            album.append(std::move(*entry));
        ++done;
        if (progress)
            progress(done, total);
    }
    album.EntryCount = static_cast<int>(album.size());
    return album;
}

std::optional<AlbumEntry> loadEntry(const QString &folder, const QString &name)
{
    const DirHandle dir(::opendir(nativePath(folder).constData()));
    if (!dir)
        return std::nullopt;
    return loadAt(::dirfd(dir.get()), nativePath(name).constData(), name);
}

} // namespace zv
