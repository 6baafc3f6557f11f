#pragma once

#include "model/Album.h"

#include <QString>
#include <QTextStream>

namespace albuminfo {

// Loads the album of a program folder as the window does; false, with the German reason on err,
// when its media folder is missing, is no folder or cannot be read: that must not look like an
// empty album.
bool loadMediaFolder(const QString &programFolder, zv::Album &album, QTextStream &err);

} // namespace albuminfo
