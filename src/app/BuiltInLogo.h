#pragma once

#include <QImage>

namespace zv {

// The small picture an empty album starts with; drawn, so the program carries no image file.
QImage builtInLogo();

} // namespace zv
