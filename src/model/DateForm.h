#pragma once

#include <QString>

#include <optional>

namespace zv {

// The ten characters the Datum field stores for a typed date: decided by the length of the text
// alone, never by its characters, so "2003" is "xx.xx.2003", "5.2003" is "xx.05.2003" and every
// length without a form (0–3, 5, 8, more than 10) is the unknown date "xx.xx.xxxx".
QString dateForm(const QString &typed);

// Whether a stored date is a day of the calendar in the form dd.mm.yyyy, where "xx" may stand
// for an unknown day or month; the year is always four digits.
bool readsAsDate(const QString &stored);

// The warning for a typed date the album would keep as the unknown date or as something that is
// no date; nothing for an empty text or one whose stored form reads as a date. It names the
// typed text and its stored form and says how dates are typed.
std::optional<QString> dateFormWarning(const QString &typed);

// The same warning asked as a Yes/No question: Yes stores it anyway, No goes back to the date.
std::optional<QString> dateFormQuestion(const QString &typed);

} // namespace zv
