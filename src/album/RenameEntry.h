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

// Renames the file of a list row to newName as typed, in the media folder: refused when a file
// of that name exists already (letter case aside, the file itself included, as on the systems
// albums come from), when the name is empty or not portable, or when the file system refuses.
// On success the album entry keeps its place under the new name and the shown file follows; the
// row's own text is the caller's to change.
std::optional<Refusal> renameEntry(AlbumContext &context, int row, const QString &newName);

} // namespace zv
