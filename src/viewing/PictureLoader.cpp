#include "PictureLoader.h"

#include "HeifPicture.h"
#include "PixelRect.h"

#include "platform/BoxFit.h"
#include "platform/FileReads.h"
#include "store/PictureInfo.h"
#include "store/PictureTrailer.h"

#include <QFile>
#include <QImageReader>

namespace zv {

namespace {

// A HEIC file from a phone is a few megabytes; far more is no photo.
constexpr qint64 kMaxHeifBytes = 256 * 1024 * 1024;

QSize wantedSize(QSize natural, const QSize &target)
{
    if (!target.isValid() || target.isEmpty())
        return {};
    return pixelRect(fitIntoBox(natural, target)).size();
}

LoadedPicture finished(QSize natural, QImage image, QSize wanted)
{
    if (wanted.isValid() && image.size() != wanted)
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // In the format the screen draws without converting.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return LoadedPicture{natural, std::move(image)};
}

// The trailer is no ISO box: libheif gets the file without it rather than relying on how it
// treats a bad box at the end. It cannot scale while decoding; the picture is scaled afterwards.
std::optional<LoadedPicture> loadHeif(QFile &file, const QSize &target, const std::atomic_bool *cancelled)
{
    if (file.size() > kMaxHeifBytes)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    qsizetype length = bytes.size();
    if (length >= PictureInfo::TrailerSize && trailer::hasMarker(bytes.constData() + length - PictureInfo::TrailerSize))
        length -= PictureInfo::TrailerSize;
    if (cancelled && cancelled->load())
        return std::nullopt;
    std::optional<QImage> image = decodeHeif(QByteArrayView(bytes).first(length), kMaxPicturePixels);
    if (!image || (cancelled && cancelled->load()))
        return std::nullopt;
    const QSize natural = image->size();
    return finished(natural, std::move(*image), wantedSize(natural, target));
}

} // namespace

std::optional<LoadedPicture> loadPicture(const QString &path, const QSize &target, const std::atomic_bool *cancelled)
{
    QFile file;
    if (!openForReading(file, path))
        return std::nullopt;
    if (looksLikeHeif(file.peek(64)))
        return loadHeif(file, target, cancelled);
    // Decided from the content: album files carry a trailer and may be misnamed.
    QImageReader reader(&file);
    // Photos from cameras and phones are stored sideways with an EXIF orientation; they are
    // shown upright, and the upright size is the picture's size for every fitting.
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty() || qint64(stored.width()) * stored.height() > kMaxPicturePixels)
        return std::nullopt;
    const bool sideways = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize natural = sideways ? stored.transposed() : stored;

    const QSize wanted = wantedSize(natural, target);
    // The decoder scales in the stored orientation; turning upright comes after.
    if (wanted.isValid() && wanted.width() < natural.width())
        reader.setScaledSize(sideways ? wanted.transposed() : wanted);
    if (cancelled && cancelled->load())
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return finished(natural, std::move(image), wanted);
}

} // namespace zv
