#include "DiaBarLayout.h"

namespace zv {
namespace {

constexpr int kSliderMargin = 6;
constexpr int kSliderHeight = 20;

} // namespace

DiaBarLayout diaBarLayout(QSize window, bool stripOpen)
{
    const int strip = stripOpen ? kDiaDelayStripHeight : 0;
    const int height = kDiaBarRowHeight + strip;
    DiaBarLayout layout;
    layout.bar = QRect(window.width() - kDiaBarWidth, window.height() - height, kDiaBarWidth, height);
    layout.row = QPoint(0, strip);
    if (stripOpen)
        layout.slider =
            QRect(kSliderMargin, (strip - kSliderHeight) / 2, kDiaBarWidth - 2 * kSliderMargin, kSliderHeight);
    return layout;
}

} // namespace zv
