#pragma once

#include <QImage>
#include <QString>

#include <atomic>

namespace zv {

// One frame of a clip, `seconds` in (or its last one, when it is shorter), decoded by its own
// mpv core without a window or sound; a null image when there is none within `timeoutMs`.
// Safe on any thread; `cancelled`, when given and set, makes it give up early.
// mpv starts only where numbers are formatted the C way, and the locale is the process's: this
// sets it, on the user-interface thread, before frames are grabbed on others.
void prepareVideoFrames();

QImage grabVideoFrame(const QString &path, double seconds, int timeoutMs, const std::atomic_bool *cancelled = nullptr);

} // namespace zv
