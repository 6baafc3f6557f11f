#include "ProgressColours.h"

#include <QProgressBar>

namespace zv {

void SetProgressColours(QProgressBar *bar, const QColor &barColour, const QColor &backgroundColour)
{
    if (!bar)
        return;
    // A style sheet is the one way every Qt style honours both colours.
    bar->setStyleSheet(QStringLiteral("QProgressBar { background-color: %1; border: 1px solid %3; "
                                      "text-align: center; }"
                                      "QProgressBar::chunk { background-color: %2; }")
                           .arg(backgroundColour.name(), barColour.name(), backgroundColour.darker(140).name()));
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Highlight, barColour);
    palette.setColor(QPalette::Base, backgroundColour);
    palette.setColor(QPalette::Window, backgroundColour);
    bar->setPalette(palette);
}

} // namespace zv
