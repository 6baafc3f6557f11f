#pragma once

#include <QImage>

namespace zv {

enum class DiaSymbol { Play, Pause, Back, Next, End };

inline constexpr int kDiaButtonSize = 30;
inline constexpr int kDiaGripSize = 16;

// The slide show's own button faces, in the look of the shipped skins' player bar on a dark
// bar: pressed (or, for play and pause, active) faces are sunken with an amber symbol.
QImage drawDiaFace(DiaSymbol symbol, bool pressed);
// The grip of the information panel: a folded corner with an "i".
QImage drawDiaGrip();

} // namespace zv
