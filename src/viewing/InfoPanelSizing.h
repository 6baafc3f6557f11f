#pragma once

#include <QPoint>
#include <QSize>

#include <optional>

namespace zv {

inline constexpr int kInfoPanelWideFrom = 230; // from this width the lines widen with the panel
inline constexpr int kInfoPanelMargin = 12; // on each side of the lines
inline constexpr int kInfoPanelTallestGrab = 230;

struct InfoPanelLayout {
    QSize panel;
    QPoint grip; // top-left of the grip inside the panel
    std::optional<int> lineWidth; // the lines' new width; none: they keep theirs
};

// The information panel while its grip is dragged: `pointer` in window coordinates, with the
// panel at the window's top-left corner.
InfoPanelLayout sizeInfoPanel(QPoint pointer, QSize panel, QSize grip);
// The panel folded to its grip, as it starts.
InfoPanelLayout collapsedInfoPanel(QSize grip);

} // namespace zv
