#pragma once

#include "model/AlbumPaths.h"

#include <QString>

namespace zv {

// The checks before loading. Each returns an empty text on success, else a German message
// for the user: the program cannot work without its media folder.
QString ensureMediaFolder(const AlbumPaths &paths);
// Writes the built-in logo into a media folder without files, so that an album is never empty.
QString ensureAlbumNotEmpty(const AlbumPaths &paths);

} // namespace zv
