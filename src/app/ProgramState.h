#pragma once

#include <QString>

namespace zv {

// The state the running program's windows share; the program owns it.
struct ProgramState {
    QString CurrentFile; // full path of the album file the main window shows
    int ViewMode = 4;    // 1 large icons, 2 small icons, 3 list, 4 details
    bool SearchApplied = false;
};

} // namespace zv
