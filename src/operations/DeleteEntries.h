#pragma once

#include "AlbumContext.h"

#include <QStringList>

namespace zv {

struct DeleteOutcome {
    int deleted = 0;
    QStringList failures; // one German line per file that stayed, naming it and the reason
    bool shownFileDeleted = false; // CurrentFile was among them and is now empty
};

// Deletes the named media files for good, read-only ones too, and removes their album entries
// (the list follows). A file that cannot be deleted keeps its entry; the others go all the same.
// When the shown file goes, CurrentFile is emptied: its boxes belong to nothing any more. The
// media file must be released first.
DeleteOutcome deleteEntries(AlbumContext &context, const QStringList &names);

} // namespace zv
