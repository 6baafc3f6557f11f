#include "ExifPreview.h"

#include "ExivSession.h"

#include <cmath>
#include <exception>

#include <exiv2/exiv2.hpp>

namespace zv {
namespace {

// Previews are cut from the sensor's shape in whole 8-pixel blocks, so a 160 x 107 preview of a
// 3:2 picture is off by a few hundredths.
constexpr double kShapeTolerance = 0.03;

bool sameShape(QSize preview, QSize picture)
{
    if (preview.isEmpty() || picture.isEmpty())
        return false;
    const double a = double(preview.width()) / preview.height();
    const double b = double(picture.width()) / picture.height();
    return std::abs(a - b) <= kShapeTolerance * b;
}

int orientationOf(const Exiv2::ExifData &exif)
{
    const auto tag = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (tag == exif.end() || tag->count() == 0)
        return 1;
    const long value = tag->toLong();
    return value >= 1 && value <= 8 ? int(value) : 1;
}

} // namespace

std::optional<EmbeddedPreview> embeddedPreview(QByteArrayView media, int atLeast)
{
    if (media.isEmpty())
        return std::nullopt;
    prepareExiv2();
    try {
        // Exiv2 0.27 hands out a std::auto_ptr.
        const std::unique_ptr<Exiv2::Image> image(
            Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(media.data()), long(media.size()))
                .release());
        if (!image)
            return std::nullopt;
        image->readMetadata();
        const QSize picture(image->pixelWidth(), image->pixelHeight());
        const Exiv2::PreviewManager previews(*image);
        for (const Exiv2::PreviewProperties &p : previews.getPreviewProperties()) { // smallest first
            const QSize size(int(p.width_), int(p.height_));
            if (p.mimeType_ != "image/jpeg" || std::max(size.width(), size.height()) < atLeast
                || !sameShape(size, picture))
                continue;
            const Exiv2::PreviewImage preview = previews.getPreviewImage(p);
            return EmbeddedPreview{
                QByteArray(reinterpret_cast<const char *>(preview.pData()), qsizetype(preview.size())), size,
                orientationOf(image->exifData())};
        }
    } catch (const std::exception &) {
        // Damaged metadata: the picture itself is decoded instead. Besides its own errors, libexiv2
        // lets std::overflow_error out of offsets that add up beyond the file.
    }
    return std::nullopt;
}

} // namespace zv
