#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>

#include <optional>

namespace zv {

// A preview that a camera or phone stored inside the picture's metadata, as JPEG bytes, and how
// to turn it: it is stored as the sensor saw it, like the picture itself.
struct EmbeddedPreview {
    QByteArray jpeg;
    QSize size;
    int orientation = 1; // the picture's EXIF orientation, 1 to 8
};

// The smallest embedded preview whose longer side reaches atLeast and whose shape is the
// picture's own: a 4:3 preview of a 3:2 picture carries black bars, which a thumbnail must not
// show. Nothing for pictures without one, damaged metadata included. media: the file without its
// trailer (MediaBytes).
std::optional<EmbeddedPreview> embeddedPreview(QByteArrayView media, int atLeast);

} // namespace zv
