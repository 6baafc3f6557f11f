#include "DateForm.h"

namespace zv {
namespace {

// ASCII digits only: QChar::isDigit would also take digits of other scripts.
std::optional<int> number(QStringView digits)
{
    int value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// 0 for the unknown "xx", otherwise 1 to max.
std::optional<int> dayOrMonth(QStringView two, int max)
{
    if (two == u"xx")
        return 0;
    const std::optional<int> value = number(two);
    if (!value || *value < 1 || *value > max)
        return std::nullopt;
    return value;
}

int daysIn(int month, int year)
{
    if (month == 2)
        return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

} // namespace

QString dateForm(const QString &typed)
{
    switch (typed.size()) {
    case 4:
        return QStringLiteral("xx.xx.") + typed;
    case 6:
        return QStringLiteral("xx.0") + typed;
    case 7:
        return QStringLiteral("xx.") + typed;
    case 9:
        return QStringLiteral("0") + typed;
    case 10:
        return typed;
    default:
        return QStringLiteral("xx.xx.xxxx");
    }
}

bool readsAsDate(const QString &stored)
{
    if (stored.size() != 10 || stored[2] != u'.' || stored[5] != u'.')
        return false;
    const QStringView text(stored);
    const std::optional<int> day = dayOrMonth(text.mid(0, 2), 31);
    const std::optional<int> month = dayOrMonth(text.mid(3, 2), 12);
    const std::optional<int> year = number(text.mid(6, 4));
    if (!day || !month || !year)
        return false;
    // A day its month does not have (31.04., 29.02. of 2003) is nearly always a slip of the
    // finger, and the list would sort it among real dates: ask, as for any other non-date.
    return *day == 0 || *month == 0 || *day <= daysIn(*month, *year);
}

std::optional<QString> dateFormWarning(const QString &typed)
{
    if (typed.isEmpty())
        return std::nullopt;
    const QString stored = dateForm(typed);
    if (readsAsDate(stored))
        return std::nullopt;
    const QString what =
        stored == QLatin1String("xx.xx.xxxx")
            ? QStringLiteral("Das eingegebene Datum „%1“ wird als „%2“ gespeichert, also als unbekanntes Datum.")
            : QStringLiteral("Das eingegebene Datum „%1“ wird als „%2“ gespeichert; das ist kein gültiges Datum.");
    return what.arg(typed, stored)
           + QStringLiteral("\nEin Datum wird als TT.MM.JJJJ, MM.JJJJ oder JJJJ eingegeben, zum Beispiel 01.05.2003, "
                            "05.2003 oder 2003.");
}

std::optional<QString> dateFormQuestion(const QString &typed)
{
    const std::optional<QString> warning = dateFormWarning(typed);
    if (!warning)
        return std::nullopt;
    return *warning + QStringLiteral("\nTrotzdem speichern?");
}

} // namespace zv
