#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace zv {

// The moment a camera or phone took a file, in this machine's local time: a picture's EXIF
// DateTimeOriginal as the camera wrote it (its own clock, whatever offset it adds), a video's
// container creation time (UTC) turned into local time. Nothing for a file without one, with a
// zeroed or unreadable one, or with a damaged block; the trailer is never seen.
// Safe on any thread.
std::optional<QDateTime> cameraMoment(const QString &path);

} // namespace zv
