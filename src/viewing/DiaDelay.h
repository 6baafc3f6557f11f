#pragma once

#include <QString>

namespace zv {

inline constexpr int kDiaDelayMin = 500;
inline constexpr int kDiaDelayMax = 30000;
inline constexpr int kDiaDelayDefault = 3000;

// The slide show's delay in milliseconds from the setting's text.
int DiaDelay(const QString &text);

} // namespace zv
