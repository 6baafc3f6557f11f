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

// The list is bold already: the shown file's row, while another is selected, stands out by
// slant and underline.
inline QFont markedRowFont()
{
    QFont font;
    font.setBold(true);
    font.setItalic(true);
    font.setUnderline(true);
    return font;
}

} // namespace zv
