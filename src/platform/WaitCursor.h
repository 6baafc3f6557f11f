#pragma once

#include <QGuiApplication>

namespace zv {

// The hourglass over the program while a long operation runs, back to normal when the scope
// ends, whichever way it ends.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace zv
