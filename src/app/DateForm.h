#pragma once

#include <QString>

namespace zv {

// The ten characters the Datum field stores for a typed date: decided by the length of the text
// alone, never by its characters, so "2003" is "xx.xx.2003", "5.2003" is "xx.05.2003" and every
// length without a form (0–3, 5, 8, more than 10) is the unknown date "xx.xx.xxxx".
QString dateForm(const QString &typed);

} // namespace zv
