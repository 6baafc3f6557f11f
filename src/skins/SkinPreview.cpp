#include "SkinPreview.h"

#include "platform/FileNames.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace zv {
namespace {

// No skin picture is this large; a file that is would only tie up the window.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxPixels = 100'000'000;

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};

// Skins are made on systems that ignore case, so "hintergrund.JPG" counts as well.
QByteArray findPreview(const QString &folder)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QByteArray exact = nativePath(prefix + kSkinPreviewFile);
    struct stat st {};
    if (::stat(exact.constData(), &st) == 0 && S_ISREG(st.st_mode))
        return exact;
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(nativePath(prefix).constData()));
    if (!dir)
        return {};
    while (const dirent *e = ::readdir(dir.get())) {
        if (decodeFileName(e->d_name).compare(kSkinPreviewFile, Qt::CaseInsensitive) == 0)
            return nativePath(prefix) + e->d_name;
    }
    return {};
}

QByteArray readAll(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    QByteArray bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileBytes) {
        bytes.resize(st.st_size);
        qint64 done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += n;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return bytes;
}

} // namespace

QImage LoadSkinPreview(const QString &skinFolder, const QSize &box)
{
    const QByteArray path = findPreview(skinFolder);
    if (path.isEmpty())
        return {};
    QByteArray bytes = readAll(path);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize natural = reader.size();
    if (natural.isEmpty() || qint64(natural.width()) * natural.height() > kMaxPixels)
        return {};
    if (!box.isEmpty())
        reader.setScaledSize(natural.scaled(box, Qt::KeepAspectRatio)); // JPEGs scale while decoding
    return reader.read();
}

} // namespace zv
