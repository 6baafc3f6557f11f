#include "BoxFit.h"

namespace zv {

QRectF fitIntoBox(const QSizeF &picture, const QSizeF &box)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return {};
    qreal height = box.height();
    qreal width = picture.width() / picture.height() * height;
    if (width > box.width()) {
        width = box.width();
        height = picture.height() / picture.width() * width;
        return {0, (box.height() - height) / 2, width, height};
    }
    return {(box.width() - width) / 2, 0, width, height};
}

} // namespace zv
