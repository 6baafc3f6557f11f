#pragma once

#include "AlbumContext.h"

#include <QStringList>

#include <span>

namespace zv {

struct DeleteOutcome {
    int deleted = 0;
    QStringList failures; // one German line per file that stayed, naming it and the reason
};

// Deletes the files of the given rows (ascending) for good, read-only ones too, and removes
// their rows (one model call per run of rows) and album entries. A file that cannot be deleted
// keeps its row and entry; the others go all the same. The media file must be released first.
DeleteOutcome deleteEntries(AlbumContext &context, std::span<const int> rowsAscending);

} // namespace zv
