#pragma once

#include <functional>

namespace zv {

// What the start-up needs of the main window; the window lives in a layer above this one.
class AlbumWindowPort {
public:
    virtual ~AlbumWindowPort() = default;
    // Covers the save button when the album's drive cannot take writes.
    virtual void setSaveLocked(bool locked) = 0;
    // Rebuilds the list from the album, reporting each visible step to the start-up as well.
    virtual void FillList(const std::function<void(int done, int total)> &startupProgress) = 0;
    virtual void showMainWindow() = 0;
};

} // namespace zv
