#pragma once

#include <QString>

namespace zv {

// The four ways the album list can be shown; the values are the popup menu's identifiers.
enum class AlbumView : int { Icons = 1, SmallIcons = 2, List = 3, Details = 4 };

// The state the running program's windows share; the program owns it.
struct ProgramState {
    // Full path of the file whose information the boxes show: the only file Speichern writes,
    // whatever the selection. Set where a file is shown, follows its rename, and is emptied
    // when the file is deleted.
    QString CurrentFile;
    AlbumView ViewMode = AlbumView::Details;
    bool SearchApplied = false;
    // From entering search mode until a file is shown again or the search is left, the boxes
    // hold search words, which must never be saved as a file's information.
    bool SearchWordsInBoxes = false;
};

} // namespace zv
