#pragma once

#include <QImage>

namespace zv::skingen {

struct SkinTheme;

enum class PlayerSymbol { Play, Pause, Stop, OpenExternal, PictureWindow };

QImage drawPlayerButton(const SkinTheme &theme, PlayerSymbol symbol, bool pressed); // 30 x 30
QImage drawTrack(const SkinTheme &theme); // 150 x 20
QImage drawThumb(const SkinTheme &theme); // 8 x 20
QImage drawVolume(const SkinTheme &theme, int level); // 33 x 50, level 0..6

} // namespace zv::skingen
