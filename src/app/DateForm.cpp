#include "DateForm.h"

namespace zv {

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

} // namespace zv
