#pragma once

#include <QColor>
#include <QString>

namespace zv::skingen {

// Everything that differs between two skins: the drawing code is shared, so both look like one
// product in two colourways.
struct SkinTheme {
    QString folder;
    QColor windowTop, windowBottom;
    QColor bandTop, bandBottom, bandText, bandLine;
    QColor panelFill, panelBorder, paper;
    QColor screen;
    QColor faceTop, faceBottom, faceBorder, faceText;
    QColor accent, accentDark;
    QColor bar, barFace;
    QString ini; // the Skin.ini text
};

SkinTheme sandTheme();
SkinTheme blueTheme();

} // namespace zv::skingen
