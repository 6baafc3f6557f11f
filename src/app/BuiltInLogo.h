#pragma once

#include <QImage>

namespace zv {

// The small picture an empty album starts with; drawn, so the program carries no image file.
QImage builtInLogo();

// Saves the logo as a BMP file created exclusively at path, never through a symlink or over an
// existing file, flushed to the disk. An empty text on success, else the reason in German.
QString writeBuiltInLogo(const QString &path);

} // namespace zv
