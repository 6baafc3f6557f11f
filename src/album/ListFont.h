#pragma once

#include <QFont>

namespace zv {

// The list and the field labels use the system's small bold dialog font.
inline QFont dialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

} // namespace zv
