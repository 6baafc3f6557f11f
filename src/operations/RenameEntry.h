#pragma once

#include "AlbumContext.h"

#include <QString>

#include <optional>

namespace zv {

struct Refusal {
    QString title;
    QString text;
    bool exclamation = false; // else information
};

// Why a name cannot be given to an album file, or nothing. Albums travel between systems on
// sticks and network drives, so a name must be valid on all of them.
std::optional<Refusal> nameRefusal(const QString &name);

// Renames the media file oldName to newName as typed: refused when a file of that name exists
// already (letter case aside, the file itself included, as on the systems albums come from),
// when the name is empty or not portable, or when the file system refuses. On success the album
// entry keeps its place under the new name (the list follows), and so does CurrentFile when it
// named the renamed file. The old name is taken by value: the caller's may be the row's own,
// which the album's announcement renames.
std::optional<Refusal> renameEntry(AlbumContext &context, QString oldName, const QString &newName);

} // namespace zv
