#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <optional>

namespace zv {

struct LoadedPicture {
    QSize naturalSize; // upright (EXIF orientation applied): what the fitting is computed from
    QImage image; // upright, at the pixel size of its place in the target, ready to draw
};

// Pictures larger than this are not decoded: no camera makes them, and a file that claims
// such a size (a "pixel bomb") would keep a decoder busy for seconds and take gigabytes.
inline constexpr qint64 kMaxPicturePixels = 250'000'000;

// Decodes a picture for showing it fitted into `target`; nullopt when it cannot be decoded.
// JPEGs are scaled while decoding; the image comes back at exactly the size its fitted place
// takes in pixels, small pictures enlarged. Asking for an empty target decodes at natural
// size. HEIC, HEIF and AVIF, known by their first bytes, go through libheif (HeifPicture.h).
// Safe on any thread; `cancelled`, when given and set, makes it give up early.
std::optional<LoadedPicture> loadPicture(const QString &path, const QSize &target = {},
                                         const std::atomic_bool *cancelled = nullptr);

} // namespace zv
