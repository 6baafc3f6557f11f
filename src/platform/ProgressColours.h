#pragma once

#include <QColor>

class QProgressBar;

namespace zv {

// Bar and background colour of a progress bar, whatever the widget style.
void SetProgressColours(QProgressBar *bar, const QColor &barColour, const QColor &backgroundColour);

} // namespace zv
