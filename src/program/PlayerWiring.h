#pragma once

#include "app/AlbumPaths.h"

#include <QString>

#include <functional>

namespace zv {

class ctrlAV;
class frmDaten;
class MovieModule;
class Shell;

// Puts the player bar under the main window's preview box and connects the two: the window
// releases and opens media through it, skins reach it, its picture-window button reaches the
// given callback.
ctrlAV *attachPlayer(frmDaten &window, MovieModule &movie, Shell &shell, const AlbumPaths &paths,
                     const QString &skinName, std::function<void(const QString &)> showPictureWindow);

} // namespace zv
