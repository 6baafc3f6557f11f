#pragma once

#include <QColor>
#include <QStringView>

#include <optional>

namespace zv {

// "RRGGBB" (any case, no prefix) to a colour; nothing unless the text starts with six hexadecimal
// digits. What follows them is ignored, so a hand-written "FF0000 ; rot" is red.
std::optional<QColor> ParseColour(QStringView text);

} // namespace zv
