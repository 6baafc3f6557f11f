#include "PictureLoader.h"

#include "platform/BoxFit.h"

#include <QImageReader>

#include <cmath>

namespace zv {

std::optional<LoadedPicture> loadPicture(const QString &path, const QSize &target)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true); // album files carry a trailer and may be misnamed
    const QSize natural = reader.size();
    if (!natural.isValid() || natural.isEmpty())
        return std::nullopt;
    if (target.isValid() && !target.isEmpty()) {
        const QRectF fitted = fitIntoBox(natural, target);
        const QSize decodeSize(std::max(1, static_cast<int>(std::ceil(fitted.width()))),
                               std::max(1, static_cast<int>(std::ceil(fitted.height()))));
        if (decodeSize.width() < natural.width())
            reader.setScaledSize(decodeSize);
    }
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return LoadedPicture{natural, std::move(image)};
}

} // namespace zv
