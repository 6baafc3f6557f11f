#pragma once

#include <QImage>
#include <QString>

#include "ThumbnailNames.h"

namespace zv::thumbnails {

// The cache folders under one root (ThumbnailNames.h: cacheRoot). Reads take a current
// thumbnail from normal, else from large; writes go to normal, readable by the user alone,
// through a temporary file renamed into place, so another program never reads half a PNG.
class ThumbnailCache {
public:
    explicit ThumbnailCache(QString root)
        : m_root(std::move(root))
    { }

    // A null image when no current thumbnail of the file is stored.
    QImage find(const QString &uri, const FileStamp &stamp) const;
    // False when the cache cannot be written (no folder, read-only, full): the caller keeps
    // the thumbnail in memory only.
    bool store(const QString &uri, const FileStamp &stamp, const QImage &image) const;

    QString normalFile(const QString &uri) const;
    QString largeFile(const QString &uri) const;

private:
    QString m_root;
};

} // namespace zv::thumbnails
