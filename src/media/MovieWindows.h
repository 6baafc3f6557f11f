#pragma once

class QWidget;

namespace zv::movieWindows {

// Handles for "open ... parent <handle>" that name a widget without giving it a native window.
// Asking a child widget for its native window id makes its parent and all their neighbours
// native too, and with Qt 6.4 those are then drawn without GL once a GL widget switches the
// window to GL composition. Handles start above the 29-bit range of X11 window ids.
int handleOf(QWidget *widget);

// The widget of a handle from handleOf, else the widget of a native window id, else null.
QWidget *find(long long handle);

// Puts a hidden GL widget into the window, so the window composes with GL from its first
// showing instead of being recreated when the first movie appears.
void prepareForVideo(QWidget *widget);

// Makes one GL context and drops it, so the driver is loaded and set up before the first
// window with GL composition is shown (the start-up window's idle second is the place).
void warmUpGl();

} // namespace zv::movieWindows
