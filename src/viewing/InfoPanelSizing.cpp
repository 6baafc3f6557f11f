#include "InfoPanelSizing.h"

#include <algorithm>

namespace zv {
namespace {

QPoint gripCorner(QSize panel, QSize grip)
{
    return {panel.width() - grip.width(), panel.height() - grip.height()};
}

} // namespace

InfoPanelLayout sizeInfoPanel(QPoint pointer, QSize panel, QSize grip)
{
    // Dragged left of the window's edge the width would turn negative; the panel never gets
    // narrower than its grip, so the grip stays reachable.
    const int width = std::max(pointer.x() + grip.width() / 2, grip.width());
    int height = panel.height();
    if (pointer.y() > grip.height() / 2 && pointer.y() <= kInfoPanelTallestGrab)
        height = pointer.y() + grip.height() / 2;
    const QSize sized(width, height);
    InfoPanelLayout layout{sized, gripCorner(sized, grip), std::nullopt};
    if (width >= kInfoPanelWideFrom)
        layout.lineWidth = width - 2 * kInfoPanelMargin;
    return layout;
}

InfoPanelLayout collapsedInfoPanel(QSize grip)
{
    return {grip, gripCorner(grip, grip), std::nullopt};
}

} // namespace zv
