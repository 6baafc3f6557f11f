#pragma once

#include <QImage>

namespace zv::skingen {

struct SkinTheme;

// The 799 x 600 window background with the panels framed where the window places them.
QImage drawBackground(const SkinTheme &theme);

// The search frame (395 x 150): a captioned band on top and 10-px borders; its inside is
// replaced by the background when the window composes it.
QImage drawSearchFrame(const SkinTheme &theme, const QImage &background);

} // namespace zv::skingen
