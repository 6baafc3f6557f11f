#include "ErrorTexts.h"

#include <cerrno>

namespace zv {

QString errorText(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Datenträger voll");
    case EFBIG:
        return QStringLiteral("Datei zu groß für dieses Dateisystem");
    case EACCES:
    case EPERM:
        return QStringLiteral("keine Berechtigung");
    case EROFS:
        return QStringLiteral("Datenträger ist schreibgeschützt");
    case ENOENT:
        return QStringLiteral("Datei nicht vorhanden");
    case EEXIST:
        return QStringLiteral("Datei ist schon vorhanden");
    case ELOOP:
        return QStringLiteral("Datei ist eine symbolische Verknüpfung");
    case EISDIR:
        return QStringLiteral("ist ein Ordner");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("Datei wird gerade benutzt");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler des Datenträgers");
    case ENAMETOOLONG:
        return QStringLiteral("Dateiname zu lang");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("zu viele offene Dateien");
    case ENOMEDIUM:
        return QStringLiteral("kein Datenträger eingelegt");
    case ENOTDIR:
        return QStringLiteral("Ordner nicht vorhanden");
    default:
        return QStringLiteral("Systemfehler %1").arg(errnoValue);
    }
}

} // namespace zv
