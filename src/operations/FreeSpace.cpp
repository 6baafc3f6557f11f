#include "FreeSpace.h"

#include "platform/Drives.h"

namespace zv {

std::optional<NoRoom> freeSpaceRefusal(qint64 bytes, const DriveInfo &albumDrive, const QString &fileName)
{
    if (albumDrive.readOnly)
        return NoRoom{
            QStringLiteral("Schreibgeschützt"),
            QStringLiteral("Der Datenträger ist schreibgeschützt.\r\nDie Datei kann nicht hinzugefügt werden:\r\n")
                + fileName};
    const bool unknown = albumDrive.freeBytes == 0 && albumDrive.totalBytes == 0;
    if (unknown || bytes <= albumDrive.freeBytes)
        return std::nullopt;
    return NoRoom{QStringLiteral("Kein Platz"),
                  QStringLiteral("Auf dem Datenträger ist nicht\r\ngenügend Platz für die Datei:\r\n") + fileName};
}

} // namespace zv
