#pragma once

#include <QColor>
#include <QStringView>

#include <optional>

namespace zv {

// "RRGGBB" (any case, no prefix) to a colour; nothing unless the text is exactly six hexadecimal
// digits: junk after the digits is as malformed as junk among them.
std::optional<QColor> ParseColour(QStringView text);

} // namespace zv
