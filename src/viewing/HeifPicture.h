#pragma once

#include <QByteArrayView>
#include <QImage>

#include <optional>

namespace zv {

// HEIC/HEIF (and AVIF) through libheif, for the picture loader alone: Qt 6 has no plugin for them
// here. Without libheif in the build nothing looks like HEIF and nothing decodes.

// True when the file's first bytes are an ISO media file with a brand libheif reads.
bool looksLikeHeif(QByteArrayView head);

// The primary image, upright: libheif applies the file's own rotation and mirroring boxes, so an
// EXIF orientation in it is not applied again. nullopt for a broken file, one without a decoder,
// or one larger than maxPixels (checked before decoding).
std::optional<QImage> decodeHeif(QByteArrayView bytes, qint64 maxPixels);

} // namespace zv
