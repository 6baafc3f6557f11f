#pragma once

#include "AlbumContext.h"

#include "platform/FolderWatch.h"

#include <QList>

namespace zv {

// What bringing the album in line with its media folder changed.
struct FolderReconcile {
    int appended = 0;
    int changed = 0;
    int renamed = 0;
    int removed = 0;
    // CurrentFile was renamed and follows; or it is gone, and CurrentFile still names it so
    // that Speichern can say so while the user's typing stays in the boxes.
    bool shownFileRenamed = false;
    bool shownFileRemoved = false;

    bool changedAnything() const { return appended + changed + renamed + removed > 0; }
    bool countChanged() const { return appended + removed > 0; }
};

// Brings the album in line with the files the events name, as they are on disk now, whoever
// wrote them. An event whose outcome the album already holds (this program's own save, import,
// rename or delete) changes nothing, so the program need not tell its own writes apart. A file
// renamed within the folder keeps its entry and row; a new file is read the way the loader
// reads one. The album alone is changed; the list follows it.
FolderReconcile reconcileFolderChanges(AlbumContext &context, const QList<FolderEvent> &events);

// The same for every name on disk and in the album, when events were lost.
FolderReconcile reconcileWholeFolder(AlbumContext &context);

} // namespace zv
