#pragma once

#include <QRectF>
#include <QSizeF>

namespace zv {

// Where a picture of the given natural size goes in an area: as large as fits without
// distortion, height first, then width if too wide, centred in the other direction. Small
// pictures are enlarged too.
QRectF fitIntoBox(const QSizeF &picture, const QSizeF &box);

} // namespace zv
