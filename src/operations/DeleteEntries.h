#pragma once

#include "AlbumContext.h"

#include <QStringList>

namespace zv {

struct DeleteOutcome {
    int deleted = 0;
    QStringList failures; // one German line per file that stayed, naming it and the reason
    bool shownFileDeleted = false; // CurrentFile was among them and is now empty
    // The message for the files that stayed; empty when all went.
    QString failureText() const;
};

// The question before deleting: its own sentence, and how many files it is about, so that a
// user who meant one file sees that it is sixteen.
QString deleteQuestion(const QStringList &names);

// Deletes the named media files for good, read-only ones too, and removes their album entries
// (the list follows). A file that cannot be deleted keeps its entry; the others go all the same.
// When the shown file goes, CurrentFile is emptied: its boxes belong to nothing any more. The
// media file must be released first.
DeleteOutcome deleteEntries(AlbumContext &context, const QStringList &names);

} // namespace zv
