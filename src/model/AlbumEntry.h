#pragma once

#include "MediaKind.h"

#include "platform/FileAttributes.h"
#include "store/PictureInfo.h"

#include <QString>

namespace zv {

// One file of the media folder as the album holds it in memory.
struct AlbumEntry {
    // File name without path, the entry's key. Bytes that are not UTF-8 are kept escaped
    // (platform/FileNames.h), so the name always leads back to the file.
    QString name;
    MediaKind kind = MediaKind::Unbekannt;
    qint64 sizeKB = 0; // bytes / 1024, halves to even; the trailer counts
    PictureInfo info; // the texts without trailing blanks; the marker is empty without a trailer
    int attributes = 0;

    bool isReadOnly() const { return (attributes & ReadOnlyAttribute) != 0; }
    QString sizeText() const { return QString::number(sizeKB); }
};

qint64 sizeInKB(qint64 bytes);

} // namespace zv
