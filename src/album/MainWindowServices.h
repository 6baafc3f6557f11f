#pragma once

#include "modMenu.h"

#include "model/AlbumPaths.h"

#include <functional>

namespace zv {

class Album;
class AlbumListModel;
class Dialogs;
class Drives;
class OverwriteQuestion;
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
    // "neues Album" into an existing album asks before replacing a picture; without, none is.
    OverwriteQuestion *question = nullptr;
    const Drives *drives = nullptr; // for the room a new album needs; without, not checked first
    QString newAlbumProgram = {}; // the program file a new album gets; without, the running program
};

} // namespace zv
