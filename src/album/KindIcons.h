#pragma once

#include "model/MediaKind.h"

#include <QIcon>

namespace zv::KindIcons {

// Film strip, picture and question mark, in the list's three sizes.
const QIcon &icon(MediaKind kind);

} // namespace zv::KindIcons
