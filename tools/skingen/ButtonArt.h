#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

namespace zv::skingen {

struct SkinTheme;

enum class TitleSymbol { Minimise, Close, Question };

// Buttons are drawn on the piece of background they will sit on, so their rounded corners
// blend into the panel around them.
QImage drawPanelButton(const SkinTheme &theme, const QImage &background, QPoint at, const QString &caption,
                       bool pressed);
QImage drawTitleButton(const SkinTheme &theme, const QImage &background, QPoint at, TitleSymbol symbol, bool pressed);
QImage drawSaveLock(const SkinTheme &theme, const QImage &background);
QImage drawLogo(const SkinTheme &theme, const QImage &background);

} // namespace zv::skingen
