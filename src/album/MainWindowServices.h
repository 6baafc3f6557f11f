#pragma once

#include "app/AlbumPaths.h"

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
};

} // namespace zv
