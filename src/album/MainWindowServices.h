#pragma once

#include "app/AlbumPaths.h"

#include <QString>

#include <functional>

namespace zv {

class Album;
class Dialogs;
class Shell;
struct SettingsValues;

// What the main window works with; owned by the program, outliving the window.
struct MainWindowServices {
    AlbumPaths paths;
    Album &album;
    SettingsValues &settings;
    Shell &shell;
    Dialogs &dialogs;
    std::function<void()> quitProgram;
};

// The media device as the window sees it: release the open file, show a video in the preview.
struct MediaHooks {
    std::function<void()> closeMovie;
    std::function<void(const QString &path)> openVideo;
};

} // namespace zv
