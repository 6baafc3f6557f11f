#pragma once

#include <QString>

namespace zv {

// The archive attribute ("changed since the last backup") has no counterpart on this platform:
// nothing records it, so there is nothing to clear and the source file is left untouched.
// Callers still ask here, so a platform that has the attribute clears it in this one place.
inline constexpr bool kHasArchiveAttribute = false;

// True when the attribute is clear afterwards (always, here).
bool clearArchiveAttribute(const QString &path);

} // namespace zv
