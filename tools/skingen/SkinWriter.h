#pragma once

#include <QImage>
#include <QString>

namespace zv::skingen {

struct SkinTheme;

// Writes every picture and the Skin.ini of one skin into root/<theme.folder>/. Returns an
// error text, empty on success.
QString writeSkin(const QString &root, const SkinTheme &theme);

// The window as the skin will look: background, buttons, frame, logo and player bar composed.
QImage composePreview(const SkinTheme &theme, bool pressedButtons);

} // namespace zv::skingen
