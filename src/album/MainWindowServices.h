#pragma once

#include "modMenu.h"

#include "model/AlbumPaths.h"

#include <functional>

namespace zv {

class Album;
class AlbumListModel;
class Dialogs;
class Shell;
struct ProgramState;

// What the main window works with; owned by the program, outliving the window.
struct MainWindowServices {
    AlbumPaths paths;
    Album &album;
    AlbumListModel &list;
    ProgramState &state;
    Shell &shell;
    Dialogs &dialogs;
    std::function<DriveUsage()> driveUsage = {}; // the album drive's figures for the menu
};

} // namespace zv
