#include "PictureLoader.h"

#include "PixelRect.h"

#include "platform/BoxFit.h"
#include "platform/FileReads.h"

#include <QFile>
#include <QImageReader>

namespace zv {

std::optional<LoadedPicture> loadPicture(const QString &path, const QSize &target, const std::atomic_bool *cancelled)
{
    QFile file;
    if (!openForReading(file, path))
        return std::nullopt;
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

    QSize wanted;
    if (target.isValid() && !target.isEmpty()) {
        wanted = pixelRect(fitIntoBox(natural, target)).size();
        // The decoder scales in the stored orientation; turning upright comes after.
        if (wanted.width() < natural.width())
            reader.setScaledSize(sideways ? wanted.transposed() : wanted);
    }
    if (cancelled && cancelled->load())
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    if (wanted.isValid() && image.size() != wanted)
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // In the format the screen draws without converting.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return LoadedPicture{natural, std::move(image)};
}

} // namespace zv
