#pragma once

#include "Album.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace zv {

// Called once with the number of files (done == 0) when the folder is listed, then as files
// are done; the files read while the listing went on are counted in one call.
using LoadProgress = std::function<void(int done, int total)>;

// Names of the regular files directly in a folder, in the file system's own order.
// Sets *ok to false when the folder cannot be read.
QStringList listMediaFiles(const QString &folder, bool *ok = nullptr);

// Whether listMediaFiles would name at least one file, without listing a large folder whole.
bool hasMediaFiles(const QString &folder, bool *ok = nullptr);

// One entry per file of the media folder in enumeration order: kind from the extension,
// size, attributes and the trailer's texts. Each file is opened once, for its last 914 bytes,
// with up to inFlight files open at once (0: as many as suit the folder's file system).
// The progress is called on the calling thread. A folder that cannot be read gives an empty
// album, or the files listed before the failure, and its errno in *folderError (else 0).
Album loadAlbum(const QString &mediaFolder, const LoadProgress &progress = {}, int inFlight = 0,
                int *folderError = nullptr);

// The entry for one file, read the same way (import adds files one by one).
std::optional<AlbumEntry> loadEntry(const QString &folder, const QString &name);

} // namespace zv
