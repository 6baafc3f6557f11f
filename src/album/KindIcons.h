#pragma once

#include "model/MediaKind.h"

#include <QIcon>

namespace zv::KindIcons {

// Film strip, picture and question mark, in a small and a large size.
const QIcon &icon(MediaKind kind);

} // namespace zv::KindIcons
