#include "ThumbnailCache.h"

#include "ThumbnailNames.h"

#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace zv::thumbnails {
namespace {

constexpr auto kUriKey = "Thumb::URI";
constexpr auto kMtimeKey = "Thumb::MTime";
constexpr auto kSizeKey = "Thumb::Size";

QImage readCurrent(const QString &file, const QString &uri, const FileStamp &stamp)
{
    QImageReader reader(file, "png");
    // Qt's reader splits a key at its "::" until the image is read; a thumbnail is small.
    QImage image = reader.read();
    if (image.isNull() || !isCurrent(image.text(kUriKey), image.text(kMtimeKey), image.text(kSizeKey), uri, stamp))
        return {};
    return image;
}

// The thumbnails folder and its sizes are private to the user.
bool makePrivateFolder(const QString &path)
{
    QDir dir;
    if (dir.exists(path))
        return true;
    return dir.mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

QString ThumbnailCache::normalFile(const QString &uri) const
{
    return m_root + QStringLiteral("/normal/") + cacheFileName(uri);
}

QString ThumbnailCache::largeFile(const QString &uri) const
{
    return m_root + QStringLiteral("/large/") + cacheFileName(uri);
}

QImage ThumbnailCache::find(const QString &uri, const FileStamp &stamp) const
{
    QImage image = readCurrent(normalFile(uri), uri, stamp);
    if (image.isNull()) {
        image = readCurrent(largeFile(uri), uri, stamp);
        if (image.width() > kNormalSize || image.height() > kNormalSize)
            image = image.scaled(kNormalSize, kNormalSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

bool ThumbnailCache::store(const QString &uri, const FileStamp &stamp, const QImage &image) const
{
    const QString parent = QFileInfo(m_root).path();
    if (!QDir().mkpath(parent) || !makePrivateFolder(m_root) || !makePrivateFolder(m_root + QStringLiteral("/normal")))
        return false;
    QImage tagged = image;
    tagged.setText(kUriKey, uri);
    tagged.setText(kMtimeKey, QString::number(stamp.mtime));
    tagged.setText(kSizeKey, QString::number(stamp.size));
    tagged.setText(QStringLiteral("Software"), QStringLiteral("Zidoverev"));
    QSaveFile file(normalFile(uri));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QImageWriter writer(&file, "png");
    return writer.write(tagged) && file.commit();
}

} // namespace zv::thumbnails
