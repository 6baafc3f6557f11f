#pragma once

#include "model/AlbumPaths.h"

#include <QList>
#include <QStringList>
#include <QStringView>
#include <QUrl>

namespace zv {

// The import browser's own kinds, wider than the album's: "Bild", "Video", "Audio", "text";
// empty for a file the browser does not list and an import does not take.
QString browserKind(QStringView fileName);

// What a drop onto the album's list brings in: the files to import, in the order dropped (a
// folder's media files, not its subfolders, in the file system's order), and what was left out.
struct DropPlan {
    QStringList sources;
    int inAlbum = 0; // files that lie in the media folder already
    int leftOut = 0; // not local, not media, missing, unreadable, or dropped twice
};
DropPlan planDroppedImport(const QList<QUrl> &urls, const AlbumPaths &paths);

} // namespace zv
