#pragma once

#include "model/ProgramState.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace zv {

// The identifiers of the popup menu's commands; items are found by these, never by position.
enum MenuCommand : int {
    ViewIcons = 1,
    ViewSmallIcons = 2,
    ViewList = 3,
    ViewDetails = 4,
    SaveAs = 5,
    SelectAll = 6,
    ChooseSkin = 9,
    RemoveFiles = 10,
    AddFiles = 11,
    StorageInfo = 12,
    NewAlbum = 13,
    TakeCameraDate = 14,
    StopCameraDate = 15,
    TurnUpright = 16,
    TurnLeft = 17,
    TurnRight = 18,
    StopTurns = 19,
    FreeSpace = 91,
    UsedSpace = 92,
    OrderPrints = 99,
};
static_assert(ViewIcons == int(AlbumView::Icons) && ViewSmallIcons == int(AlbumView::SmallIcons)
              && ViewList == int(AlbumView::List) && ViewDetails == int(AlbumView::Details));

// The drive's usage as the menu shows it.
struct DriveUsage {
    QImage pie;
    QString freeText;
    QString usedText;
    QColor freeColour;
    QColor usedColour;
};

// A "Bilder" command running in the background; one at a time, as they share the progress bar.
enum class PictureWork { None, CameraDates, Turns };

struct MenuState {
    bool hasDorido = false; // a Dorido folder in the program folder, now
    AlbumView viewMode = AlbumView::Details;
    DriveUsage drive;
    bool hasSelection = false; // the "Bilder" commands work on the selected files
    PictureWork picturesRunning = PictureWork::None; // its command stops it; the others wait
};

// Builds the main menu with its "Dateien" and "Ansicht" submenus afresh, so figures, the Dorido
// folder and the check marks are current. Each action's data is its identifier.
std::unique_ptr<QMenu> BuildPopupMenu(const MenuState &state, QWidget *parent = nullptr);

// The action with that identifier anywhere in the menu or its submenus, or null.
QAction *findMenuItem(const QMenu &menu, int identifier);
bool IsItemChecked(const QMenu &menu, int identifier);

} // namespace zv
