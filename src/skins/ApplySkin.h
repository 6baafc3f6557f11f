#pragma once

#include "app/MainWindowLayout.h"
#include "SkinOutcome.h"

#include <QColor>
#include <QPixmap>
#include <QRect>

#include <array>
#include <functional>

class QLabel;

namespace zv {

class ImageButton;
class SkinImages;
class SkinPanel;

// What ApplySkin dresses in the main window. Areas are in window coordinates, the coordinates of
// the background picture.
struct SkinnedWindow {
    // In the order of SkinButtons()
    std::array<ImageButton *, 9> buttons{};
    QPixmap *picSearch = nullptr; // drawing buffer in which the search frame is composed
    QLabel *imgSearch = nullptr;
    QRect imgSearchArea = layout::kSearchFrame;
    std::function<void(const QPixmap &)> setBackground; // makes "picBG" the window's background
    std::function<void()> setPlayerSkin; // the player bar's setSkin

    struct Panel {
        SkinPanel *panel = nullptr;
        QRect area;
    };
    // picSuche, picMenue, picVorschau
    std::array<Panel, 3> panels{
        {{nullptr, layout::kSearchPanel}, {nullptr, layout::kMenuPanel}, {nullptr, layout::kPreview}}};
    QSize windowSize = layout::kWindow;
    QColor windowColour = QColor(0xF0, 0xF0, 0xF0); // where the background picture does not reach
};

// Puts the loaded skin's pictures on the window: released button faces, the background, the
// player bar's pictures, the background under each panel, and the search frame showing the
// background inside its border. A missing key stops it there; what was set before stays.
SkinOutcome ApplySkin(SkinnedWindow &window, const SkinImages &images);

} // namespace zv
