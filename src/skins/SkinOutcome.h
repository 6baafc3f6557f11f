#pragma once

#include <QString>

namespace zv {

// How far loading or applying a skin got. The caller decides whether to show the message; the
// window opens either way.
struct SkinOutcome {
    bool complete = true;
    QString stoppedAt; // the file, key or Skin.ini entry at which it stopped
    QString message; // German text for the user, empty when complete
};

} // namespace zv
