#pragma once

#include "DiaFaces.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zv {

inline constexpr int kDiaBarWidth = 151;
inline constexpr int kDiaBarRowHeight = kDiaButtonSize; // the button row, all that shows at rest
inline constexpr int kDiaDelayStripHeight = 28; // the delay slider's strip above the row

struct DiaBarLayout {
    QRect bar; // in the window
    QPoint row; // the button row's top-left inside the bar
    QRect slider; // inside the bar; empty while the strip is shut
};

// The bar in the window's bottom-right corner. The button row keeps its place in the window
// whether the strip is open or not; the strip opens above it, so the slider never covers a
// button, nor the spot where the pointer came onto the row.
DiaBarLayout diaBarLayout(QSize window, bool stripOpen);

} // namespace zv
