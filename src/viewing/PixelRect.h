#pragma once

#include <QRect>
#include <QRectF>

#include <cmath>

namespace zv {

// Fitting works in fractions; drawing snaps each edge to the nearest pixel, so a picture that
// fills one side of its area fills it to the last pixel and two rectangles that touch still
// touch. A picture never shrinks below one pixel.
inline QRect pixelRect(const QRectF &r)
{
    const int left = static_cast<int>(std::lround(r.left()));
    const int top = static_cast<int>(std::lround(r.top()));
    const int right = static_cast<int>(std::lround(r.left() + r.width()));
    const int bottom = static_cast<int>(std::lround(r.top() + r.height()));
    return {left, top, std::max(1, right - left), std::max(1, bottom - top)};
}

} // namespace zv
