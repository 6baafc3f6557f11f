#pragma once

#include <QColor>
#include <QStringView>

#include <optional>

namespace zv {

// "RRGGBB" (any case, no prefix; characters after the sixth are ignored) to a colour; nothing
// when the first six characters are not all hexadecimal digits.
std::optional<QColor> ParseColour(QStringView text);

} // namespace zv
