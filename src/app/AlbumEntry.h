#pragma once

#include "MediaKind.h"

#include "platform/FileAttributes.h"

#include <QString>

namespace zv {

// One file of the media folder as the album holds it in memory.
struct AlbumEntry {
    QString name; // file name without path; the entry's key
    MediaKind kind = MediaKind::Unbekannt;
    qint64 sizeKB = 0; // bytes / 1024, halves to even; the trailer counts
    QString Datum;
    QString Ort;
    QString Namen;
    QString Anlass;
    QString Bemerkungen;
    int attributes = 0;

    bool isReadOnly() const { return (attributes & ReadOnlyAttribute) != 0; }
    QString sizeText() const { return QString::number(sizeKB); }
};

qint64 sizeInKB(qint64 bytes);

} // namespace zv
