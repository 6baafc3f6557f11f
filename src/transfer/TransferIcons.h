#pragma once

#include <QIcon>
#include <QString>

namespace zv {

// The 16 x 16 pictures of imglst1 by key: drive types, "zu", "auf", and the browser's file
// kinds; and the places' pictures from the desktop's theme, with these as fallback. Keys without
// a picture ("unbekannt", "ram") give a null icon.
QIcon transferIcon(const QString &key);

} // namespace zv
