#pragma once

struct mpv_handle;

namespace zv {

// Sets the options a new core needs before mpv_initialize; without a window, sound only.
void setMpvOptions(mpv_handle *mpv, bool withWindow);

} // namespace zv
