#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace zv {

// What the player bar needs from the window that hosts it.
struct PlayerHost {
    QWidget *previewBox = nullptr; // the square box the movie window is placed in (pixels)
    std::function<QString()> currentFile; // full path of the album file shown
    std::function<void(const QString &)> showPictureWindow;
};

} // namespace zv
