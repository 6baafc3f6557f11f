#pragma once

#include "model/AlbumPaths.h"

namespace zv {

class Album;
class MediaPort;
struct ProgramState;

// What the album's editing operations change together: files, album entries (the list follows
// them) and the shown file. A null media port means no player (tests, the companion).
struct AlbumContext {
    AlbumPaths paths;
    Album &album;
    ProgramState &state;
    MediaPort *media = nullptr;
};

} // namespace zv
